#pragma once
// The profile functions in the UTF-8 text mode (TextMode.h). The system's own would read a
// file without a byte-order mark in the ANSI code page, so in this mode a backend reads the
// file's bytes and answers from here: each file is read in the encoding it is written in
// (TextFile.h), and a value written goes back in that encoding, every other line kept. A new
// file is written in the ANSI code page, as the system creates one. A file in the code page
// (a new one included) whose text the code page can no longer hold is written as UTF-16 with
// its mark instead, which the profile functions of every NT system read: nothing typed is
// lost to a "?".

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextFile.h"

namespace vx::platform {

// `file` is the file's bytes, nothing when it is missing or cannot be read.
std::string ReadUtf8ProfileString(const std::optional<std::string>& file, std::string_view section,
                                  std::string_view key, std::string_view defaultText,
                                  std::size_t bufferChars, const AnsiConversions& ansi);
unsigned ReadUtf8ProfileInt(const std::optional<std::string>& file, std::string_view section,
                            std::string_view key, int defaultValue, const AnsiConversions& ansi);
// The bytes the file is to hold after the write; nothing when it already holds the value.
std::optional<std::string> WriteUtf8ProfileString(const std::optional<std::string>& file,
                                                  std::string_view section, std::string_view key,
                                                  std::string_view value,
                                                  const AnsiConversions& ansi);

}  // namespace vx::platform
