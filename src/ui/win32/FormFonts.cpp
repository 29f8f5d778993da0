#include "ui/win32/FormFonts.h"

#include <cstring>

namespace vx::ui::win32 {
namespace {

constexpr const char* kFaceName = "MS Sans Serif";
// 8.25 pt, in hundredths of a point.
constexpr int kCentiPoints = 825;
constexpr int kCentiPointsPerInch = 7200;

LOGFONTA FormLogFont(int dpiY) {
    LOGFONTA font{};
    // A negative height asks for the character height (without internal leading), which is
    // what a point size means.
    font.lfHeight = -MulDiv(kCentiPoints, dpiY, kCentiPointsPerInch);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    std::strncpy(font.lfFaceName, kFaceName, LF_FACESIZE - 1);
    return font;
}

// The face the font mapper actually chose for `font`.
bool HasFace(HFONT font, const char* face) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return false;
    }
    const HGDIOBJ old = SelectObject(screen, font);
    char chosen[LF_FACESIZE] = {};
    const int length = GetTextFaceA(screen, LF_FACESIZE, chosen);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return length > 0 && lstrcmpiA(chosen, face) == 0;
}

FormFonts FromLogFont(LOGFONTA font) {
    FormFonts fonts;
    fonts.regular.reset(CreateFontIndirectA(&font));
    font.lfWeight = FW_BOLD;
    fonts.bold.reset(CreateFontIndirectA(&font));
    return fonts;
}

}  // namespace

FormFonts MakeFormFonts(int dpiY) {
    FormFonts fonts = FromLogFont(FormLogFont(dpiY));
    if (fonts.regular && HasFace(fonts.regular.get(), kFaceName)) {
        return fonts;
    }
    LOGFONTA fallback{};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback) == 0) {
        return fonts;
    }
    return FromLogFont(fallback);
}

}  // namespace vx::ui::win32
