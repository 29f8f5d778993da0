#include "deletion/RegistryDelete.h"

#include <vector>

#include "common/AppSettings.h"
#include "common/DebugLog.h"
#include "common/FileTests.h"
#include "common/ProcessLaunch.h"
#include "common/ReportHeaders.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryPaths.h"
#include "registry/RegistryValues.h"
#include "security/DaclSnapshot.h"
#include "security/KeyPermissions.h"
#include "security/Ownership.h"

namespace vx::deletion {
namespace {

// A report line of the status reached so far.
ReportParameter StatusReached(std::uint32_t status) {
    return Labelled("lResult (0=Success 2=Not Found)", ToText(status));
}

// An unknown top key is reported like a trapped failure that has no number and no text.
const TrappedError kUnknownTopKey{};

std::string OutcomeLine(std::uint32_t status) {
    if (status == platform::kSuccess) return "\t- lResult: 0 SUCCESS";
    if (status == platform::kErrorFileNotFound) return "\t- lResult: 2 NOT FOUND";
    return "\t- lResult (0=Success 2=Not Found): " + ToText(status);
}

bool Refused(std::uint32_t status) {
    return status != platform::kSuccess && status != platform::kErrorFileNotFound;
}

std::string LowerLongRootName(const std::string& topKey) {
    const std::string lower = LCase(topKey);
    if (lower == "hklm") return "hkey_local_machine\\";
    if (lower == "hkcu") return "hkey_current_user\\";
    if (lower == "hku") return "hkey_users\\";
    if (lower == "hkcr") return "hkey_classes_root\\";
    return "";
}

// The inline ownership commands for a value's key, run only with a tool beside the program.
void TakeOwnershipForValue(const std::string& topKey, const std::string& keyPath) {
    const std::string longName = LowerLongRootName(topKey);
    if (longName.empty()) {
        DPrint("modRegistry\\fDeleteValue:  TopKeys supported: HKLM, HKCU, HKU, HKCR");
        DPrint("\t- Passed: " + topKey);
        DPrint("\tThere may be an error in code.");
        return;
    }
    const std::string tool = AppPath() + "subinacl.exe";
    if (!DoesFileExist(tool, false)) {
        return;
    }
    auto& environment = platform::Current().environment();
    const std::string user =
        environment.variable("computername") + "\\" + environment.variable("username");
    // The tool path is quoted: a program folder with a blank must not break the command.
    const std::string command = "\"" + tool + "\" /subkeyreg \"" + longName + keyPath + "\"";
    for (const std::string& rights :
         {" /setowner=" + user, " /sgrant=" + user + "=F", " /grant=" + user + "=F"}) {
        security::RunOwnershipTool(command + rights, platform::kShowHidden);
    }
}

// True only when opening the key says it is not there; a key we may not open is still there.
bool KeyIsGone(platform::RegistryHandle root, const std::string& path, std::uint32_t view) {
    registry::RegistryKey key;
    return key.open(root, path, platform::kKeyQueryValue | view) == platform::kErrorFileNotFound;
}

}  // namespace

std::uint32_t fDeleteValue(const std::string& topKey, const std::string& keyPath,
                           const std::string& valueName, bool& notFound) {
    std::uint32_t status = registry::kStatusNotReached;
    std::string path = keyPath;
    security::DaclSnapshot snapshot;
    const auto reportError = [&](const TrappedError& error) {
        ReportError(report::kDeleteValue, error,
                    {Labelled("Key", topKey + "\\" + path), Labelled("Value", valueName),
                     StatusReached(status)});
    };
    try {
        const auto root = registry::fTopKey(topKey);
        if (root == registry::kTopKeyUnknown) {
            reportError(kUnknownTopKey);
            return status;
        }
        if (root == registry::kTopKeyIniFile) {
            // The key is blanked, as the profile functions cannot tell "delete" apart here.
            status = platform::Current().profiles().writeString(topKey, keyPath, valueName, "")
                         ? platform::kSuccess
                         : platform::kErrorAccessDenied;
        } else {
            // The view rule rewrites the path once: run again on the rewritten path it would
            // choose the other view, and the retry would act on another key.
            const std::uint32_t view = registry::ApplyViewRule(path);
            for (bool retried = false;; retried = true) {
                registry::RegistryKey key;
                status = key.open(root, path, platform::kKeySetValue | view);
                if (status == platform::kSuccess) {
                    status = platform::Current().registry().deleteValue(key.handle(), valueName);
                    static_cast<void>(key.close());
                }
                if (!Refused(status) || retried) {
                    break;
                }
                snapshot.remember(root, path, view);
                TakeOwnershipForValue(topKey, path);
                security::GetRegKeyPermissions(topKey, path, view);
            }
        }
        if (Refused(status)) {
            snapshot.restore();
        }
        if (status == platform::kErrorFileNotFound) {
            notFound = true;
        }
        DPrint("modRegistry\\fDeleteValue:");
        DPrint("\t- Passed Key: " + topKey + "\\" + path);
        DPrint("\t- Passed Value: " + valueName);
        DPrint(OutcomeLine(status));
        return Refused(status) ? status : platform::kSuccess;
    } catch (...) {
        reportError(CurrentError());
        snapshot.restore();
        return status;
    }
}

std::uint32_t fDeleteKey(const std::string& topKey, const std::string& parentPath,
                         const std::string& keyName, bool& notFound) {
    std::uint32_t status = registry::kStatusNotReached;
    std::uint32_t result = registry::kStatusNotReached;
    std::string parent = parentPath;
    const auto fullPath = [&] { return parent + "\\" + keyName; };
    const auto reportError = [&](const TrappedError& error) {
        ReportError(report::kDeleteKey, error,
                    {Labelled("Key", topKey + "\\" + fullPath()), StatusReached(status)});
    };
    const auto root = registry::fTopKey(topKey);
    if (root == registry::kTopKeyUnknown) {
        reportError(kUnknownTopKey);
        return result;
    }
    // Both runs work in one view: the walk and the final deletion see the same keys.
    const std::uint32_t view = registry::ApplyViewRule(parent);
    security::DaclSnapshot snapshot;
    for (bool secondRun = false;; secondRun = true) {
        try {
            snapshot.remember(root, fullPath(), view);
            if (secondRun) {
                std::string owner, grantee;
                security::TakeOwnershipOfKey(topKey, fullPath(), owner, grantee);
            }
            security::GetRegKeyPermissions(topKey, fullPath(), view);
            registry::RegistryKey key;
            status = key.open(root, parent, platform::kKeyCreateSubKey | view);
            if (status == platform::kSuccess) {
                fDeleteSubkeys(root, fullPath(), topKey, view, &snapshot);
                status = platform::Current().registry().deleteKey(key.handle(), keyName);
                static_cast<void>(key.close());
            }
        } catch (...) {
            reportError(CurrentError());
        }
        if (!Refused(status)) {
            result = platform::kSuccess;
            break;
        }
        result = status;
        DPrint("modRegistry\\fDeleteKey - Error:  " + ToText(status));
        DPrint("\tKey:  " + topKey + "\\" + fullPath());
        if (!secondRun) {
            DPrint("\t- Attempting second run using subinacl...");
            continue;
        }
        // reg.exe is given the key as the caller named it, not as the view rule rewrote it: a
        // path through Wow6432Node names the key of our own view, and the 64-bit reg.exe
        // (started with redirection off) reaches that key through it.
        const std::string target = "\"" + topKey + "\\" + parentPath + "\\" + keyName + "\"";
        DPrint("modRegistry\\fDeleteKey:  Still not working, attempting deletion with reg.exe");
        DPrint("\tcmd:  reg.exe delete " + target + " /f");
        std::uint32_t exitCode = 0;
        static_cast<void>(
            ShellX("reg.exe", "DELETE " + target + " /f", true, platform::kShowHidden, exitCode));
        // Whatever reg.exe ended with, the key itself tells whether it is gone.
        if (KeyIsGone(root, fullPath(), view)) {
            status = platform::kSuccess;
            result = platform::kSuccess;
        }
        break;
    }
    if (Refused(result)) {
        snapshot.restore();
    }
    if (status == platform::kErrorFileNotFound) {
        notFound = true;
    }
    DPrint("modRegistry\\fDeleteKey: ");
    DPrint("\t- Key: " + topKey + "\\" + fullPath());
    DPrint(OutcomeLine(status));
    return result;
}

void fDeleteSubkeys(platform::RegistryHandle root, std::string keyPath, const std::string& topKey,
                    std::optional<std::uint32_t> view, security::DaclSnapshot* snapshot) {
    try {
        DPrint("modRegistry\\fDeleteSubkeys passed: " + topKey + "\\" + keyPath);
        const std::uint32_t viewFlag = view.has_value() ? *view : registry::ApplyViewRule(keyPath);
        registry::RegistryKey key;
        if (key.open(root, keyPath, platform::kKeyAllAccess | viewFlag) != platform::kSuccess) {
            DPrint("modRegistry\\fDeleteSubkeys: Error opening key: " + keyPath);
            return;
        }
        auto& registry = platform::Current().registry();
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t index = 0;
             registry.enumKey(key.handle(), index, name) == platform::kSuccess; ++index) {
            names.push_back(name.substr(0, name.find('\0')));
        }
        for (const auto& child : names) {
            const std::string childPath = keyPath + "\\" + child;
            if (snapshot != nullptr) {
                snapshot->remember(root, childPath, viewFlag);
            }
            security::GetRegKeyPermissions(topKey, childPath, viewFlag);
            fDeleteSubkeys(root, childPath, topKey, viewFlag, snapshot);
            static_cast<void>(registry.deleteKey(key.handle(), child));
        }
    } catch (...) {
        ReportError(report::kDeleteSubkeys, CurrentError(),
                    {Labelled("Key", topKey + "\\" + keyPath)});
    }
}

}  // namespace vx::deletion
