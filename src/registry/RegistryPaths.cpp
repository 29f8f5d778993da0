#include "registry/RegistryPaths.h"

#include <array>
#include <utility>

#include "common/DebugLog.h"
#include "common/ReportHeaders.h"
#include "common/Text.h"
#include "platform/Platform.h"

namespace vx::registry {

std::uint32_t fTopKey(const std::string& topKey) {
    std::uint32_t result = kTopKeyUnknown;
    try {
        static constexpr std::array<std::pair<const char*, platform::RegistryHandle>, 6> kRoots{{
            {"HKCU", platform::kCurrentUser},
            {"HKLM", platform::kLocalMachine},
            {"HKU", platform::kUsers},
            {"HKDD", platform::kDynData},
            {"HKCC", platform::kCurrentConfig},
            {"HKCR", platform::kClassesRoot},
        }};
        const std::string upper = UCase(topKey);
        for (const auto& [name, root] : kRoots) {
            if (upper == name) {
                return root;
            }
        }
        if (topKey.empty()) {
            return result;
        }
        // INI mode: the text is the path of an existing file. A folder is never one.
        auto& files = platform::Current().files();
        const auto listed = files.firstListedName(topKey);
        const auto attributes = files.attributes(topKey);
        if (listed.has_value() && !listed->empty() && attributes.has_value() &&
            (*attributes & platform::kAttributeDirectory) == 0) {
            result = kTopKeyIniFile;
        }
    } catch (...) {
        ReportError(report::kTopKey, CurrentError(),
                    {Labelled("Passed", topKey), Labelled("Returned", ToText(result))});
    }
    return result;
}

bool fIs64Bit() {
    try {
        return platform::Current().environment().variable("ProgramFiles(x86)").size() > 1;
    } catch (...) {
        return false;
    }
}

std::uint32_t NativeViewFlag() { return fIs64Bit() ? platform::kKeyWow64_64Key : 0; }

std::uint32_t ApplyViewRule(std::string& keyPath) {
    if (!fIs64Bit()) {
        return 0;
    }
    const std::string lower = LCase(keyPath);
    if (lower.find("wow6432node") == std::string::npos) {
        return platform::kKeyWow64_64Key;
    }
    if (lower.find("guest_") == std::string::npos) {
        keyPath = Strip(lower, "wow6432node\\");
    }
    return 0;
}

}  // namespace vx::registry
