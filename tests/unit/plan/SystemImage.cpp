#include "unit/plan/SystemImage.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "platform/CodePage1252.h"
#include "platform/TextRules.h"

namespace vx::test {
namespace {

using platform::RegistryHandle;
using platform::Status;

std::string Hex(const std::string& bytes) {
    std::string text;
    char digits[4];
    for (const char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(c));
        text += digits;
    }
    return text;
}

void WalkKey(platform::Registry& registry, RegistryHandle root, const std::string& place,
             const std::string& path, std::uint32_t view, std::vector<std::string>& lines) {
    RegistryHandle key = 0;
    const Status opened = registry.openKey(root, path, platform::kKeyRead | view, key);
    if (opened != platform::kSuccess) {
        lines.push_back("K " + place + "|cannot be read: " + std::to_string(opened));
        return;
    }
    lines.push_back("K " + place);
    std::string name;
    for (std::uint32_t index = 0; registry.enumValue(key, index, name) == platform::kSuccess;
         ++index) {
        std::uint32_t type = 0, ansiType = 0, size = 0;
        std::string wide, ansi;
        const Status w = registry.queryStoredValue(key, name, type, wide);
        const std::string ansiName = platform::AnsiFromUtf8(name);
        Status a = registry.queryValue(key, ansiName, 0, ansiType, ansi, size);
        if (a == platform::kErrorMoreData) {
            a = registry.queryValue(key, ansiName, size, ansiType, ansi, size);
        }
        lines.push_back("V " + place + "|\"" + name + "\"|" + std::to_string(w) + ":" +
                        std::to_string(type) + ":" + Hex(wide) + " " + std::to_string(a) + ":" +
                        std::to_string(ansiType) + ":" + Hex(ansi));
    }
    std::string descriptor;
    const Status security = registry.getKeySecurity(key, 4, descriptor);
    lines.push_back("S " + place + "|" + std::to_string(security) + ":" + Hex(descriptor));
    std::vector<std::string> children;
    for (std::uint32_t index = 0; registry.enumKey(key, index, name) == platform::kSuccess;
         ++index) {
        children.push_back(name.substr(0, name.find('\0')));
    }
    static_cast<void>(registry.closeKey(key));
    for (const std::string& child : children) {
        WalkKey(registry, root, place + "\\" + child, path.empty() ? child : path + "\\" + child,
                view, lines);
    }
}

}  // namespace

std::vector<std::string> RegistryImage(platform::Platform& system) {
    const bool wow64 = !system.environment().variable("ProgramFiles(x86)").empty();
    const std::uint32_t view = wow64 ? platform::kKeyWow64_64Key : 0;
    std::vector<std::string> lines;
    WalkKey(system.registry(), platform::kLocalMachine, "HKLM", "", view, lines);
    WalkKey(system.registry(), platform::kUsers, "HKU", "", view, lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> FileImage(platform::Platform& system, std::vector<std::string> paths) {
    for (std::string& path : paths) path = platform::UpperAscii(path);
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    std::uintptr_t saved = 0;
    const bool switchedOff = system.redirection().disable(saved) == platform::kSuccess;
    std::vector<std::string> lines;
    for (const std::string& path : paths) {
        const auto attributes = system.files().attributes(path);
        if (!attributes) {
            lines.push_back("F " + path + "|missing");
        } else if ((*attributes & platform::kAttributeDirectory) != 0) {
            lines.push_back("F " + path + "|folder");
        } else {
            lines.push_back("F " + path + "|file " +
                            Hex(system.files().readFile(path).value_or("<unreadable>")));
        }
    }
    if (switchedOff) static_cast<void>(system.redirection().revert(saved));
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> ImageChanges(const std::vector<std::string>& before,
                                      const std::vector<std::string>& after) {
    std::vector<std::string> added, lost, changes;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(added));
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(lost));
    for (const std::string& line : added) changes.push_back("+" + line);
    for (const std::string& line : lost) changes.push_back("-" + line);
    return changes;
}

}  // namespace vx::test
