#include "ui/win32/ExplorerBarFonts.h"

namespace vx::ui::win32 {

namespace {

// The font of message boxes: what a dialog on this system would use.
HFONT SystemMessageFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return ::CreateFontIndirectA(&metrics.lfMessageFont);
    }
    return nullptr;
}

}  // namespace

void PaneFonts::use(HFONT font) {
    if (font == nullptr) {
        if (!fallback_) {
            fallback_.reset(SystemMessageFont());
        }
        font = fallback_.get();
    }
    base_ = font;
    LOGFONTA face{};
    if (font == nullptr || ::GetObjectA(font, sizeof(face), &face) != sizeof(face)) {
        bold_.reset();
        underline_.reset();
        boldUnderline_.reset();
        return;
    }
    face.lfWeight = FW_BOLD;
    bold_.reset(::CreateFontIndirectA(&face));
    face.lfUnderline = TRUE;
    boldUnderline_.reset(::CreateFontIndirectA(&face));
    face.lfWeight = FW_NORMAL;
    underline_.reset(::CreateFontIndirectA(&face));
}

int TextHeight(HDC dc, HFONT font) {
    Selection selected(dc, font);
    TEXTMETRICA text{};
    return ::GetTextMetricsA(dc, &text) ? static_cast<int>(text.tmHeight) : 13;
}

int TextWidth(HDC dc, HFONT font, const std::string& text) {
    Selection selected(dc, font);
    SIZE size{};
    if (!::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size)) {
        return 0;
    }
    return static_cast<int>(size.cx);
}

}  // namespace vx::ui::win32
