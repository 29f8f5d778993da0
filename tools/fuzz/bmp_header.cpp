// The bitmap header reader, fed whatever a kit's oemlogo.bmp holds.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "FuzzCheck.h"
#include "common/BmpHeader.h"

using vx::fuzz::Check;

namespace {

std::uint32_t Little(const std::uint8_t* data, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) {
        value = (value << 8) | data[at + i];
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto header =
        vx::ReadBmpHeader(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!header.has_value()) {
        return 0;
    }
    Check(header->width > 0 && header->height > 0, "width and height are positive");
    const bool bits = header->bitCount == 1 || header->bitCount == 4 || header->bitCount == 8 ||
                      header->bitCount == 16 || header->bitCount == 24 || header->bitCount == 32;
    Check(bits, "a known colour depth");
    // What the bytes say: "BM", then a core header (16-bit sizes) or an info header of 40 to
    // 124 bytes (32-bit signed sizes, a negative height for rows stored top down).
    Check(size >= 18 && data[0] == 'B' && data[1] == 'M', "a bitmap file header");
    const std::uint32_t infoSize = Little(data, 14, 4);
    if (infoSize == 12) {
        Check(size >= 26, "a whole core header");
        Check(static_cast<std::uint32_t>(header->width) == Little(data, 18, 2) &&
                  static_cast<std::uint32_t>(header->height) == Little(data, 20, 2) &&
                  !header->topDown,
              "the core header's sizes");
    } else {
        Check(infoSize >= 40 && infoSize <= 124 && size >= 30, "a known information header");
        const auto height = static_cast<std::int32_t>(Little(data, 22, 4));
        Check(static_cast<std::uint32_t>(header->width) == Little(data, 18, 4) &&
                  header->topDown == (height < 0) &&
                  static_cast<std::int64_t>(header->height) ==
                      (height < 0 ? -static_cast<std::int64_t>(height) : height),
              "the information header's sizes");
    }
    Check(!vx::DescribeBmp(*header).empty(), "a description");
    return 0;
}
