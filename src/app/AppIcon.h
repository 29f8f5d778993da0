#pragma once
// The program's icon on a window: the toolkit's alternative icon file when it asks for one,
// otherwise the icon group "a1" built into the executable.

#include <windows.h>

#include "platform/win32/Handles.h"

namespace vx::app {

using UniqueIcon = platform::win32::Unique<HICON, ::DestroyIcon>;

// The big and small icon a window shows. WM_SETICON does not hand the icons over: the window
// only borrows them, so this owner must outlive the window (or the window must get other icons).
struct WindowIcons {
    UniqueIcon bigIcon;
    UniqueIcon smallIcon;
};

// Loads the icons and sets them on `window`. An alternative file that does not load gives the
// built-in icon; an icon that does not load at all leaves that size as it was. Nothing is
// reported to the user.
[[nodiscard]] WindowIcons SetAppIcon(HWND window);

}  // namespace vx::app
