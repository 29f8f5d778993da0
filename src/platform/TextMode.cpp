#include "platform/TextMode.h"

#include "platform/CodePage1252.h"
#include "platform/TextFile.h"

namespace vx::platform {
namespace {
TextMode mode = TextMode::Ansi;
}

TextMode CurrentTextMode() { return mode; }

void SetTextMode(TextMode newMode) { mode = newMode; }

std::string WidenSeamText(std::string_view text) {
    return TextIsUtf8() ? Utf16FromUtf8(text) : WidenAnsi(text);
}

std::string SeamTextFromUtf16(std::string_view utf16) {
    return TextIsUtf8() ? Utf8FromUtf16(utf16) : NarrowUtf16(utf16);
}

std::string SeamTextFromUtf8(std::string_view text) {
    return TextIsUtf8() ? std::string(text) : AnsiFromUtf8(text);
}

std::string Utf8FromSeamText(std::string_view text) {
    return TextIsUtf8() ? std::string(text) : Utf8FromAnsi(text);
}

}  // namespace vx::platform
