#pragma once
// Western code page 1252 between ANSI bytes, UTF-16LE and UTF-8, as Wine 8 converts it: the
// simulated Windows keeps registry strings as ANSI bytes and answers the W calls through it,
// and the plan layer converts a value written through one call family and read through the
// other the same way. A byte is its UTF-16 unit
// except 0x80-0x9F (0x80 is U+20AC, 0x92 U+2019, ...; 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand
// for themselves); a unit the code page lacks becomes '?'. (Wine falls back to a best fit
// where it knows one, U+0100 becoming 'A'; this model does not.)

#include <string>
#include <string_view>

namespace vx::platform {

// The bytes as UTF-16LE, one unit per byte.
std::string WidenAnsi(std::string_view bytes);
// UTF-16LE as bytes, one per whole unit.
std::string NarrowUtf16(std::string_view utf16);
// UTF-8 as bytes, one per UTF-16 unit; each byte of an ill-formed sequence becomes '?'.
std::string AnsiFromUtf8(std::string_view text);
std::string Utf8FromAnsi(std::string_view bytes);

}  // namespace vx::platform
