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

}  // namespace vx::platform::win32
