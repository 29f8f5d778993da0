#include "platform/win32/Win32Shell.h"

#include <windows.h>
// Needs <windows.h> before it in the Windows SDK.
#include <shlobj.h>

#include <type_traits>

#include "platform/TextMode.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32ShellLink.h"

namespace vx::platform::win32 {
namespace {

// The desktop view's own "Refresh" command (what F5 on the desktop sends).
constexpr WPARAM kDesktopRefreshCommand = 0x7103;

}  // namespace

bool Win32Shell::createLink(const std::string& linkFile, const ShellLinkData& data) {
    return CreateShellLink(linkFile, data);
}

std::optional<ShellLinkData> Win32Shell::readLink(const std::string& linkFile) {
    return ReadShellLink(linkFile);
}

std::optional<std::string> Win32Shell::specialFolderPath(int csidl) {
    UniqueCoTaskMem<std::remove_pointer_t<PIDLIST_ABSOLUTE>> items;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, items.put())) || !items) {
        return std::nullopt;
    }
    if (TextIsUtf8()) {
        wchar_t widePath[MAX_PATH] = {};
        if (!::SHGetPathFromIDListW(items.get(), widePath)) {
            return std::nullopt;
        }
        return Utf8FromWide(widePath);
    }
    char path[MAX_PATH] = {};
    // False for an id that names no file-system folder (Control Panel, Printers, ...).
    if (!::SHGetPathFromIDListA(items.get(), path)) {
        return std::nullopt;
    }
    return std::string(path);
}

// Without a shell desktop (a service session, or Wine without explorer.exe /desktop) there
// is nothing to refresh. Posted, not sent: a hung desktop cannot hold the caller.
bool Win32Shell::refreshDesktop() {
    const HWND manager = ::FindWindowA("Progman", "Program Manager");
    if (manager == nullptr) {
        return false;
    }
    const HWND view = ::FindWindowExA(manager, nullptr, "SHELLDLL_DefView", nullptr);
    if (view == nullptr) {
        return false;
    }
    return ::PostMessageA(view, WM_COMMAND, kDesktopRefreshCommand, 0) != FALSE;
}

}  // namespace vx::platform::win32
