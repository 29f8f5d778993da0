#include "platform/sim/SimRegistryView.h"

#include <string_view>

#include "platform/Registry.h"
#include "platform/TextRules.h"

namespace vx::platform::sim {

namespace {

constexpr std::string_view kWowNode = "Wow6432Node";

bool IsWowName(std::string_view name) { return EqualsNoCase(name, kWowNode); }

bool NamesStartWithWow(const KeyPath& names, std::size_t from) {
    return from < names.size() && IsWowName(names[from]);
}

// Wine treats every Wow6432Node key below HKLM\Software\Classes as the 32-bit half of the
// shared Classes tree.
bool IsClassesWow(const RegistryTree& tree, const RegistryKeyNode& key) {
    if (!IsWowName(key.name)) return false;
    const KeyPath path = tree.nativePath(key);
    return path.size() >= 4 && EqualsNoCase(path[0], "HKLM") && EqualsNoCase(path[1], "Software") &&
           EqualsNoCase(path[2], "Classes");
}

class Walker {
public:
    explicit Walker(const RegistryTree& tree)
        : tree_(tree), classes_(tree.find({"HKLM", "Software", "Classes"})) {}

    // After each name (and at the end), the 32-bit view goes on in that key's Wow6432Node
    // subkey, unless the path itself names Wow6432Node next.
    RegistryKeyNode* step(RegistryKeyNode* key, const KeyPath& names, std::size_t next) const {
        if (NamesStartWithWow(names, next)) return key;
        RegistryKeyNode* wow = tree_.open(*key, kWowNode);
        return wow != nullptr ? wow : key;
    }

    // One name below `key`; a name missing from a Classes Wow6432Node is looked up in the
    // shared HKLM\Software\Classes. `missingAt` becomes where a creation would continue.
    RegistryKeyNode* next(RegistryKeyNode* key, const std::string& name,
                          RegistryKeyNode*& missingAt) const {
        missingAt = key;
        RegistryKeyNode* found = tree_.open(*key, name);
        if (found == nullptr && classes_ != nullptr && IsClassesWow(tree_, *key)) {
            missingAt = classes_;
            found = tree_.open(*classes_, name);
        }
        return found;
    }

    // The key the 32-bit view shows for a stored key: its native path walked again from the
    // hive; nullptr when the 32-bit view has no such key.
    RegistryKeyNode* counterpart(const RegistryKeyNode& key) const {
        const KeyPath path = tree_.nativePath(key);
        RegistryKeyNode* at = tree_.hive(path.front());
        if (at != nullptr) at = step(at, path, 1);
        for (std::size_t i = 1; at != nullptr && i < path.size(); ++i) {
            RegistryKeyNode* missingAt = nullptr;
            RegistryKeyNode* found = next(at, path[i], missingAt);
            at = found == nullptr ? nullptr : step(found, path, i + 1);
        }
        return at;
    }

    bool isClassesWowKey(const RegistryKeyNode& key) const { return IsClassesWow(tree_, key); }
    RegistryKeyNode* classes() const { return classes_; }

private:
    const RegistryTree& tree_;
    RegistryKeyNode* classes_;
};

ViewWalk WalkNative(const RegistryTree& tree, RegistryKeyNode& parent, const KeyPath& names) {
    ViewWalk walk{&parent, 0};
    for (; walk.found < names.size(); ++walk.found) {
        RegistryKeyNode* found = tree.open(*walk.key, names[walk.found]);
        if (found == nullptr) break;
        walk.key = found;
    }
    return walk;
}

ViewWalk Walk32(const RegistryTree& tree, RegistryKeyNode& parent, const KeyPath& names,
                bool forced32, WalkPurpose purpose) {
    const Walker walker(tree);
    RegistryKeyNode* key = &parent;
    if (!NamesStartWithWow(names, 0)) {
        RegistryKeyNode* wow = tree.open(parent, kWowNode);
        if (forced32) {
            // The parent is first carried over into the 32-bit view; a parent that view
            // lacks is used as it is.
            if (RegistryKeyNode* counterpart = walker.counterpart(parent)) key = counterpart;
        } else if (wow != nullptr) {
            // Without a flag only the Classes Wow6432Node is entered first, except that
            // opening an empty name enters any Wow6432Node (creating one does not).
            const bool emptyOpen = names.empty() && purpose == WalkPurpose::Open;
            if (walker.isClassesWowKey(*wow) || emptyOpen) key = wow;
        }
    }
    if (names.empty()) return {key, 0};

    for (std::size_t i = 0; i < names.size(); ++i) {
        RegistryKeyNode* missingAt = nullptr;
        RegistryKeyNode* found = walker.next(key, names[i], missingAt);
        if (found == nullptr) return {missingAt, i};
        key = walker.step(found, names, i + 1);
    }
    // Reaching the Classes Wow6432Node without naming it gives the shared Classes key.
    if (!IsWowName(names.back()) && walker.isClassesWowKey(*key)) key = walker.classes();
    return {key, names.size()};
}

}  // namespace

ViewWalk WalkView(const RegistryTree& tree, RegistryKeyNode& parent, const KeyPath& names,
                  std::uint32_t access, bool wow64, WalkPurpose purpose) {
    // KEY_WOW64_64KEY wins over KEY_WOW64_32KEY when a caller gives both.
    if (!wow64 || (access & kKeyWow64_64Key) != 0) return WalkNative(tree, parent, names);
    return Walk32(tree, parent, names, (access & kKeyWow64_32Key) != 0, purpose);
}

}  // namespace vx::platform::sim
