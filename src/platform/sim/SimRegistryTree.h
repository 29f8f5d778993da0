#pragma once
// The simulated registry as it is stored: one tree of keys under the hives HKLM, HKU and
// HKDD, addressed by native paths, with no view applied.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"
#include "platform/sim/SimKeySecurity.h"

namespace vx::platform::sim {

// A key path from its hive: {"HKLM", "Software", "Wow6432Node", "X"}.
using KeyPath = std::vector<std::string>;

struct RegistryValueRecord {
    std::string name;  // as first set
    std::uint32_t type = 0;
    std::string bytes;
    // String data set through a W call, as given (UTF-16LE): the W reads give them back
    // exactly, units the code page lacks and an odd last byte too; the A reads see `bytes`.
    std::optional<std::string> wideBytes;
};

// One stored key and everything the system keeps for it. Handles share ownership, so a key
// deleted while open stays readable as "deleted" for them.
struct RegistryKeyNode : std::enable_shared_from_this<RegistryKeyNode> {
    std::string name;                   // as first created; listings show this case
    RegistryKeyNode* parent = nullptr;  // none for a hive and for a deleted key
    bool deleted = false;
    // By lower-case name: the order in which Wine lists subkeys.
    std::map<std::string, std::shared_ptr<RegistryKeyNode>> subkeys;
    std::map<std::string, RegistryValueRecord> values;  // by upper-case name
    // A symbolic link stands for the key at this native path; it holds nothing itself.
    KeyPath linkTarget;
    // None until one is set: the key then reports DefaultKeySecurity() and is not checked.
    std::optional<KeySecurity> security;
};

class RegistryTree {
public:
    RegistryTree();

    // "HKLM", "HKU" or "HKDD" (any case); nullptr for anything else.
    RegistryKeyNode* hive(std::string_view name) const;

    // The direct subkey of that name as stored: a link is not followed.
    RegistryKeyNode* subkey(const RegistryKeyNode& key, std::string_view name) const;
    // The key a stored key stands for: itself, or its link's target (nullptr when the
    // target is missing or the links go round).
    RegistryKeyNode* resolve(RegistryKeyNode* key) const;
    // subkey() then resolve(): what opening one name below `key` reaches.
    RegistryKeyNode* open(const RegistryKeyNode& key, std::string_view name) const;
    // The key at a native path, links followed; nullptr when any part is missing.
    RegistryKeyNode* find(const KeyPath& path) const;

    // Creates one subkey that does not exist yet.
    RegistryKeyNode& addSubkey(RegistryKeyNode& parent, const std::string& name);
    // The key at a native path, creating what is missing (links on the way are followed).
    // Throws std::invalid_argument for an unknown hive or a broken link on the way.
    RegistryKeyNode& add(const KeyPath& path);
    // Makes `path` (missing) a link to `target`.
    void addLink(const KeyPath& path, KeyPath target);

    // Values by name without case; storing keeps the case the name was first given.
    static const RegistryValueRecord* findValue(const RegistryKeyNode& key, std::string_view name);
    static void storeValue(RegistryKeyNode& key, const std::string& name, std::uint32_t type,
                           std::string bytes);
    // False when there was no such value.
    static bool eraseValue(RegistryKeyNode& key, std::string_view name);

    KeyPath nativePath(const RegistryKeyNode& key) const;
    std::string nativeText(const RegistryKeyNode& key) const;

    // Deletes one key: 5 for a hive or a key that still has subkeys.
    [[nodiscard]] Status remove(RegistryKeyNode& key);

private:
    std::vector<std::shared_ptr<RegistryKeyNode>> hives_;
};

std::string LowerAscii(std::string_view text);

}  // namespace vx::platform::sim
