#pragma once
// The registry functions of advapi32 over the simulated registry, as a 32-bit process on
// 32- or 64-bit Windows meets them (Wine 8 is the reference).

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "platform/sim/SimRegistryTree.h"
#include "platform/sim/SimToken.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {

// Statuses as Wine gives them: 6 for a handle that is not open, 1018 for a key deleted
// while its handle stays open, 5 for a handle lacking the right a call needs (query:
// KEY_QUERY_VALUE; set or delete a value: KEY_SET_VALUE; enumerate: KEY_ENUMERATE_SUB_KEYS;
// read security: READ_CONTROL; set the DACL: WRITE_DAC, the owner or group: WRITE_OWNER;
// opening and creating below a handle need none), 161 for a path starting with "\", 234
// for a path longer than 260 characters, 87 for creating a name longer than 256.
// Opening a key, "creating" one that exists and deleting one (opened for DELETE) pass the
// key's access check (SimToken.h); security calls work on a deleted key's handle.
class SimRegistry final : public Registry {
public:
    explicit SimRegistry(Bitness bitness);

    [[nodiscard]] Status openKey(RegistryHandle parent, const std::string& subKey,
                                 std::uint32_t access, RegistryHandle& key) override;
    [[nodiscard]] Status createKey(RegistryHandle parent, const std::string& subKey,
                                   std::uint32_t access, RegistryHandle& key) override;
    [[nodiscard]] Status closeKey(RegistryHandle key) override;
    [[nodiscard]] Status queryValue(RegistryHandle key, const std::string& name,
                                    std::size_t capacity, std::uint32_t& type, std::string& data,
                                    std::uint32_t& size) override;
    [[nodiscard]] Status setValue(RegistryHandle key, const std::string& name, std::uint32_t type,
                                  const std::string& data) override;
    [[nodiscard]] Status deleteValue(RegistryHandle key, const std::string& name) override;
    [[nodiscard]] Status deleteKey(RegistryHandle parent, const std::string& subKey) override;
    [[nodiscard]] Status getKeySecurity(RegistryHandle key, std::uint32_t information,
                                        std::string& descriptor) override;
    [[nodiscard]] Status setKeySecurity(RegistryHandle key, std::uint32_t information,
                                        const std::string& descriptor) override;
    [[nodiscard]] Status enumKey(RegistryHandle key, std::uint32_t index,
                                 std::string& name) override;
    // The W calls see the stored ANSI strings through code page 1252 (SimWideText.h), names
    // too; a string a W call wrote reads back through it exactly as given (terminator or
    // not), through the A calls in the code page. Values are listed by lower-case name, the
    // default value first, as Wine lists them. Query and list need KEY_QUERY_VALUE.
    [[nodiscard]] Status queryStoredValue(RegistryHandle key, const std::string& name,
                                          std::uint32_t& type, std::string& bytes) override;
    [[nodiscard]] Status setStoredValue(RegistryHandle key, const std::string& name,
                                        std::uint32_t type, const std::string& bytes) override;
    [[nodiscard]] std::string seamTextFromUtf8(const std::string& name) override;
    [[nodiscard]] Status enumValue(RegistryHandle key, std::uint32_t index,
                                   std::string& name) override;

    RegistryTree& tree() { return tree_; }
    int openHandles() const { return static_cast<int>(handles_.size()); }
    // The stored path of the key behind a handle ("HKLM\Software\Wow6432Node\X"); nothing
    // for a handle that is not open.
    std::optional<std::string> storedPath(RegistryHandle key) const;

private:
    struct OpenKey {
        std::shared_ptr<RegistryKeyNode> key;
        std::uint32_t granted = 0;
    };

    RegistryKeyNode* rootKey(RegistryHandle root) const;
    [[nodiscard]] Status reach(RegistryHandle handle, std::uint32_t needed, RegistryKeyNode*& key,
                               bool evenDeleted = false) const;
    // A new handle, when the key's access check grants `access`.
    [[nodiscard]] Status remember(RegistryKeyNode& key, std::uint32_t access,
                                  RegistryHandle& handle);

    bool wow64_;
    RegistryTree tree_;
    std::map<RegistryHandle, OpenKey> handles_;
    RegistryHandle nextHandle_ = 0x100;
};

// The stored path a test names: "HKLM\...", "HKU\...", "HKDD\...", and "HKCU\..." (this
// user's key below HKU), "HKCR\..." (HKLM\Software\Classes), "HKCC\..." (the current
// hardware profile); the long HKEY_ forms too. Throws std::invalid_argument otherwise.
KeyPath StoredKeyPath(const std::string& text);

}  // namespace vx::platform::sim
