#pragma once
// The header of a Windows bitmap file (.bmp), read from its bytes without Windows: the file
// header ("BM") and the information header that follows it (BITMAPCOREHEADER, 12 bytes, or
// BITMAPINFOHEADER, 40 bytes, and its later, longer forms). Nothing is trusted: short, cut or
// garbage bytes give no header, never a read past the end.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

struct BmpHeader {
    std::int32_t width = 0;
    std::int32_t height = 0;  // always positive; `topDown` says how the rows are stored
    bool topDown = false;     // a negative height in the file
    std::uint16_t bitCount = 0;
};

// Nothing when `bytes` does not start with a bitmap file header and a known information header
// whose size, width, height, planes and colour depth make sense.
std::optional<BmpHeader> ReadBmpHeader(std::string_view bytes);

// "120 x 120, 32-bit colour".
std::string DescribeBmp(const BmpHeader& header);

}  // namespace vx
