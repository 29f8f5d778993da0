#include "platform/sim/SimRegistryTree.h"

#include <stdexcept>

#include "platform/TextRules.h"

namespace vx::platform::sim {

namespace {

// Wine gives up on a chain of links this long.
constexpr int kLinkDepthLimit = 16;

std::shared_ptr<RegistryKeyNode> MakeHive(const char* name) {
    auto hive = std::make_shared<RegistryKeyNode>();
    hive->name = name;
    return hive;
}

}  // namespace

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

RegistryTree::RegistryTree() : hives_{MakeHive("HKLM"), MakeHive("HKU"), MakeHive("HKDD")} {}

RegistryKeyNode* RegistryTree::hive(std::string_view name) const {
    for (const auto& hive : hives_) {
        if (EqualsNoCase(hive->name, name)) return hive.get();
    }
    return nullptr;
}

RegistryKeyNode* RegistryTree::subkey(const RegistryKeyNode& key, std::string_view name) const {
    const auto it = key.subkeys.find(LowerAscii(name));
    return it == key.subkeys.end() ? nullptr : it->second.get();
}

RegistryKeyNode* RegistryTree::resolve(RegistryKeyNode* key) const {
    for (int depth = 0; key != nullptr && !key->linkTarget.empty(); ++depth) {
        if (depth == kLinkDepthLimit) return nullptr;
        const KeyPath& target = key->linkTarget;
        key = hive(target.front());
        for (std::size_t i = 1; key != nullptr && i < target.size(); ++i) {
            key = open(*key, target[i]);
        }
    }
    return key;
}

RegistryKeyNode* RegistryTree::open(const RegistryKeyNode& key, std::string_view name) const {
    return resolve(subkey(key, name));
}

RegistryKeyNode* RegistryTree::find(const KeyPath& path) const {
    RegistryKeyNode* key = path.empty() ? nullptr : hive(path.front());
    for (std::size_t i = 1; key != nullptr && i < path.size(); ++i) key = open(*key, path[i]);
    return key;
}

RegistryKeyNode& RegistryTree::addSubkey(RegistryKeyNode& parent, const std::string& name) {
    auto key = std::make_shared<RegistryKeyNode>();
    key->name = name;
    key->parent = &parent;
    RegistryKeyNode& added = *key;
    parent.subkeys.emplace(LowerAscii(name), std::move(key));
    return added;
}

RegistryKeyNode& RegistryTree::add(const KeyPath& path) {
    RegistryKeyNode* key = path.empty() ? nullptr : hive(path.front());
    if (key == nullptr) throw std::invalid_argument("no such registry hive");
    for (std::size_t i = 1; i < path.size(); ++i) {
        RegistryKeyNode* stored = subkey(*key, path[i]);
        if (stored == nullptr) {
            key = &addSubkey(*key, path[i]);
            continue;
        }
        key = resolve(stored);
        if (key == nullptr) throw std::invalid_argument("a registry link leads nowhere");
    }
    return *key;
}

void RegistryTree::addLink(const KeyPath& path, KeyPath target) {
    RegistryKeyNode& parent = add(KeyPath(path.begin(), path.end() - 1));
    addSubkey(parent, path.back()).linkTarget = std::move(target);
}

const RegistryValueRecord* RegistryTree::findValue(const RegistryKeyNode& key,
                                                   std::string_view name) {
    const auto it = key.values.find(UpperAscii(name));
    return it == key.values.end() ? nullptr : &it->second;
}

void RegistryTree::storeValue(RegistryKeyNode& key, const std::string& name, std::uint32_t type,
                              std::string bytes) {
    const auto [it, added] = key.values.try_emplace(UpperAscii(name));
    if (added) it->second.name = name;
    it->second.type = type;
    it->second.bytes = std::move(bytes);
    it->second.wideBytes.reset();
}

bool RegistryTree::eraseValue(RegistryKeyNode& key, std::string_view name) {
    return key.values.erase(UpperAscii(name)) != 0;
}

KeyPath RegistryTree::nativePath(const RegistryKeyNode& key) const {
    KeyPath path;
    for (const RegistryKeyNode* at = &key; at != nullptr; at = at->parent) path.push_back(at->name);
    return KeyPath(path.rbegin(), path.rend());
}

std::string RegistryTree::nativeText(const RegistryKeyNode& key) const {
    std::string text;
    for (const std::string& name : nativePath(key)) text += (text.empty() ? "" : "\\") + name;
    return text;
}

Status RegistryTree::remove(RegistryKeyNode& key) {
    if (key.parent == nullptr || !key.subkeys.empty()) return kErrorAccessDenied;
    RegistryKeyNode& parent = *key.parent;
    key.parent = nullptr;
    key.deleted = true;
    // The erase may free the key itself when no handle holds it: nothing of it is used after.
    parent.subkeys.erase(LowerAscii(key.name));
    return kSuccess;
}

}  // namespace vx::platform::sim
