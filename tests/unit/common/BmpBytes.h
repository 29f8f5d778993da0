#pragma once
// The first bytes of a bitmap file as Paint saves it: the file header and an information header
// of `infoSize` bytes (12: BITMAPCOREHEADER; 40, 108, 124: BITMAPINFOHEADER and its later forms),
// without pixels, which no reader of the header needs.

#include <cstdint>
#include <string>

namespace vx::test {

inline void PutLittle(std::string& bytes, std::size_t at, std::uint32_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

inline std::string BitmapBytes(std::int32_t width, std::int32_t height, std::uint16_t bits,
                               std::uint32_t infoSize = 40) {
    std::string bytes(14 + infoSize, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLittle(bytes, 10, 14 + infoSize, 4);
    PutLittle(bytes, 14, infoSize, 4);
    const std::size_t field = infoSize == 12 ? 2 : 4;
    PutLittle(bytes, 18, static_cast<std::uint32_t>(width), field);
    PutLittle(bytes, 18 + field, static_cast<std::uint32_t>(height), field);
    PutLittle(bytes, 18 + 2 * field, 1, 2);
    PutLittle(bytes, 20 + 2 * field, bits, 2);
    return bytes;
}

}  // namespace vx::test
