#include "platform/win32/WmiOperatingSystem.h"

#include <wbemidl.h>
#include <windows.h>

#include "platform/win32/Handles.h"

namespace vx::platform::win32 {
namespace {

// A property the service may deliver as a signed, an unsigned or a decimal text value.
std::optional<std::uint32_t> NumberFrom(const VARIANT& value) {
    switch (value.vt) {
        case VT_I4:
            return static_cast<std::uint32_t>(value.lVal);
        case VT_UI4:
            return static_cast<std::uint32_t>(value.ulVal);
        case VT_BSTR: {
            const wchar_t* digit = value.bstrVal;
            if (digit == nullptr || *digit == L'\0') {
                return std::nullopt;
            }
            std::uint64_t number = 0;
            for (; *digit != L'\0'; ++digit) {
                if (*digit < L'0' || *digit > L'9') {
                    return std::nullopt;
                }
                number = number * 10 + static_cast<std::uint64_t>(*digit - L'0');
                if (number > 0xFFFFFFFFu) {
                    return std::nullopt;
                }
            }
            return static_cast<std::uint32_t>(number);
        }
        default:
            return std::nullopt;  // VT_NULL where the system does not know the property
    }
}

}  // namespace

std::optional<std::uint32_t> TryQueryOperatingSystemSku() {
    // Declared first so that it ends last: every interface below is released before COM
    // is shut down on this thread.
    const ComApartment apartment;
    if (!apartment.usable()) {
        return std::nullopt;
    }

    ComPtr<IWbemLocator> locator;
    if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, reinterpret_cast<void**>(locator.put())))) {
        return std::nullopt;
    }

    const UniqueBstr space(::SysAllocString(L"ROOT\\CIMV2"));
    if (!space) {
        return std::nullopt;
    }
    ComPtr<IWbemServices> services;
    if (FAILED(locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                      services.put()))) {
        return std::nullopt;
    }
    // This process sets no process-wide COM security, so the proxy would only let the
    // service identify us, not act as us, and the providers would refuse the query.
    if (FAILED(::CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                   RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                   EOAC_NONE))) {
        return std::nullopt;
    }

    const UniqueBstr language(::SysAllocString(L"WQL"));
    const UniqueBstr query(
        ::SysAllocString(L"SELECT OperatingSystemSKU FROM Win32_OperatingSystem"));
    if (!language || !query) {
        return std::nullopt;
    }
    ComPtr<IEnumWbemClassObject> rows;
    if (FAILED(services->ExecQuery(language.get(), query.get(),
                                   WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   rows.put()))) {
        return std::nullopt;
    }

    ComPtr<IWbemClassObject> row;
    ULONG returned = 0;
    // S_FALSE with nothing returned is an empty result, not an error.
    if (rows->Next(static_cast<long>(WBEM_INFINITE), 1, row.put(), &returned) != WBEM_S_NO_ERROR ||
        returned != 1) {
        return std::nullopt;
    }

    UniqueVariant value;
    if (FAILED(row->Get(L"OperatingSystemSKU", 0, value.put(), nullptr, nullptr))) {
        return std::nullopt;
    }
    return NumberFrom(value.get());
}

}  // namespace vx::platform::win32
