#include "common/BmpHeader.h"

#include <limits>

namespace vx {
namespace {

constexpr std::size_t kFileHeaderSize = 14;        // BITMAPFILEHEADER
constexpr std::uint32_t kCoreHeaderSize = 12;      // BITMAPCOREHEADER
constexpr std::uint32_t kInfoHeaderSize = 40;      // BITMAPINFOHEADER; V4 and V5 are longer
constexpr std::uint32_t kLargestHeaderSize = 124;  // BITMAPV5HEADER
// Width, height, planes and bit count: what this reader needs of a BITMAPINFOHEADER.
constexpr std::size_t kInfoFieldsNeeded = 12;

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

bool KnownBitCount(std::uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

std::optional<BmpHeader> ReadBmpHeader(std::string_view bytes) {
    if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    const std::uint32_t infoSize = Little(bytes, kFileHeaderSize, 4);
    const std::size_t fields = kFileHeaderSize + 4;
    BmpHeader header;
    std::uint16_t planes = 0;
    if (infoSize == kCoreHeaderSize) {
        if (bytes.size() < kFileHeaderSize + kCoreHeaderSize) {
            return std::nullopt;
        }
        header.width = static_cast<std::int32_t>(Little(bytes, fields, 2));
        header.height = static_cast<std::int32_t>(Little(bytes, fields + 2, 2));
        planes = static_cast<std::uint16_t>(Little(bytes, fields + 4, 2));
        header.bitCount = static_cast<std::uint16_t>(Little(bytes, fields + 6, 2));
    } else if (infoSize >= kInfoHeaderSize && infoSize <= kLargestHeaderSize) {
        if (bytes.size() < fields + kInfoFieldsNeeded) {
            return std::nullopt;
        }
        header.width = static_cast<std::int32_t>(Little(bytes, fields, 4));
        const auto height = static_cast<std::int32_t>(Little(bytes, fields + 4, 4));
        if (height == std::numeric_limits<std::int32_t>::min()) {
            return std::nullopt;
        }
        header.topDown = height < 0;
        header.height = height < 0 ? -height : height;
        planes = static_cast<std::uint16_t>(Little(bytes, fields + 8, 2));
        header.bitCount = static_cast<std::uint16_t>(Little(bytes, fields + 10, 2));
    } else {
        return std::nullopt;
    }
    if (header.width <= 0 || header.height <= 0 || planes != 1 || !KnownBitCount(header.bitCount)) {
        return std::nullopt;
    }
    return header;
}

std::string DescribeBmp(const BmpHeader& header) {
    return std::to_string(header.width) + " x " + std::to_string(header.height) + ", " +
           std::to_string(header.bitCount) + "-bit colour";
}

}  // namespace vx
