#pragma once
// The editor's two fonts: "MS Sans Serif" 8.25 pt and its bold form. Where the system has no
// font of that name (the font mapper then quietly hands out another face), the default GUI
// font and its bold form are used instead, so that the text keeps the size the layout was
// made for.

#include <windows.h>

#include "platform/win32/Handles.h"

namespace vx::ui::win32 {

using UniqueFont = platform::win32::Unique<HFONT, ::DeleteObject>;

struct FormFonts {
    UniqueFont regular;
    UniqueFont bold;
};

// Both fonts for a screen of `dpiY` pixels per inch. A font that cannot be made at all is
// left empty; controls then keep the system font.
[[nodiscard]] FormFonts MakeFormFonts(int dpiY);

}  // namespace vx::ui::win32
