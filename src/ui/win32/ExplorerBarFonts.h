#pragma once
// The explorer bar's fonts and the text measurements its layout is made from.

#include <windows.h>

#include <string>

#include "ui/win32/ExplorerBarGdi.h"

namespace vx::ui::win32 {

// The given font in its normal, bold and underlined forms. The base font belongs to whoever
// set it; the variants belong to this object.
class PaneFonts {
public:
    // nullptr means the system's message font.
    void use(HFONT font);

    [[nodiscard]] HFONT normal() const { return base_; }
    [[nodiscard]] HFONT bold() const { return bold_ ? bold_.get() : base_; }
    [[nodiscard]] HFONT underlined() const { return underline_ ? underline_.get() : base_; }
    [[nodiscard]] HFONT boldUnderlined() const {
        return boldUnderline_ ? boldUnderline_.get() : bold();
    }

private:
    HFONT base_ = nullptr;
    UniqueFont fallback_;
    UniqueFont bold_;
    UniqueFont underline_;
    UniqueFont boldUnderline_;
};

// 13 when the DC cannot say.
[[nodiscard]] int TextHeight(HDC dc, HFONT font);
// 0 when the DC cannot say.
[[nodiscard]] int TextWidth(HDC dc, HFONT font, const std::string& text);

}  // namespace vx::ui::win32
