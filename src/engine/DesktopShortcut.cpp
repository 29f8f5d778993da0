#include "engine/DesktopShortcut.h"

#include "backup/PlacedFiles.h"
#include "common/AppState.h"
#include "common/FSO.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/ReportHeaders.h"
#include "common/SystemFolders.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSettings.h"
#include "engine/SafeNames.h"
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

// A shell link that starts the browser with the address; true when the .lnk is on disk.
bool CreateBrowserLink(const std::string& link, const std::string& url, const std::string& iconPath,
                       bool& created) {
    clsFSO().KillFile(link);
    cShellLinkA shellLink;
    created = shellLink.CreateLink(url, link, Browser(), "", url, 0, 0, kShowMaximized, iconPath);
    if (!created || !DoesFileExist(link, false)) {
        return false;
    }
    static_cast<void>(backup::RecordPlacedFile(link));
    return true;
}

void WriteInternetShortcut(const std::string& file, const std::string& url,
                           const std::string& iconPath) {
    // The first line replaces an older file; the rest is appended.
    if (!SaveTextToFile(file, "[InternetShortcut]", false)) {
        return;
    }
    static_cast<void>(SaveTextToFile(file, "URL=" + url, true));
    if (!iconPath.empty()) {
        static_cast<void>(SaveTextToFile(file, "IconFile=" + iconPath, true));
        static_cast<void>(SaveTextToFile(file, "IconIndex=0", true));
    }
    static_cast<void>(backup::RecordPlacedFile(file));
}

}  // namespace

void DropDesktopShortcut() {
    std::string url, name, icon, useIE;
    Guarded(report::kDropDesktopShortcut, [&] {
        url = ReadSetting(settings::kShortcutUrl);
        name = ReadSetting(settings::kShortcutName);
        icon = ReadSetting(settings::kShortcutIcon);
        useIE = ReadSetting(settings::kUseIE);
    });
    if (url.empty() || name.empty() || !AcceptFileName("ShortcutName", name)) {
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
        for (const char* extension : {".url", ".lnk"}) {
            clsFSO().KillFile(base + extension);
            backup::ForgetPlacedFile(base + extension);
        }
    });
}

void RefreshDesktop() {
    Guarded(report::kRefreshDesktop,
            [] { static_cast<void>(platform::Current().shell().refreshDesktop()); });
}

}  // namespace vx::engine
