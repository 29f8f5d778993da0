#include "engine/StartUp.h"

#include "common/AppSettings.h"
#include "common/AppState.h"
#include "common/DebugLog.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/ReportHeaders.h"
#include "common/Text.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSettings.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "platform/TextMode.h"
#include "registry/RegistryValues.h"

namespace vx::engine {
namespace {

struct KitPlaces {
    std::string brandingFolder;
    std::string settingsFile;
};

// Beside the toolkit its own branding folder holds the kit; without it, the program's folder.
KitPlaces LocateKit() {
    const std::string folder = DoesFileExist(AppPath() + toolkit::kExecutable, false)
                                   ? AppPath() + toolkit::kBrandingFolder
                                   : AppPath();
    return {folder, folder + "Vexilla.INI"};
}

void ChooseSettingsFile() {
    KitPlaces kit = LocateKit();
    State().brandingFolder = std::move(kit.brandingFolder);
    State().settingsFilePath = std::move(kit.settingsFile);
}

bool IsUnicodeFile(const std::string& path) {
    const auto bytes = platform::Current().files().readFile(path);
    return bytes && platform::DetectTextFileEncoding(*bytes) != platform::TextFileEncoding::Ansi;
}

// A kit whose settings file or oeminfo.ini is UTF-8 (today's Notepad saves so) or UTF-16 turns
// the whole run to UTF-8 text, before anything else reads a path or says a word; an ANSI or
// plain ASCII kit keeps the ANSI text of every earlier release.
void ChooseTextMode() {
    const KitPlaces kit = LocateKit();
    if (IsUnicodeFile(kit.settingsFile) ||
        IsUnicodeFile(kit.brandingFolder + settings::kSupportTextFile)) {
        platform::SetTextMode(platform::TextMode::Utf8);
    }
}

void ReadSidebarThemeSwitch() {
    if (ReadToolkitSetting(toolkit::kDisableSideBarThemes) == "1") {
        State().sidebarThemesDisabled = true;
        return;
    }
    registry::RegValue value = std::string();
    static_cast<void>(registry::fReadValue(
        "HKLM", toolkit::kRegistryKey, toolkit::kRegistrySidebarValue, "S", std::string(), value));
    if (registry::ToText(value) == "1") {
        State().sidebarThemesDisabled = true;
    }
}

}  // namespace

int Main(const EditorLauncher& showEditor, const ReportWriter& console) {
    return Main(showEditor, DefaultActions(), console);
}

int Main(const EditorLauncher& showEditor, const BrandingActions& actions,
         const ReportWriter& console) {
    Guarded(report::kMain, ChooseTextMode);
    Guarded(report::kMain, [] { InitAppSettings(true, true); });
    State().redirectionControlAllowed = true;
    Guarded(report::kMain, [] {
        State().systemDrive = platform::Current().environment().variable("systemdrive");
    });
    Guarded(report::kMain, ChooseSettingsFile);
    if (platform::TextIsUtf8()) {
        Info("Main", "the kit is written in Unicode: its text is read and written as Unicode");
    }
    bool refused = false;
    Guarded(report::kMain, [&] { refused = LaunchPasswordRefused(); });
    if (refused) {
        return static_cast<int>(ExitCode::LaunchRefused);
    }
    return static_cast<int>(CommandLineDispatch(showEditor, actions, console));
}

ExitCode CommandLineDispatch(const EditorLauncher& showEditor, const BrandingActions& actions,
                             const ReportWriter& console) {
    std::string commandLine;
    Guarded(report::kGetCmdLine,
            [&] { commandLine = platform::Current().environment().commandArguments(); });
    if (!commandLine.empty()) {
        Info("GetCmdLine", "Command passed:  " + commandLine);
        return RunSwitches(commandLine, actions, console);
    }
    Guarded(report::kGetCmdLine, ReadSidebarThemeSwitch);
    auto& ui = platform::Current().userInterface();
    std::uintptr_t shellLibrary = 0;
    Guarded(report::kGetCmdLine, [&] {
        shellLibrary = ui.loadLibrary("shell32.dll");
        ui.initCommonControls();
    });
    Guarded(report::kGetCmdLine, [&] {
        if (showEditor) {
            showEditor();
        }
    });
    if (shellLibrary != 0) {
        Guarded(report::kGetCmdLine, [&] { ui.freeLibrary(shellLibrary); });
    }
    return ExitCode::Success;
}

bool LaunchPasswordRefused() {
    if (ReadToolkitSetting(toolkit::kPasswordProtectedLaunch) != "1") {
        return false;
    }
    const auto answer = platform::Current().userInterface().inputBox(
        "Enter Launch Password (case sensitive):", kAppTitle, "");
    if (answer.value_or("") != ReadToolkitSetting(toolkit::kLaunchPassword)) {
        return true;
    }
    WriteToolkitSetting(toolkit::kPasswordProtectedLaunch, "0");
    return false;
}

std::string AlternateAppIconFile() {
    try {
        // An empty or non-numeric setting is simply "not 1".
        std::int32_t setting = 0;
        try {
            setting =
                registry::ToInt32(registry::RegValue(ReadToolkitSetting(toolkit::kUseAltIcon)));
        } catch (const std::exception&) {
            setting = 0;
        }
        const std::string iconFile = AppPath() + toolkit::kAppIcon;
        if (setting == 1 && DoesFileExist(iconFile, false)) {
            return iconFile;
        }
    } catch (...) {
        ReportError(report::kSetAppIcon, CurrentError());
    }
    return "";
}

}  // namespace vx::engine
