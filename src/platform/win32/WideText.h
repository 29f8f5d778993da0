#pragma once
// UTF-8 <-> UTF-16 for the W calls, through MultiByteToWideChar and WideCharToMultiByte with
// CP_UTF8, which every NT system has (Windows 2000 included, where the flags must be 0). With
// flags 0 ill-formed input is converted as the system converts it, never refused; a failure
// is a size the calls cannot take (the system's status).

#include <string>
#include <string_view>

#include "platform/Types.h"

namespace vx::platform::win32 {

[[nodiscard]] Status Utf8ToWide(std::string_view text, std::wstring& wide);
[[nodiscard]] Status WideToUtf8(std::wstring_view wide, std::string& text);

// The same for text the calls cannot refuse (anything below 2 GiB): what a W call takes for
// seam text in the UTF-8 mode, and what it gives back.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view wide);

// The ANSI code page's bytes (CP_ACP) as UTF-8 and back, as the A calls would convert them.
std::string Utf8FromAnsiCodePage(std::string_view bytes);
std::string AnsiCodePageFromUtf8(std::string_view text);

}  // namespace vx::platform::win32
