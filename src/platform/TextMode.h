#pragma once
// How the text that crosses the seam is encoded. A run starts in the ANSI mode: strings are
// in the system's ANSI code page and the backend calls the A functions, as it always has. A
// kit written in Unicode (UTF-8, or UTF-16 with its mark) switches the process to the UTF-8
// mode before anything else runs:
// every string crossing the seam is then UTF-8, and the backend reaches Windows through the
// W functions, which every NT system has, so a name outside the code page ("株式会社テスト"
// on a Western system) arrives whole. Names the program itself gives are ASCII, the same
// bytes in either mode.

#include <string>
#include <string_view>

namespace vx::platform {

enum class TextMode { Ansi, Utf8 };

TextMode CurrentTextMode();
void SetTextMode(TextMode mode);
inline bool TextIsUtf8() { return CurrentTextMode() == TextMode::Utf8; }

// The W calls as the simulated Windows and the plan layer answer them: seam text to UTF-16LE
// and back through the code page 1252 model in the ANSI mode, as UTF-8 in the UTF-8 mode.
std::string WidenSeamText(std::string_view text);
std::string SeamTextFromUtf16(std::string_view utf16);
std::string SeamTextFromUtf8(std::string_view text);
std::string Utf8FromSeamText(std::string_view text);

}  // namespace vx::platform
