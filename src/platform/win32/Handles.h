#pragma once
// One owner type per kind of Win32 handle. Each alias names the function that closes the
// handle and the value that means "no handle" (NULL unless given).

#include <windows.h>
// Needs <windows.h> before it in the Windows SDK.
#include <oleauto.h>

#include <cstdint>
#include <utility>

namespace vx::platform::win32 {

template <typename T, auto Close, std::intptr_t Invalid = 0>
class Unique {
public:
    Unique() noexcept = default;
    explicit Unique(T value) noexcept : value_(value) {}
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    [[nodiscard]] T get() const noexcept { return value_; }
    [[nodiscard]] explicit operator bool() const noexcept { return value_ != none(); }
    T operator->() const noexcept { return value_; }

    // For out-parameters: closes what is held, then lends the slot to the call.
    [[nodiscard]] T* put() noexcept {
        reset();
        return &value_;
    }
    [[nodiscard]] T release() noexcept { return std::exchange(value_, none()); }
    void reset(T value = none()) noexcept {
        const T old = std::exchange(value_, value);
        if (old != none()) {
            Close(old);
        }
    }

private:
    static T none() noexcept { return reinterpret_cast<T>(Invalid); }

    T value_ = none();
};

template <typename Interface>
void ReleaseInterface(Interface* pointer) noexcept {
    pointer->Release();
}

// INVALID_HANDLE_VALUE is not a constant expression, so its numeric value stands in for it.
inline constexpr std::intptr_t kInvalidHandleValue = -1;

using UniqueHandle = Unique<HANDLE, ::CloseHandle>;
using UniqueFileHandle = Unique<HANDLE, ::CloseHandle, kInvalidHandleValue>;
using UniqueFindHandle = Unique<HANDLE, ::FindClose, kInvalidHandleValue>;
using UniqueKey = Unique<HKEY, ::RegCloseKey>;
using UniqueLocal = Unique<HLOCAL, ::LocalFree>;
using UniqueSid = Unique<PSID, ::FreeSid>;
using UniqueModule = Unique<HMODULE, ::FreeLibrary>;
using UniqueBstr = Unique<BSTR, ::SysFreeString>;
// A window can also be destroyed from outside (its parent goes, or the user closes it): its
// owner releases the handle when WM_NCDESTROY arrives.
using UniqueWindow = Unique<HWND, ::DestroyWindow>;
template <typename T>
using UniqueCoTaskMem = Unique<T*, ::CoTaskMemFree>;
template <typename Interface>
using ComPtr = Unique<Interface*, ReleaseInterface<Interface>>;

// A VARIANT that is cleared when it goes.
class UniqueVariant {
public:
    UniqueVariant() noexcept { ::VariantInit(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { ::VariantClear(&value_); }

    [[nodiscard]] const VARIANT& get() const noexcept { return value_; }
    // For out-parameters: the slot must be empty (VT_EMPTY) when a call fills it.
    [[nodiscard]] VARIANT* put() noexcept {
        ::VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};

// COM on the calling thread for the life of this object. CoUninitialize balances only a
// CoInitializeEx that succeeded (S_OK or S_FALSE); a thread already in another apartment
// (RPC_E_CHANGED_MODE) can still make the calls but must not be uninitialized by us.
class ComApartment {
public:
    ComApartment() noexcept : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) {
            ::CoUninitialize();
        }
    }

    [[nodiscard]] bool usable() const noexcept {
        return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE;
    }

private:
    HRESULT result_;
};

}  // namespace vx::platform::win32
