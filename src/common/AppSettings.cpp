#include "common/AppSettings.h"

#include "common/AppState.h"
#include "common/DebugLog.h"
#include "common/OpSys.h"
#include "common/ReportHeaders.h"
#include "common/Version.h"
#include "platform/Platform.h"

namespace vx {

VersionNumbers BuildVersion() { return {version::kMajor, version::kMinor, version::kRevision}; }

std::string AppPath() {
    std::string folder;
    try {
        const std::string module = platform::Current().environment().moduleFileName();
        const auto slash = module.find_last_of('\\');
        folder = slash == std::string::npos ? std::string() : module.substr(0, slash);
        return WithTrailingBackslash(folder);
    } catch (...) {
        ReportError(report::kAppPath, CurrentError());
        return folder;
    }
}

std::string AppExeName() {
    const std::string module = platform::Current().environment().moduleFileName();
    const auto slash = module.find_last_of('\\');
    std::string name = slash == std::string::npos ? module : module.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

void InitAppSettings(bool bSetAppINI, bool inAppFolder) {
    auto& system = platform::Current();
    // Each step runs even when the one before it failed.
    try {
        if (bSetAppINI) {
            if (inAppFolder) {
                State().settingsFilePath = AppPath() + AppExeName() + ".ini";
            } else {
                const std::string folder = AppPath() + "Config";
                if (!system.files().attributes(folder).has_value()) {
                    if (const auto status = system.files().createDirectory(folder);
                        status != platform::kSuccess) {
                        ThrowSystemError(status);
                    }
                }
                State().settingsFilePath = folder + "\\" + AppExeName() + ".ini";
            }
        }
    } catch (...) {
        ReportError(report::kInitAppSettings, CurrentError(), {{"bSetAppINI", ToText(bSetAppINI)}});
    }
    try {
        DPrint("");
        // The caption ends in a space: "Starting Vexilla   v1.0 on Windows 10 (64-bit)".
        DPrint(system.environment().localDateTimeText() + " - Starting " + VersionCaption("", "") +
               "on " + RunningWindowsName());
        DPrint(std::string(40, '-'));
    } catch (...) {
        ReportError(report::kInitAppSettings, CurrentError(), {{"bSetAppINI", ToText(bSetAppINI)}});
    }
}

std::string VersionCaption(std::string_view stage, std::string_view extra) {
    return VersionCaption(stage, extra, BuildVersion());
}

std::string VersionCaption(std::string_view stage, std::string_view extra,
                           const VersionNumbers& version) {
    std::string caption =
        std::string(kAppTitle) + "   v" + ToText(version.major) + "." + ToText(version.minor);
    if (version.revision >= 1) {
        caption.append(".").append(ToText(version.revision));
    }
    if (stage == "A") {
        caption += " ALPHA";
    } else if (stage == "B") {
        caption += " BETA";
    } else {
        caption.append(" ").append(stage);
    }
    if (!extra.empty()) {
        caption += "  - " + std::string(extra);
    }
    return caption;
}

}  // namespace vx
