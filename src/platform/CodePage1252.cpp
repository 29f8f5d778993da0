#include "platform/CodePage1252.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/TextFile.h"

namespace vx::platform {

namespace {

constexpr char kNoByte = '?';

// The units of the bytes 0x80-0x9F.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t UnitOf(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

char ByteOf(std::uint32_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit) return static_cast<char>(0x80 + i);
    }
    return kNoByte;
}

}  // namespace

std::string WidenAnsi(std::string_view bytes) {
    std::string utf16;
    utf16.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const std::uint32_t unit = UnitOf(c);
        utf16 += static_cast<char>(unit & 0xFF);
        utf16 += static_cast<char>(unit >> 8);
    }
    return utf16;
}

std::string NarrowUtf16(std::string_view utf16) {
    std::string bytes;
    bytes.reserve(utf16.size() / 2);
    for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
        const std::uint32_t low = static_cast<unsigned char>(utf16[i]);
        const std::uint32_t high = static_cast<unsigned char>(utf16[i + 1]);
        bytes += ByteOf(low | (high << 8));
    }
    return bytes;
}

std::string AnsiFromUtf8(std::string_view text) {
    std::string bytes;
    while (!text.empty()) {
        std::uint32_t codePoint = 0;
        const std::size_t length = DecodeUtf8Character(text, codePoint);
        bytes += length == 0 ? kNoByte : ByteOf(codePoint);
        if (length != 0 && codePoint > 0xFFFF) bytes += kNoByte;  // a surrogate pair
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return bytes;
}

std::string Utf8FromAnsi(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) AppendUtf8(text, UnitOf(c));
    return text;
}

}  // namespace vx::platform
