#include "platform/sim/SimRegistry.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/TextMode.h"
#include "platform/TextRules.h"
#include "platform/sim/SimRegistryView.h"

// The registry views as a 32-bit process meets them, measured under Wine 8.0 (64-bit and
// 32-bit prefixes, a 32-bit probe naming the key each handle reached):
//
// 64-bit Windows. A path is walked name by name from the parent's stored key; the view
// flags of that one call decide how:
// - KEY_WOW64_64KEY (it wins when both flags are given): the stored keys as they are.
// - no flag, or KEY_WOW64_32KEY: after each name the walk goes on in that key's
//   Wow6432Node subkey when it has one, unless the path names Wow6432Node next. So
//   HKLM\Software\X is HKLM\Software\Wow6432Node\X; an explicit
//   "Software\Wow6432Node\X" reaches the same key in both views (never a Wow6432Node
//   inside Wow6432Node); HKCU\Software has no Wow6432Node and is not redirected (any key
//   that gains one would be, HKCU ones too).
// - HKLM\Software\Wow6432Node\Classes is a link to HKLM\Software\Classes\Wow6432Node, which
//   holds CLSID and Interface of its own and links AppID, Protocols, TypeLib back to the
//   shared keys. A name that Classes Wow6432Node lacks is looked up, and created, in
//   HKLM\Software\Classes. Hence HKCR\CLSID\{g} and HKCR\Interface\{g} are redirected, but
//   HKCR\Foo, HKCR\.ext, HKCR\ProgId\CLSID, HKCR\AppID\X and HKCR\TypeLib\X land in
//   HKLM\Software\Classes; "Software\Classes\Wow6432Node\Foo" in the 32-bit view also
//   reaches Classes\Foo. Ending on the Classes Wow6432Node without naming it
//   ("Software\Classes", "Software\Wow6432Node\Classes") gives HKLM\Software\Classes.
// - HKCR is HKLM\Software\Classes walked that way; with KEY_WOW64_64KEY, the stored one.
// - Below an open handle the walk starts at the handle's own key, whatever view opened it.
//   With no flag it first enters the handle's Wow6432Node only if that is the Classes one,
//   so "X" below a 64-bit-view handle of HKLM\Software is the 64-bit Software\X; with
//   KEY_WOW64_32KEY the handle's key is first carried over to its 32-bit-view counterpart
//   (kept as it is when that view has none).
// - An empty name below a handle opens its Wow6432Node subkey if it has one (creating: only
//   the Classes one); with KEY_WOW64_32KEY, the 32-bit counterpart.
// - RegDeleteKeyA opens with no flag: below a root it deletes in the 32-bit view.
// 32-bit Windows: one view, the flags are ignored and Wow6432Node is an ordinary name.
//
// Other measured facts: an empty name below a root opens the root itself (the same
// handle value); creating an empty name gives a new handle; HKDD is an empty hive (open
// "" succeeds, open "X" gives 2); subkeys are listed in lower-case order; a string value
// set without its terminator gets one, as the byte after the data (a std::string's NUL)
// tells the system the caller forgot it.
//
// The W calls (Wine 8.0, code page 1252): values are listed in lower-case order ("[x", "_u",
// "A", "ab", "abc", "b", "Zed"), the default value first; listing needs KEY_QUERY_VALUE
// (KEY_ENUMERATE_SUB_KEYS alone gives 5). RegSetValueExW also adds a terminator to string
// data whose next unit in memory is NUL; followed by any other unit, the data are stored as
// given, an odd size too, and read back through the W call exactly (the A call reads the
// whole units only, with no terminator added to the size).

namespace vx::platform::sim {

namespace {

// The A functions convert the path through the thread's 261-character buffer.
constexpr std::size_t kLongestPath = 260;
constexpr std::size_t kLongestName = 256;

constexpr std::uint32_t kAccessSystemSecurity = 0x01000000;

bool IsPredefined(RegistryHandle handle) { return handle >= kClassesRoot && handle <= kDynData; }

bool IsStringType(std::uint32_t type) {
    return type == kRegString || type == kRegExpandString || type == kRegMultiString;
}

Status SplitSubKey(std::string_view text, KeyPath& names) {
    if (text.size() > kLongestPath) return kErrorMoreData;
    if (!text.empty() && text.front() == '\\') return kErrorBadPathname;
    names.clear();
    while (!text.empty()) {
        const std::size_t end = text.find('\\');
        if (end != 0) names.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return kSuccess;
}

KeyPath ClassesPath() { return {"HKLM", "Software", "Classes"}; }
KeyPath CurrentUserPath() { return {"HKU", kUserSid}; }
KeyPath CurrentConfigPath() {
    return {"HKLM", "System", "CurrentControlSet", "Hardware Profiles", "Current"};
}

void Seed(RegistryTree& tree, bool wow64) {
    static constexpr std::array<const char*, 11> kKeys = {
        "HKLM\\Software\\Classes\\AppID",
        "HKLM\\Software\\Classes\\CLSID",
        "HKLM\\Software\\Classes\\Interface",
        "HKLM\\Software\\Classes\\Protocols",
        "HKLM\\Software\\Classes\\TypeLib",
        "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion",
        "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion",
        "HKLM\\System\\CurrentControlSet\\Control",
        "HKCC\\Software",
        "HKU\\.Default\\Software",
        "HKCU\\Software",
    };
    for (const char* key : kKeys) tree.add(StoredKeyPath(key));
    if (!wow64) return;

    static constexpr std::array<const char*, 4> kKeys32 = {
        "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion",
        "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion",
        "HKLM\\Software\\Classes\\Wow6432Node\\CLSID",
        "HKLM\\Software\\Classes\\Wow6432Node\\Interface",
    };
    for (const char* key : kKeys32) tree.add(StoredKeyPath(key));
    tree.addLink({"HKLM", "Software", "Wow6432Node", "Classes"},
                 {"HKLM", "Software", "Classes", "Wow6432Node"});
    for (const char* shared : {"AppID", "Protocols", "TypeLib"}) {
        tree.addLink({"HKLM", "Software", "Classes", "Wow6432Node", shared},
                     {"HKLM", "Software", "Classes", shared});
    }
}

}  // namespace

KeyPath StoredKeyPath(const std::string& text) {
    KeyPath names;
    if (SplitSubKey(text, names) != kSuccess || names.empty()) {
        throw std::invalid_argument("not a registry key path: \"" + text + "\"");
    }
    const std::string root = UpperAscii(names.front());
    KeyPath path;
    if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE") {
        path = {"HKLM"};
    } else if (root == "HKU" || root == "HKEY_USERS") {
        path = {"HKU"};
    } else if (root == "HKDD" || root == "HKEY_DYN_DATA") {
        path = {"HKDD"};
    } else if (root == "HKCU" || root == "HKEY_CURRENT_USER") {
        path = CurrentUserPath();
    } else if (root == "HKCR" || root == "HKEY_CLASSES_ROOT") {
        path = ClassesPath();
    } else if (root == "HKCC" || root == "HKEY_CURRENT_CONFIG") {
        path = CurrentConfigPath();
    } else {
        throw std::invalid_argument("not a registry root: \"" + text + "\"");
    }
    path.insert(path.end(), std::next(names.begin()), names.end());
    return path;
}

SimRegistry::SimRegistry(Bitness bitness) : wow64_(bitness == Bitness::Windows64) {
    Seed(tree_, wow64_);
}

RegistryKeyNode* SimRegistry::rootKey(RegistryHandle root) const {
    switch (root) {
        case kClassesRoot:
            return tree_.find(ClassesPath());
        case kCurrentUser:
            return tree_.find(CurrentUserPath());
        case kLocalMachine:
            return tree_.hive("HKLM");
        case kUsers:
            return tree_.hive("HKU");
        case kCurrentConfig:
            return tree_.find(CurrentConfigPath());
        case kDynData:
            return tree_.hive("HKDD");
        default:
            return nullptr;
    }
}

Status SimRegistry::reach(RegistryHandle handle, std::uint32_t needed, RegistryKeyNode*& key,
                          bool evenDeleted) const {
    if (IsPredefined(handle)) {
        key = rootKey(handle);
        return key == nullptr ? kErrorInvalidHandle : kSuccess;
    }
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return kErrorInvalidHandle;
    if ((it->second.granted & needed) != needed) return kErrorAccessDenied;
    if (it->second.key->deleted && !evenDeleted) return kErrorKeyDeleted;
    key = it->second.key.get();
    return kSuccess;
}

Status SimRegistry::remember(RegistryKeyNode& key, std::uint32_t access, RegistryHandle& handle) {
    std::uint32_t granted = 0;
    const KeySecurity* security = key.security ? &*key.security : nullptr;
    if (!CheckKeyAccess(security, access, granted)) return kErrorAccessDenied;
    // Values are never reused, so a stale handle keeps failing instead of reaching a new key.
    handle = nextHandle_;
    nextHandle_ += 4;
    handles_.emplace(handle, OpenKey{key.shared_from_this(), granted});
    return kSuccess;
}

Status SimRegistry::openKey(RegistryHandle parent, const std::string& subKey, std::uint32_t access,
                            RegistryHandle& key) {
    if (subKey.empty() && rootKey(parent) != nullptr) {
        key = parent;
        return kSuccess;
    }
    std::string_view path = subKey;
    if (parent == kClassesRoot && !path.empty() && path.front() == '\\') path.remove_prefix(1);
    RegistryKeyNode* base = nullptr;
    KeyPath names;
    if (const Status status = reach(parent, 0, base)) return status;
    if (const Status status = SplitSubKey(path, names)) return status;
    const ViewWalk walk = WalkView(tree_, *base, names, access, wow64_, WalkPurpose::Open);
    if (walk.found < names.size()) return kErrorFileNotFound;
    return remember(*walk.key, access, key);
}

Status SimRegistry::createKey(RegistryHandle parent, const std::string& subKey,
                              std::uint32_t access, RegistryHandle& key) {
    RegistryKeyNode* base = nullptr;
    KeyPath names;
    if (const Status status = reach(parent, 0, base)) return status;
    if (const Status status = SplitSubKey(subKey, names)) return status;
    const ViewWalk walk = WalkView(tree_, *base, names, access, wow64_, WalkPurpose::Create);
    RegistryKeyNode* made = walk.key;
    for (std::size_t i = walk.found; i < names.size(); ++i) {
        if (names[i].size() > kLongestName) return kErrorInvalidParameter;
        // Only a link whose target is gone stands in the way of a name the walk missed.
        if (tree_.subkey(*made, names[i]) != nullptr) return kErrorFileNotFound;
        made = &tree_.addSubkey(*made, names[i]);
    }
    return remember(*made, access, key);
}

Status SimRegistry::closeKey(RegistryHandle key) {
    if (IsPredefined(key)) return kSuccess;
    return handles_.erase(key) != 0 ? kSuccess : kErrorInvalidHandle;
}

Status SimRegistry::queryValue(RegistryHandle key, const std::string& name, std::size_t capacity,
                               std::uint32_t& type, std::string& data, std::uint32_t& size) {
    RegistryKeyNode* node = nullptr;
    if (const Status status = reach(key, kKeyQueryValue, node)) return status;
    const RegistryValueRecord* value = RegistryTree::findValue(*node, name);
    if (value == nullptr) return kErrorFileNotFound;
    type = value->type;
    // Strings are kept as the system keeps them, in UTF-16, and read in the text mode of now.
    std::string bytes = IsStringType(type) && value->wideBytes ? SeamTextFromUtf16(*value->wideBytes)
                                                               : value->bytes;
    size = static_cast<std::uint32_t>(bytes.size());
    if (bytes.size() > capacity) return kErrorMoreData;
    data = std::move(bytes);
    return kSuccess;
}

Status SimRegistry::setValue(RegistryHandle key, const std::string& name, std::uint32_t type,
                             const std::string& data) {
    RegistryKeyNode* node = nullptr;
    if (const Status status = reach(key, kKeySetValue, node)) return status;
    std::string bytes = data;
    if (IsStringType(type) && !bytes.empty() && bytes.back() != '\0') bytes.push_back('\0');
    std::string wide = IsStringType(type) ? WidenSeamText(bytes) : std::string();
    RegistryTree::storeValue(*node, name, type, std::move(bytes));
    if (IsStringType(type)) node->values.at(UpperAscii(name)).wideBytes = std::move(wide);
    return kSuccess;
}

Status SimRegistry::deleteValue(RegistryHandle key, const std::string& name) {
    RegistryKeyNode* node = nullptr;
    if (const Status status = reach(key, kKeySetValue, node)) return status;
    return RegistryTree::eraseValue(*node, name) ? kSuccess : kErrorFileNotFound;
}

Status SimRegistry::deleteKey(RegistryHandle parent, const std::string& subKey) {
    RegistryKeyNode* base = nullptr;
    KeyPath names;
    if (const Status status = reach(parent, 0, base)) return status;
    if (const Status status = SplitSubKey(subKey, names)) return status;
    const ViewWalk walk = WalkView(tree_, *base, names, 0, wow64_, WalkPurpose::Open);
    if (walk.found < names.size()) return kErrorFileNotFound;
    // A named key is opened for DELETE first; an empty name deletes the handle's own key,
    // whatever rights the handle holds.
    std::uint32_t granted = 0;
    const KeySecurity* security = walk.key->security ? &*walk.key->security : nullptr;
    if (!names.empty() && !CheckKeyAccess(security, kDelete, granted)) return kErrorAccessDenied;
    return tree_.remove(*walk.key);
}

Status SimRegistry::getKeySecurity(RegistryHandle key, std::uint32_t information,
                                   std::string& descriptor) {
    RegistryKeyNode* node = nullptr;
    std::uint32_t needed = kReadControl;
    if ((information & kSaclSecurityInformation) != 0) needed |= kAccessSystemSecurity;
    if (const Status status = reach(key, needed, node, true)) return status;
    descriptor =
        DescriptorBytes(node->security ? *node->security : DefaultKeySecurity(), information);
    return kSuccess;
}

Status SimRegistry::setKeySecurity(RegistryHandle key, std::uint32_t information,
                                   const std::string& descriptor) {
    constexpr std::uint32_t kAnyPart = kOwnerSecurityInformation | kGroupSecurityInformation |
                                       kDaclSecurityInformation | kSaclSecurityInformation;
    if ((information & kAnyPart) == 0) return kErrorInvalidParameter;
    DescriptorParts given;
    if (const Status status = ParseDescriptor(descriptor, given)) return status;
    if (((information & kOwnerSecurityInformation) != 0 && !given.owner) ||
        ((information & kGroupSecurityInformation) != 0 && !given.group)) {
        return kErrorInvalidSecurityDescriptor;
    }
    std::uint32_t needed = 0;
    if ((information & (kOwnerSecurityInformation | kGroupSecurityInformation)) != 0) {
        needed |= kWriteOwner;
    }
    if ((information & kDaclSecurityInformation) != 0) needed |= kWriteDac;
    if ((information & kSaclSecurityInformation) != 0) needed |= kAccessSystemSecurity;
    RegistryKeyNode* node = nullptr;
    if (const Status status = reach(key, needed, node, true)) return status;
    node->security =
        ApplyDescriptor(node->security ? &*node->security : nullptr, given, information);
    return kSuccess;
}

Status SimRegistry::enumKey(RegistryHandle key, std::uint32_t index, std::string& name) {
    RegistryKeyNode* node = nullptr;
    if (const Status status = reach(key, kKeyEnumerateSubKeys, node)) return status;
    if (index >= node->subkeys.size()) return kErrorNoMoreItems;
    name = std::next(node->subkeys.begin(), static_cast<std::ptrdiff_t>(index))->second->name;
    return kSuccess;
}

Status SimRegistry::queryStoredValue(RegistryHandle key, const std::string& name,
                                     std::uint32_t& type, std::string& bytes) {
    RegistryKeyNode* node = nullptr;
    if (const Status status = reach(key, kKeyQueryValue, node)) return status;
    const RegistryValueRecord* value = RegistryTree::findValue(*node, SeamTextFromUtf8(name));
    if (value == nullptr) return kErrorFileNotFound;
    type = value->type;
    if (!IsStringType(type)) {
        bytes = value->bytes;
        return kSuccess;
    }
    bytes = value->wideBytes ? *value->wideBytes : WidenSeamText(value->bytes);
    return kSuccess;
}

Status SimRegistry::setStoredValue(RegistryHandle key, const std::string& name, std::uint32_t type,
                                   const std::string& bytes) {
    RegistryKeyNode* node = nullptr;
    if (const Status status = reach(key, kKeySetValue, node)) return status;
    const std::string ansiName = SeamTextFromUtf8(name);
    if (!IsStringType(type)) {
        RegistryTree::storeValue(*node, ansiName, type, bytes);
        return kSuccess;
    }
    RegistryTree::storeValue(*node, ansiName, type, SeamTextFromUtf16(bytes));
    node->values.at(UpperAscii(ansiName)).wideBytes = bytes;
    return kSuccess;
}

std::string SimRegistry::seamTextFromUtf8(const std::string& name) {
    return SeamTextFromUtf8(name);
}

Status SimRegistry::enumValue(RegistryHandle key, std::uint32_t index, std::string& name) {
    RegistryKeyNode* node = nullptr;
    if (const Status status = reach(key, kKeyQueryValue, node)) return status;
    if (index >= node->values.size()) return kErrorNoMoreItems;
    // UTF-8 keeps the order of the code points, so its lower-case form sorts as Wine does.
    std::vector<std::pair<std::string, std::string>> listed;
    for (const auto& [folded, value] : node->values) {
        std::string text = Utf8FromSeamText(value.name);
        listed.emplace_back(LowerAscii(text), std::move(text));
    }
    std::sort(listed.begin(), listed.end());
    name = listed[index].second;
    return kSuccess;
}

std::optional<std::string> SimRegistry::storedPath(RegistryHandle key) const {
    if (const RegistryKeyNode* root = IsPredefined(key) ? rootKey(key) : nullptr) {
        return tree_.nativeText(*root);
    }
    const auto it = handles_.find(key);
    if (it == handles_.end()) return std::nullopt;
    return tree_.nativeText(*it->second.key);
}

}  // namespace vx::platform::sim
