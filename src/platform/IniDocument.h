#pragma once
// The private-profile file format as the system's profile functions read and rewrite it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::platform {

struct IniEntry {
    std::string name;
    std::optional<std::string> value;  // nothing for a line without "=" (a comment, say)
};

struct IniSection {
    std::string name;  // "" for the lines before the first header
    std::vector<IniEntry> entries;
};

// A profile file held as Wine's profile code holds it: every non-blank line kept in
// order, names and values cut of their surrounding blanks. Saving writes the whole file
// again from this form, so blank lines vanish and "a = b" comes back as "a=b"; lines end
// in CRLF. (Windows itself edits just the one line; tests must not rely on either.)
class IniDocument {
public:
    IniDocument();
    // Lines end at CR, LF or both. A line whose first non-blank character is "[" and that
    // has a "]" later is a section header; any other line is an entry, split at its
    // first "=". ";" has no special meaning.
    static IniDocument parse(std::string_view bytes);
    std::string serialise() const;

    // The first entry named `key` in the first section named `section` (both compared
    // without case and after cutting blanks). Later sections of the same name are never
    // searched.
    const IniEntry* find(std::string_view section, std::string_view key) const;
    // WritePrivateProfileString's edit: the value loses its leading blanks; an entry is
    // changed in place, or appended to the end of its section, or a new section holding it
    // is appended to the file. New names lose their leading blanks only. False when the
    // entry already held exactly this value (the file is then left untouched).
    bool set(std::string_view section, std::string_view key, std::string_view value);

private:
    std::vector<IniSection> sections_;
};

// What GetPrivateProfileString puts into a buffer of `bufferChars` characters. With
// `stripQuotes`, one pair of matching surrounding quotes is dropped the way Wine does it:
// the opening quote is skipped, the text is cut to the buffer, and the closing quote is
// dropped only if the buffer held the whole remainder, so a buffer exactly one character
// short loses the value's last real character too.
std::string CopyProfileEntry(std::string_view value, std::size_t bufferChars, bool stripQuotes);

// The default text as the profile functions use it: trailing spaces (not TABs) removed,
// though never its first character.
std::string TrimDefaultText(std::string_view text);

// GetPrivateProfileInt's conversion (RtlUnicodeStringToInteger with base 0): leading
// blanks, one "+" or "-", then "0x" hex, "0o" octal, "0b" binary or decimal digits up to
// the first other character, wrapping modulo 2^32; 0 when there are no digits.
std::uint32_t ParseProfileInteger(std::string_view text);

}  // namespace vx::platform
