#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace vx::platform::win32 {
namespace {

bool isPredefined(RegistryHandle key) { return key >= kClassesRoot && key <= kDynData; }

HKEY toHkey(RegistryHandle key) {
    // The predefined values are sign-extended in a 64-bit HKEY; going through LONG keeps
    // them right on every build.
    if (isPredefined(key)) {
        return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(key)));
    }
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

RegistryHandle fromHkey(HKEY key) {
    return static_cast<RegistryHandle>(reinterpret_cast<ULONG_PTR>(key));
}

Status status(LSTATUS result) { return static_cast<Status>(result); }

// Byte counts pass through the calls as DWORDs.
bool fitsDword(std::size_t count) {
    return static_cast<std::uint64_t>(count) <= std::numeric_limits<DWORD>::max();
}

}  // namespace

Status Win32Registry::openKey(RegistryHandle parent, const std::string& subKey,
                              std::uint32_t access, RegistryHandle& key) {
    HKEY opened = nullptr;
    const LSTATUS result = ::RegOpenKeyExA(toHkey(parent), subKey.c_str(), 0, access, &opened);
    // An empty name below a root gives the root's own value back, which closeKey accepts.
    if (result == ERROR_SUCCESS) key = fromHkey(opened);
    return status(result);
}

Status Win32Registry::createKey(RegistryHandle parent, const std::string& subKey,
                                std::uint32_t access, RegistryHandle& key) {
    HKEY created = nullptr;
    const LSTATUS result =
        ::RegCreateKeyExA(toHkey(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          access, nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS) key = fromHkey(created);
    return status(result);
}

Status Win32Registry::closeKey(RegistryHandle key) {
    if (isPredefined(key)) return kSuccess;
    return status(::RegCloseKey(toHkey(key)));
}

Status Win32Registry::queryValue(RegistryHandle key, const std::string& name, std::size_t capacity,
                                 std::uint32_t& type, std::string& data, std::uint32_t& size) {
    if (!fitsDword(capacity)) capacity = std::numeric_limits<DWORD>::max();
    // Never a null buffer: with one the call reports the size and success instead of
    // ERROR_MORE_DATA, even for a capacity of zero.
    std::vector<BYTE> buffer(capacity == 0 ? 1 : capacity);
    DWORD valueType = REG_NONE;
    DWORD valueSize = static_cast<DWORD>(capacity);
    const LSTATUS result = ::RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &valueType,
                                              buffer.data(), &valueSize);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) {
        return status(result);  // nothing is known about the value
    }
    type = valueType;
    size = valueSize;
    if (result == ERROR_SUCCESS) {
        data.assign(reinterpret_cast<const char*>(buffer.data()), valueSize);
    }
    return status(result);
}

Status Win32Registry::setValue(RegistryHandle key, const std::string& name, std::uint32_t type,
                               const std::string& data) {
    if (!fitsDword(data.size())) return ERROR_INVALID_PARAMETER;
    // For the string types the system appends a terminator the data lacks: it sees the
    // NUL that std::string keeps after the last byte.
    return status(::RegSetValueExA(toHkey(key), name.c_str(), 0, type,
                                   reinterpret_cast<const BYTE*>(data.data()),
                                   static_cast<DWORD>(data.size())));
}

Status Win32Registry::deleteValue(RegistryHandle key, const std::string& name) {
    return status(::RegDeleteValueA(toHkey(key), name.c_str()));
}

Status Win32Registry::deleteKey(RegistryHandle parent, const std::string& subKey) {
    return status(::RegDeleteKeyA(toHkey(parent), subKey.c_str()));
}

Status Win32Registry::enumKey(RegistryHandle key, std::uint32_t index, std::string& name) {
    // Wine allows names of 256 characters, one more than Windows.
    char buffer[MAX_PATH + 1] = {};
    const LSTATUS result = ::RegEnumKeyA(toHkey(key), index, buffer, sizeof buffer);
    if (result == ERROR_SUCCESS) name = buffer;
    return status(result);
}

}  // namespace vx::platform::win32
