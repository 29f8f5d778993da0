#pragma once
// The registry functions of advapi32, handle-based as the system's own. Keys opened here
// are closed by the caller through closeKey (see registry/RegistryKey.h for the RAII owner).

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace vx::platform {

// A key handle; the predefined roots carry their system values.
using RegistryHandle = std::uint32_t;

inline constexpr RegistryHandle kClassesRoot = 0x80000000;
inline constexpr RegistryHandle kCurrentUser = 0x80000001;
inline constexpr RegistryHandle kLocalMachine = 0x80000002;
inline constexpr RegistryHandle kUsers = 0x80000003;
inline constexpr RegistryHandle kCurrentConfig = 0x80000005;
inline constexpr RegistryHandle kDynData = 0x80000006;

inline constexpr std::uint32_t kRegString = 1;
inline constexpr std::uint32_t kRegExpandString = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiString = 7;

inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;

// Standard rights on a key's own security and existence.
inline constexpr std::uint32_t kDelete = 0x00010000;
inline constexpr std::uint32_t kReadControl = 0x00020000;
inline constexpr std::uint32_t kWriteDac = 0x00040000;
inline constexpr std::uint32_t kWriteOwner = 0x00080000;

class Registry {
public:
    Registry() = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;
    virtual ~Registry() = default;

    // RegOpenKeyExA / RegCreateKeyExA (non-volatile, no class, default security). The view
    // flags of `access` choose the 32- or 64-bit view for a 32-bit caller on 64-bit Windows.
    [[nodiscard]] virtual Status openKey(RegistryHandle parent, const std::string& subKey,
                                         std::uint32_t access, RegistryHandle& key) = 0;
    [[nodiscard]] virtual Status createKey(RegistryHandle parent, const std::string& subKey,
                                           std::uint32_t access, RegistryHandle& key) = 0;
    [[nodiscard]] virtual Status closeKey(RegistryHandle key) = 0;

    // RegQueryValueExA into a buffer of `capacity` bytes. On success `data` holds the bytes
    // and `type` the type. When the data does not fit: kErrorMoreData, `size` the bytes
    // needed, `data` untouched. `size` is always the size of the stored data when known.
    [[nodiscard]] virtual Status queryValue(RegistryHandle key, const std::string& name,
                                            std::size_t capacity, std::uint32_t& type,
                                            std::string& data, std::uint32_t& size) = 0;
    [[nodiscard]] virtual Status setValue(RegistryHandle key, const std::string& name,
                                          std::uint32_t type, const std::string& data) = 0;
    [[nodiscard]] virtual Status deleteValue(RegistryHandle key, const std::string& name) = 0;
    // RegDeleteKeyA: only a key without subkeys can go.
    [[nodiscard]] virtual Status deleteKey(RegistryHandle parent, const std::string& subKey) = 0;
    // RegGetKeySecurity: the key's security descriptor for `information` (4: the DACL) as
    // self-relative bytes. Needs READ_CONTROL on the key.
    [[nodiscard]] virtual Status getKeySecurity(RegistryHandle key, std::uint32_t information,
                                                std::string& descriptor) = 0;
    // RegSetKeySecurity with a self-relative descriptor. Needs WRITE_DAC on the key.
    [[nodiscard]] virtual Status setKeySecurity(RegistryHandle key, std::uint32_t information,
                                                const std::string& descriptor) = 0;
    // RegEnumKeyA: kErrorNoMoreItems past the last subkey.
    [[nodiscard]] virtual Status enumKey(RegistryHandle key, std::uint32_t index,
                                         std::string& name) = 0;

    // RegQueryValueExW: the value exactly as stored, the string types as UTF-16LE bytes with
    // whatever terminator is stored. `name` is UTF-8. kErrorFileNotFound when there is none.
    [[nodiscard]] virtual Status queryStoredValue(RegistryHandle key, const std::string& name,
                                                  std::uint32_t& type, std::string& bytes) = 0;
    // RegSetValueExW with `bytes` stored as they are (UTF-16LE for the string types).
    [[nodiscard]] virtual Status setStoredValue(RegistryHandle key, const std::string& name,
                                                std::uint32_t type, const std::string& bytes) = 0;
    // RegEnumValueW: the UTF-8 name of the value at `index` ("" for the default value);
    // kErrorNoMoreItems past the last one.
    [[nodiscard]] virtual Status enumValue(RegistryHandle key, std::uint32_t index,
                                           std::string& name) = 0;
    // A UTF-8 name as the A calls take it: the same bytes in the UTF-8 text mode, the
    // system's code page otherwise (a character it lacks becomes "?").
    [[nodiscard]] virtual std::string seamTextFromUtf8(const std::string& name) = 0;
};

}  // namespace vx::platform
