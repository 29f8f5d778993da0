#include "platform/plan/KeyIdentity.h"

#include "platform/TextRules.h"

namespace vx::platform::plan {

namespace {

constexpr std::string_view kWow = "WOW6432NODE";
constexpr std::string_view kSoftware = "SOFTWARE";
constexpr std::string_view kClasses = "CLASSES";

bool Is(const std::vector<std::string>& names, std::size_t index, std::string_view name) {
    return index < names.size() && names[index] == name;
}

// Where a Wow6432Node name stands for the 32-bit view: right below HKLM\Software and right
// below HKLM\Software\Classes.
bool IsRedirectionPoint(const std::vector<std::string>& names, std::size_t index) {
    if (index == 1) return Is(names, 0, kSoftware);
    return index == 2 && Is(names, 0, kSoftware) && Is(names, 1, kClasses);
}

bool KeptApart(RegistryHandle root, const std::vector<std::string>& names) {
    if (root != kLocalMachine || !Is(names, 0, kSoftware)) return false;
    if (!Is(names, 1, kClasses)) return true;
    return Is(names, 2, "CLSID") || Is(names, 2, "INTERFACE");
}

}  // namespace

KeyId IdentifyKey(RegistryHandle root, const std::vector<std::string>& names, bool redirected,
                  bool wow64) {
    KeyId key;
    key.root = root;
    if (root == kClassesRoot) {
        key.root = kLocalMachine;
        key.names = {std::string(kSoftware), std::string(kClasses)};
    }
    for (const std::string& name : names) key.names.push_back(UpperAscii(name));
    if (!wow64) return key;
    if (key.root == kLocalMachine) {
        for (std::size_t index = 1; index < key.names.size() && index <= 2;) {
            if (key.names[index] == kWow && IsRedirectionPoint(key.names, index)) {
                key.names.erase(key.names.begin() + static_cast<std::ptrdiff_t>(index));
                redirected = true;
            } else {
                ++index;
            }
        }
    }
    if (KeptApart(key.root, key.names)) {
        key.view = redirected ? KeyView::Redirected : KeyView::Native;
    }
    return key;
}

KeyId AncestorOf(const KeyId& key, std::size_t count, bool wow64) {
    const std::vector<std::string> names(key.names.begin(),
                                         key.names.begin() + static_cast<std::ptrdiff_t>(count));
    return IdentifyKey(key.root, names, key.view == KeyView::Redirected, wow64);
}

std::string RootName(RegistryHandle root) {
    switch (root) {
        case kClassesRoot:
            return "HKCR";
        case kCurrentUser:
            return "HKCU";
        case kLocalMachine:
            return "HKLM";
        case kUsers:
            return "HKU";
        case kCurrentConfig:
            return "HKCC";
        case kDynData:
            return "HKDD";
        default:
            return "";
    }
}

const char* ViewSuffix(KeyView view) {
    switch (view) {
        case KeyView::Native:
            return " (64-bit view)";
        case KeyView::Redirected:
            return " (32-bit view)";
        case KeyView::Shared:
            break;
    }
    return "";
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> names;
    while (!path.empty()) {
        const std::size_t end = path.find('\\');
        if (end != 0) names.emplace_back(path.substr(0, end));
        if (end == std::string_view::npos) break;
        path.remove_prefix(end + 1);
    }
    return names;
}

std::string JoinKeyPath(const std::vector<std::string>& names) {
    std::string path;
    for (const std::string& name : names) path += (path.empty() ? "" : "\\") + name;
    return path;
}

}  // namespace vx::platform::plan
