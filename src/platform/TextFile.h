#pragma once
// A text file's bytes and the UTF-8 text they hold. A file is read as UTF-16LE when it starts
// with FF FE, as UTF-8 when it starts with EF BB BF or when its bytes are well-formed UTF-8
// holding at least one byte above 0x7F, and in the ANSI code page otherwise (a pure ASCII
// file and an empty one included). Ill-formed input never fails a conversion: what cannot be
// read becomes U+FFFD.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vx::platform {

enum class TextFileEncoding { Ansi, Utf8, Utf8WithMark, Utf16WithMark };

// The length of the well-formed UTF-8 sequence at the start of `text` (not empty) and its
// code point; 0 when it is ill-formed (overlong forms, surrogates, anything above U+10FFFF and
// a sequence cut short included).
std::size_t DecodeUtf8Character(std::string_view text, std::uint32_t& codePoint);
// Appends the code point (at most U+10FFFF, no surrogate) as UTF-8.
void AppendUtf8(std::string& text, std::uint32_t codePoint);

bool IsWellFormedUtf8(std::string_view text);
TextFileEncoding DetectTextFileEncoding(std::string_view bytes);

// UTF-8 as UTF-16LE bytes, a code point above U+FFFF as a surrogate pair; each byte of an
// ill-formed sequence becomes U+FFFD.
std::string Utf16FromUtf8(std::string_view utf8);
// UTF-16LE bytes as UTF-8; a lone surrogate becomes U+FFFD, an odd trailing byte is dropped.
std::string Utf8FromUtf16(std::string_view utf16le);

// The ANSI code page of the system, both ways. An empty function leaves the bytes as they are.
struct AnsiConversions {
    std::function<std::string(std::string_view)> toUtf8;
    std::function<std::string(std::string_view)> fromUtf8;
};

// The file's text as UTF-8, without its byte-order mark (a missing mark is no fault).
std::string DecodeTextFile(std::string_view bytes, TextFileEncoding encoding,
                           const AnsiConversions& ansi);
// The bytes to write for `utf8` in that encoding, its byte-order mark included.
std::string EncodeTextFile(std::string_view utf8, TextFileEncoding encoding,
                           const AnsiConversions& ansi);

}  // namespace vx::platform
