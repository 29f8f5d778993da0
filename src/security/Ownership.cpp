#include "security/Ownership.h"

#include <array>
#include <utility>

#include "common/AppSettings.h"
#include "common/DebugLog.h"
#include "common/FSO.h"
#include "common/FileTests.h"
#include "common/ProcessLaunch.h"
#include "common/Text.h"
#include "platform/Platform.h"

namespace vx::security {
namespace {

std::string LongRootName(const std::string& topKey) {
    static constexpr std::array<std::pair<const char*, const char*>, 6> kLongNames{{
        {"HKCU", "HKEY_CURRENT_USER\\"},
        {"HKLM", "HKEY_LOCAL_MACHINE\\"},
        {"HKU", "HKEY_USERS\\"},
        {"HKDD", "HKEY_DYN_DATA\\"},
        {"HKCC", "HKEY_CURRENT_CONFIG\\"},
        {"HKCR", "HKEY_CLASSES_ROOT\\"},
    }};
    const std::string upper = UCase(topKey);
    for (const auto& [shortName, longName] : kLongNames) {
        if (upper == shortName) {
            return longName;
        }
    }
    return "";
}

std::string Variable(const char* name) { return platform::Current().environment().variable(name); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

void RunOwnershipTool(std::string command, int windowStyle) {
    std::string errorText;
    if (!ShellAndWaitForTermination(command, windowStyle, errorText, kOwnershipToolTimeLimitMs,
                                    true) &&
        errorText == kTimedOut) {
        DPrint("\tsubinacl.exe did not finish within " + ToText(kOwnershipToolTimeLimitMs / 60000) +
               " minutes; going on without it");
    }
}

std::string LocateOwnershipTool() {
    const std::string windows = Variable("systemroot");
    std::string tool;
    // Later hits win: the copy beside the program is preferred.
    for (const std::string& candidate :
         {windows + "\\subinacl.exe", windows + "\\System32\\subinacl.exe",
          AppPath() + "subinacl.exe"}) {
        if (DoesFileExist(candidate, false)) {
            tool = candidate;
        }
    }
    return tool;
}

void TakeOwnershipOfKey(const std::string& topKey, const std::string& keyPath, std::string& owner,
                        std::string& grantee) {
    try {
        const std::string root = LongRootName(topKey);
        if (root.empty()) {
            return;
        }
        const std::string fullPath = root + keyPath;
        if (owner.empty()) {
            owner = UCase(topKey) == "HKCU" ? Variable("username") : "administrators";
        }
        if (grantee.empty()) {
            grantee = Variable("username");
            if (grantee.empty()) {
                grantee = "System";
            }
        }
        const std::string tool = LocateOwnershipTool();
        if (tool.empty()) {
            return;
        }
        const std::string rights = " /setowner=" + owner + " /grant=" + grantee + "=f";
        RunOwnershipTool(Quoted(tool) + " /keyreg " + Quoted(fullPath) + rights,
                         platform::kShowNormal);
        RunOwnershipTool(Quoted(tool) + " /subkeyreg " + Quoted(fullPath) + rights,
                         platform::kShowNormal);
    } catch (...) {
        // Ignored by design: the deletion that asked for this reports the outcome.
    }
}

void TakeOwnershipOfPath(const std::string& path, bool& isFile, int windowStyle, std::string& owner,
                         std::string& grantee) {
    try {
        const std::string tool = LocateOwnershipTool();
        if (tool.empty()) {
            return;
        }
        const PathKind kind = clsFSO().pathType(path);
        if (kind == PathKind::Missing) {
            return;
        }
        isFile = kind == PathKind::File;
        if (owner.empty()) {
            owner = Variable("username");
        }
        if (owner.empty() || EqualsNoCase(owner, Variable("computername") + "$")) {
            owner = "System";  // no user, or the machine account
        }
        if (grantee.empty()) {
            grantee = owner == "System" ? "Everyone" : owner;
        }
        const std::string target = WithoutTrailingBackslash(path);
        const std::string rights = " /setowner=" + owner + " /grant=" + grantee + "=F";
        RunOwnershipTool(Quoted(tool) + " /file " + Quoted(target) + rights, windowStyle);
        if (!isFile) {
            RunOwnershipTool(Quoted(tool) + " /subdirectories " + Quoted(target + "\\*.*") + rights,
                             windowStyle);
        }
    } catch (...) {
        // Ignored by design.
    }
}

}  // namespace vx::security
