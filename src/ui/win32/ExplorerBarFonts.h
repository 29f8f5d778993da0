#pragma once
// The explorer bar's fonts and the text measurements its layout is made from.

#include <windows.h>

#include <string>

#include "ui/win32/ExplorerBarGdi.h"

namespace vx::ui::win32 {

// The given font in its normal, bold and underlined forms. The base font belongs to whoever
// set it; the variants belong to this object.
struct PaneFonts {
    HFONT base = nullptr;
    UniqueFont fallback;
    UniqueFont bold;
    UniqueFont underline;
    UniqueFont boldUnderline;

    // nullptr means the system's message font.
    void Use(HFONT font);

    [[nodiscard]] HFONT Normal() const { return base; }
    [[nodiscard]] HFONT Bold() const { return bold ? bold.get() : base; }
    [[nodiscard]] HFONT Underlined() const { return underline ? underline.get() : base; }
    [[nodiscard]] HFONT BoldUnderlined() const {
        return boldUnderline ? boldUnderline.get() : Bold();
    }
};

// 13 when the DC cannot say.
[[nodiscard]] int TextHeight(HDC dc, HFONT font);
// 0 when the DC cannot say.
[[nodiscard]] int TextWidth(HDC dc, HFONT font, const std::string& text);

}  // namespace vx::ui::win32
