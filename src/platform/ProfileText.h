#pragma once
// The private-profile functions over a file's text already decoded to UTF-8 (DecodeTextFile),
// for a backend that carries text as UTF-8. Lookups follow IniDocument's rules (names compared
// without case after cutting blanks, only the first section of a name searched, one pair of
// surrounding quotes dropped); lengths count UTF-16 units, as the W functions do. A
// byte-order mark is never part of the text.

#include <cstddef>
#include <string>
#include <string_view>

namespace vx::platform {

// GetPrivateProfileStringW into a buffer of `bufferChars` UTF-16 units: at most
// bufferChars - 1 units come back, never part of a character (a surrogate pair that does not
// fit is left out whole). `defaultText` (its trailing spaces cut) when the entry is missing
// or has no "=".
std::string ReadProfileString(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view defaultText, std::size_t bufferChars);
// GetPrivateProfileIntW: `defaultValue` when the entry is missing or empty.
unsigned ReadProfileInt(std::string_view text, std::string_view section, std::string_view key,
                        int defaultValue);
// The text after WritePrivateProfileStringW's edit, every other line kept byte for byte. The
// first entry of that name in the first section of that name becomes
// "<its name as the file spells it>=<value>" (the value without leading blanks; the text is
// returned unchanged when the entry already holds that value); else "key=value" goes after
// the section's last non-blank line; else "[section]" and the entry are appended to the file.
// New lines end as the file's first line does (CRLF for a file without a line end).
std::string WriteProfileString(std::string_view text, std::string_view section,
                               std::string_view key, std::string_view value);

}  // namespace vx::platform
