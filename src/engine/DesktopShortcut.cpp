#include "engine/DesktopShortcut.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "backup/PlacedFiles.h"
#include "common/AppState.h"
#include "common/DebugLog.h"
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

// The places of Internet Explorer, the 32-bit one first; a folder the environment does not name
// is left out, and one named twice (a 32-bit program on 64-bit Windows is given the x86 folder
// as both) is tried once.
std::vector<std::string> BrowserPlaces() {
    auto& environment = platform::Current().environment();
    std::vector<std::string> places;
    for (const char* variable : {"programfiles(x86)", "programfiles"}) {
        const std::string folder = environment.variable(variable);
        const std::string place = folder + "\\Internet Explorer\\iexplore.exe";
        if (!folder.empty() && std::find(places.begin(), places.end(), place) == places.end()) {
            places.push_back(place);
        }
    }
    return places;
}

// Internet Explorer where it is installed; nothing when neither place has it (Windows 11 and
// later Windows 10 may have dropped it).
std::optional<std::string> InstalledBrowser(const std::vector<std::string>& places) {
    for (const std::string& place : places) {
        if (DoesFileExist(place, false)) {
            return place;
        }
    }
    return std::nullopt;
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
                       const std::string& browser, bool& created) {
    const auto before = LinkForReport(link);
    clsFSO().KillFile(link);
    cShellLinkA shellLink;
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
        if (const auto place = KitIconPlace("ShortcutIcon", icon)) {
            PlaceFile(State().brandingFolder + icon, *place);
            iconPath = *place;
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
            const auto places = BrowserPlaces();
            const auto browser = InstalledBrowser(places);
            if (!browser) {
                // A .lnk to a program that is not there opens nothing: the default browser does.
                std::string tried;
                for (const std::string& place : places) {
                    tried += (tried.empty() ? "" : " or ") + place;
                }
                DPrint(
                    "modBranding\\DropDesktopShortcut: UseIE=1 but Internet Explorer is not "
                    "installed (no " +
                    tried + "); an Internet shortcut is written instead");
                ReportSkipped("the shortcut " + base +
                              ".lnk: Internet Explorer is not installed (no " + tried +
                              "): an Internet shortcut is written instead");
                writeUrlFile = true;
                return;
            }
            bool created = false;
            // A link reported as made but not on disk falls back to the Internet shortcut.
            writeUrlFile =
                !CreateBrowserLink(base + ".lnk", url, iconPath, *browser, created) && created;
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
