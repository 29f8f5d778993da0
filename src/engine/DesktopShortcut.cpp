#include "engine/DesktopShortcut.h"

#include "backup/PlacedFiles.h"
#include "common/AppState.h"
#include "common/FSO.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/ReportHeaders.h"
#include "common/RunReport.h"
#include "common/SystemFolders.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSettings.h"
#include "engine/SafeNames.h"
#include "engine/StepReport.h"
#include "engine/SystemFiles.h"
#include "engine/cShellLinkA.h"
#include "platform/Platform.h"

namespace vx::engine {
namespace {

constexpr int kShowMaximized = 3;

std::string Browser() {
    auto& environment = platform::Current().environment();
    const std::string wow =
        environment.variable("programfiles(x86)") + "\\Internet Explorer\\iexplore.exe";
    if (DoesFileExist(wow, false)) {
        return wow;
    }
    return environment.variable("programfiles") + "\\Internet Explorer\\iexplore.exe";
}

bool SameLink(const std::optional<platform::ShellLinkData>& a,
              const std::optional<platform::ShellLinkData>& b) {
    return a && b && a->target == b->target && a->arguments == b->arguments &&
           a->workingDirectory == b->workingDirectory && a->description == b->description &&
           a->iconFile == b->iconFile && a->iconIndex == b->iconIndex && a->hotKey == b->hotKey &&
           a->showCommand == b->showCommand;
}

std::optional<platform::ShellLinkData> LinkForReport(const std::string& link) {
    try {
        return DoesFileExist(link, false) ? platform::Current().shell().readLink(link)
                                          : std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

// The report of a shortcut made at `file` (`what` says where it leads), from what was there
// before and what is there now.
void ReportShortcut(const std::string& file, const std::string& what, bool existedBefore,
                    bool same, bool madeNow) {
    if (!madeNow) {
        ReportFailed("create the shortcut " + file + " -> " + what);
    } else if (same) {
        ReportKept("the shortcut " + file + " -> " + what);
    } else {
        ReportChange("created the shortcut " + file + " -> " + what,
                     "create the shortcut " + file + " -> " + what,
                     existedBefore ? "the shortcut " + file + " does not lead to " + what
                                   : "the shortcut " + file + " is missing");
    }
}

// A shell link that starts the browser with the address; true when the .lnk is on disk.
bool CreateBrowserLink(const std::string& link, const std::string& url, const std::string& iconPath,
                       bool& created) {
    const auto before = LinkForReport(link);
    clsFSO().KillFile(link);
    cShellLinkA shellLink;
    const std::string browser = Browser();
    created = shellLink.CreateLink(url, link, browser, "", url, 0, 0, kShowMaximized, iconPath);
    const bool onDisk = created && DoesFileExist(link, false);
    if (created && !onDisk) {
        ReportSkipped("the shortcut " + link +
                      " was reported made but is not on disk: an Internet shortcut is written "
                      "instead");
        return false;
    }
    ReportShortcut(link, browser + " " + url, before.has_value(),
                   onDisk && SameLink(before, LinkForReport(link)), onDisk);
    if (!onDisk) {
        return false;
    }
    static_cast<void>(backup::RecordPlacedFile(link));
    return true;
}

void WriteInternetShortcut(const std::string& file, const std::string& url,
                           const std::string& iconPath) {
    const auto before = ReadFileForReport(file);
    const auto reportMade = [&](bool made) {
        ReportShortcut(file, url, before.has_value(), made && ReadFileForReport(file) == before,
                       made);
    };
    // The first line replaces an older file; the rest is appended.
    if (!SaveTextToFile(file, "[InternetShortcut]", false)) {
        reportMade(false);
        return;
    }
    static_cast<void>(SaveTextToFile(file, "URL=" + url, true));
    if (!iconPath.empty()) {
        static_cast<void>(SaveTextToFile(file, "IconFile=" + iconPath, true));
        static_cast<void>(SaveTextToFile(file, "IconIndex=0", true));
    }
    reportMade(true);
    static_cast<void>(backup::RecordPlacedFile(file));
}

}  // namespace

void DropDesktopShortcut() {
    std::string url, name, icon, useIE;
    if (!SettingsFilePresent(report::kDropDesktopShortcut, "desktop shortcut")) {
        return;
    }
    Guarded(report::kDropDesktopShortcut, [&] {
        url = ReadSetting(settings::kShortcutUrl);
        name = ReadSetting(settings::kShortcutName);
        icon = ReadSetting(settings::kShortcutIcon);
        useIE = ReadSetting(settings::kUseIE);
    });
    if (url.empty() || name.empty()) {
        ReportSkipped("desktop shortcut: the settings file gives no ShortcutURL or ShortcutName");
        return;
    }
    if (!AcceptFileName("ShortcutName", name)) {
        ReportSkipped("desktop shortcut: ShortcutName " + Quoted(name) + " is not a plain file name");
        return;
    }
    TakeFactoryBackup();
    std::string iconPath;
    Guarded(report::kDropDesktopShortcut, [&] {
        if (!icon.empty() && AcceptFileName("ShortcutIcon", icon) &&
            DoesFileExist(State().brandingFolder + icon, false)) {
            PlaceFile(State().brandingFolder + icon, WindowsFolderFile(icon));
            iconPath = WindowsFolderFile(icon);
        }
    });
    std::string base;
    Guarded(report::kDropDesktopShortcut, [&] { base = AllUsersDesktopFolder() + "\\" + name; });
    if (base.empty()) {
        return;
    }
    bool writeUrlFile = useIE != "1";
    if (!writeUrlFile) {
        Guarded(report::kDropDesktopShortcut, [&] {
            bool created = false;
            // A link reported as made but not on disk falls back to the Internet shortcut.
            writeUrlFile = !CreateBrowserLink(base + ".lnk", url, iconPath, created) && created;
        });
    }
    if (writeUrlFile) {
        Guarded(report::kDropDesktopShortcut,
                [&] { WriteInternetShortcut(base + ".url", url, iconPath); });
    }
    RefreshDesktop();
}

void RemoveDesktopShortcut() {
    std::string name, icon;
    Guarded(report::kRemoveDesktopShortcut, [&] {
        name = ReadSetting(settings::kShortcutName);
        icon = ReadSetting(settings::kShortcutIcon);
    });
    if (name.empty() || !AcceptFileName("ShortcutName", name)) {
        return;
    }
    Guarded(report::kRemoveDesktopShortcut, [&] {
        // Only an icon Vexilla placed (unchanged), or a copy of the kit's own, is deleted.
        if (!icon.empty() && AcceptFileName("ShortcutIcon", icon) &&
            DoesFileExist(WindowsFolderFile(icon), false)) {
            static_cast<void>(
                backup::RemovePlacedFile(WindowsFolderFile(icon), State().brandingFolder + icon));
        }
    });
    Guarded(report::kRemoveDesktopShortcut, [&] {
        const std::string base = AllUsersDesktopFolder() + "\\" + name;
        bool any = false;
        for (const char* extension : {".url", ".lnk"}) {
            const std::string file = base + extension;
            const bool present = DoesFileExist(file, false);
            clsFSO().KillFile(file);
            backup::ForgetPlacedFile(file);
            any = any || present;
            if (present && DoesFileExist(file, false)) {
                ReportFailed("delete the shortcut " + file);
            } else if (present) {
                ReportChange("deleted the shortcut " + file, "delete the shortcut " + file,
                             "the shortcut " + file + " exists");
            }
        }
        if (!any) {
            ReportKept("no desktop shortcut " + base + ".url or .lnk");
        }
    });
}

void RefreshDesktop() {
    Guarded(report::kRefreshDesktop,
            [] { static_cast<void>(platform::Current().shell().refreshDesktop()); });
}

}  // namespace vx::engine
