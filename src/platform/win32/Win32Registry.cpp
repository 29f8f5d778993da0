#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SecurityLayout.h"
#include "platform/TextFile.h"
#include "platform/TextMode.h"
#include "platform/win32/WideText.h"

namespace vx::platform::win32 {
namespace {

bool IsPredefined(RegistryHandle key) { return key >= kClassesRoot && key <= kDynData; }

// A key handle crosses the seam as its low 32 bits, which is all that is significant in a
// handle on any Windows: 64-bit Windows keeps handles valid when cut to 32 bits and
// sign-extended back (that is how 32- and 64-bit processes share them), and its predefined
// roots are the sign-extended 0x8000000x values. So a handle is cut on the way in and
// sign-extended on the way out; on i686 both are the identity.
static_assert(sizeof(RegistryHandle) == sizeof(LONG));

HKEY ToHkey(RegistryHandle key) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(key)));
}

RegistryHandle FromHkey(HKEY key) {
    return static_cast<RegistryHandle>(static_cast<ULONG>(reinterpret_cast<ULONG_PTR>(key)));
}

Status StatusOf(LSTATUS result) { return static_cast<Status>(result); }

// The key a successful open or create gave, as the seam carries it. A handle that would not
// come back whole from its 32 bits is closed and refused rather than handed on cut.
Status Adopt(LSTATUS result, HKEY opened, RegistryHandle& key) {
    if (result != ERROR_SUCCESS) return StatusOf(result);
    const RegistryHandle handle = FromHkey(opened);
    if (ToHkey(handle) != opened) {
        ::RegCloseKey(opened);
        return StatusOf(ERROR_INVALID_HANDLE);
    }
    key = handle;
    return kSuccess;
}

// Byte counts pass through the calls as DWORDs.
bool FitsDword(std::size_t count) {
    return static_cast<std::uint64_t>(count) <= std::numeric_limits<DWORD>::max();
}

// The longest value name (16383 characters) and its terminator.
constexpr DWORD kValueNameUnits = 16384;
// The first buffer a stored value is read into.
constexpr std::size_t kFirstValueBuffer = 256;
// The bytes of the unit that follows string data on their way to RegSetValueExW.
constexpr BYTE kNotNul = 0xFF;

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

bool EndsInNulUnit(const std::string& utf16) {
    return utf16.size() >= 2 && utf16[utf16.size() - 1] == '\0' && utf16[utf16.size() - 2] == '\0';
}

bool WholeSelfRelativeDescriptor(const std::string& bytes) {
    if (bytes.size() < kDescriptorHeaderSize || (ReadLe(bytes, 2, 2) & SE_SELF_RELATIVE) == 0) {
        return false;
    }
    for (const std::size_t field : {kOwnerOffsetField, kGroupOffsetField}) {
        const std::size_t offset = ReadLe(bytes, field, 4);
        if (offset != 0 && SidLength(bytes, offset) == 0) return false;
    }
    for (const std::size_t field : {kSaclOffsetField, kDaclOffsetField}) {
        const std::size_t offset = ReadLe(bytes, field, 4);
        if (offset != 0 && !WholeAcl(bytes, offset)) return false;
    }
    return true;
}

}  // namespace

Status Win32Registry::openKey(RegistryHandle parent, const std::string& subKey,
                              std::uint32_t access, RegistryHandle& key) {
    HKEY opened = nullptr;
    const LSTATUS result =
        TextIsUtf8()
            ? ::RegOpenKeyExW(ToHkey(parent), WideFromUtf8(subKey).c_str(), 0, access, &opened)
            : ::RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, access, &opened);
    // An empty name below a root gives the root's own value back, which closeKey accepts.
    return Adopt(result, opened, key);
}

Status Win32Registry::createKey(RegistryHandle parent, const std::string& subKey,
                                std::uint32_t access, RegistryHandle& key) {
    HKEY created = nullptr;
    const LSTATUS result =
        TextIsUtf8()
            ? ::RegCreateKeyExW(ToHkey(parent), WideFromUtf8(subKey).c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, access, nullptr, &created, nullptr)
            : ::RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, access, nullptr, &created, nullptr);
    return Adopt(result, created, key);
}

Status Win32Registry::closeKey(RegistryHandle key) {
    if (IsPredefined(key)) return kSuccess;
    return StatusOf(::RegCloseKey(ToHkey(key)));
}

Status Win32Registry::queryValue(RegistryHandle key, const std::string& name, std::size_t capacity,
                                 std::uint32_t& type, std::string& data, std::uint32_t& size) {
    if (TextIsUtf8()) return queryValueAsUtf8(key, name, capacity, type, data, size);
    if (!FitsDword(capacity)) capacity = std::numeric_limits<DWORD>::max();
    // Never a null buffer: with one the call reports the size and success instead of
    // ERROR_MORE_DATA, even for a capacity of zero.
    std::vector<BYTE> buffer(capacity == 0 ? 1 : capacity);
    DWORD valueType = REG_NONE;
    DWORD valueSize = static_cast<DWORD>(capacity);
    const LSTATUS result = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType,
                                              buffer.data(), &valueSize);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) {
        return StatusOf(result);  // nothing is known about the value
    }
    type = valueType;
    size = valueSize;
    if (result == ERROR_SUCCESS) {
        data.assign(reinterpret_cast<const char*>(buffer.data()), valueSize);
    }
    return StatusOf(result);
}

Status Win32Registry::setValue(RegistryHandle key, const std::string& name, std::uint32_t type,
                               const std::string& data) {
    if (!FitsDword(data.size())) return ERROR_INVALID_PARAMETER;
    if (TextIsUtf8() && IsStringType(type)) {
        // The terminator the A call would add to text goes in explicitly: the W call stores
        // the bytes it is given.
        std::string utf16 = Utf16FromUtf8(data);
        if (!utf16.empty() && !EndsInNulUnit(utf16)) utf16.append(2, '\0');
        return setStoredValue(key, name, type, utf16);
    }
    if (TextIsUtf8()) return setStoredValue(key, name, type, data);
    // For the string types the system appends a terminator the data lacks: it sees the
    // NUL that std::string keeps after the last byte.
    return StatusOf(::RegSetValueExA(ToHkey(key), name.c_str(), 0, type,
                                     reinterpret_cast<const BYTE*>(data.data()),
                                     static_cast<DWORD>(data.size())));
}

Status Win32Registry::deleteValue(RegistryHandle key, const std::string& name) {
    if (TextIsUtf8()) return StatusOf(::RegDeleteValueW(ToHkey(key), WideFromUtf8(name).c_str()));
    return StatusOf(::RegDeleteValueA(ToHkey(key), name.c_str()));
}

Status Win32Registry::deleteKey(RegistryHandle parent, const std::string& subKey) {
    if (TextIsUtf8()) return StatusOf(::RegDeleteKeyW(ToHkey(parent), WideFromUtf8(subKey).c_str()));
    return StatusOf(::RegDeleteKeyA(ToHkey(parent), subKey.c_str()));
}

// The A call's answer in the UTF-8 mode: the whole value through the W call, the string types
// as UTF-8 (terminators included, as stored), measured against `capacity` in UTF-8 bytes.
Status Win32Registry::queryValueAsUtf8(RegistryHandle key, const std::string& name,
                                       std::size_t capacity, std::uint32_t& type,
                                       std::string& data, std::uint32_t& size) {
    std::uint32_t storedType = REG_NONE;
    std::string stored;
    if (const Status status = queryStoredValue(key, name, storedType, stored)) return status;
    std::string value = IsStringType(storedType) ? Utf8FromUtf16(stored) : std::move(stored);
    type = storedType;
    size = FitsDword(value.size()) ? static_cast<std::uint32_t>(value.size())
                                   : std::numeric_limits<DWORD>::max();
    if (value.size() > capacity) return ERROR_MORE_DATA;
    data = std::move(value);
    return kSuccess;
}

Status Win32Registry::getKeySecurity(RegistryHandle key, std::uint32_t information,
                                     std::string& descriptor) {
    DWORD size = 0;
    LSTATUS result = ::RegGetKeySecurity(ToHkey(key), information, nullptr, &size);
    // The size query answers ERROR_INSUFFICIENT_BUFFER. Its size can be short (Wine says 0
    // for information naming no part, then wants 20) and the descriptor can change before
    // the next call: each shortfall names the size to try next.
    for (int attempt = 0; attempt < 3 && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
        // DWORD elements keep the descriptor aligned as the system expects.
        std::vector<DWORD> buffer(size / sizeof(DWORD) + 1);
        DWORD filled = static_cast<DWORD>(buffer.size() * sizeof(DWORD));
        result = ::RegGetKeySecurity(ToHkey(key), information, buffer.data(), &filled);
        if (result == ERROR_SUCCESS) {
            // On success the count is the descriptor's own length.
            const std::size_t length = std::min<std::size_t>(filled, buffer.size() * sizeof(DWORD));
            descriptor.assign(reinterpret_cast<const char*>(buffer.data()), length);
            return kSuccess;
        }
        size = filled;
    }
    if (result == ERROR_SUCCESS) descriptor.clear();
    return StatusOf(result);
}

Status Win32Registry::setKeySecurity(RegistryHandle key, std::uint32_t information,
                                     const std::string& descriptor) {
    if (!WholeSelfRelativeDescriptor(descriptor)) return ERROR_INVALID_SECURITY_DESCR;
    std::vector<DWORD> buffer(descriptor.size() / sizeof(DWORD) + 1);
    std::memcpy(buffer.data(), descriptor.data(), descriptor.size());
    return StatusOf(::RegSetKeySecurity(ToHkey(key), information, buffer.data()));
}

Status Win32Registry::enumKey(RegistryHandle key, std::uint32_t index, std::string& name) {
    // Wine allows names of 256 characters, one more than Windows.
    if (TextIsUtf8()) {
        wchar_t wide[MAX_PATH + 1] = {};
        const LSTATUS result = ::RegEnumKeyW(ToHkey(key), index, wide, MAX_PATH + 1);
        if (result == ERROR_SUCCESS) name = Utf8FromWide(wide);
        return StatusOf(result);
    }
    char buffer[MAX_PATH + 1] = {};
    const LSTATUS result = ::RegEnumKeyA(ToHkey(key), index, buffer, sizeof buffer);
    if (result == ERROR_SUCCESS) name = buffer;
    return StatusOf(result);
}

Status Win32Registry::queryStoredValue(RegistryHandle key, const std::string& name,
                                       std::uint32_t& type, std::string& bytes) {
    std::wstring wideName;
    if (const Status converted = Utf8ToWide(name, wideName)) return converted;
    std::vector<BYTE> buffer(kFirstValueBuffer);
    for (;;) {
        DWORD valueType = REG_NONE;
        DWORD size = static_cast<DWORD>(buffer.size());
        const LSTATUS result = ::RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr,
                                                  &valueType, buffer.data(), &size);
        if (result == ERROR_SUCCESS) {
            type = valueType;
            bytes.assign(reinterpret_cast<const char*>(buffer.data()),
                         std::min<std::size_t>(size, buffer.size()));
            return kSuccess;
        }
        if (result != ERROR_MORE_DATA) return StatusOf(result);
        // A size that is no larger than the buffer would not move on: the buffer doubles then.
        const std::size_t next = size > buffer.size() ? std::size_t{size} : buffer.size() * 2;
        if (!FitsDword(next)) return StatusOf(result);
        buffer.resize(next);
    }
}

Status Win32Registry::setStoredValue(RegistryHandle key, const std::string& name,
                                     std::uint32_t type, const std::string& bytes) {
    if (!FitsDword(bytes.size())) return ERROR_INVALID_PARAMETER;
    std::wstring wideName;
    if (const Status converted = Utf8ToWide(name, wideName)) return converted;
    std::vector<BYTE> data(bytes.begin(), bytes.end());
    data.insert(data.end(), {kNotNul, kNotNul});  // the unit after the data, never NUL
    return StatusOf(::RegSetValueExW(ToHkey(key), wideName.c_str(), 0, type, data.data(),
                                     static_cast<DWORD>(bytes.size())));
}

std::string Win32Registry::seamTextFromUtf8(const std::string& name) {
    return TextIsUtf8() ? name : AnsiCodePageFromUtf8(name);
}

Status Win32Registry::enumValue(RegistryHandle key, std::uint32_t index, std::string& name) {
    std::vector<wchar_t> buffer(kValueNameUnits);
    DWORD length = kValueNameUnits;
    const LSTATUS result = ::RegEnumValueW(ToHkey(key), index, buffer.data(), &length, nullptr,
                                           nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) return StatusOf(result);
    return WideToUtf8(std::wstring_view(buffer.data(), std::min<DWORD>(length, kValueNameUnits)),
                      name);
}

}  // namespace vx::platform::win32
