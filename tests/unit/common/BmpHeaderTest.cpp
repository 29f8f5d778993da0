#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/BmpHeader.h"
#include "unit/common/BmpBytes.h"

namespace vx {
namespace {

using test::BitmapBytes;
using test::PutLittle;

TEST(BmpHeader, EachHeaderFormReadsItsSizeAndDepth) {
    struct Case {
        std::uint32_t infoSize;
        std::int32_t width, height;
        std::uint16_t bits;
        bool topDown;
        const char* shown;
    };
    for (const Case& c : {Case{40, 120, 120, 32, false, "120 x 120, 32-bit colour"},
                          Case{40, 200, -150, 24, true, "200 x 150, 24-bit colour"},
                          Case{12, 64, 48, 8, false, "64 x 48, 8-bit colour"},
                          Case{108, 120, 96, 16, false, "120 x 96, 16-bit colour"},
                          Case{124, 1, 1, 1, false, "1 x 1, 1-bit colour"}}) {
        SCOPED_TRACE(c.shown);
        const auto header = ReadBmpHeader(BitmapBytes(c.width, c.height, c.bits, c.infoSize));
        ASSERT_TRUE(header.has_value());
        EXPECT_EQ(c.topDown, header->topDown);
        EXPECT_EQ(c.bits, header->bitCount);
        EXPECT_EQ(c.shown, DescribeBmp(*header));
    }
}

// Every cut of a good file, and files that only look like one, give no header.
TEST(BmpHeader, ShortOrGarbageBytesGiveNoHeader) {
    const std::string good = BitmapBytes(120, 120, 32);
    for (std::size_t size = 0; size < 30; ++size) {
        EXPECT_FALSE(ReadBmpHeader(good.substr(0, size)).has_value()) << size << " bytes";
    }
    EXPECT_TRUE(ReadBmpHeader(good.substr(0, 30)).has_value()) << "all the fields it reads";

    std::string bad = good;
    bad[1] = 'A';
    EXPECT_FALSE(ReadBmpHeader(bad).has_value()) << "BA";
    EXPECT_FALSE(ReadBmpHeader("MZ\x90\x00 a program, not a picture").has_value());
    EXPECT_FALSE(ReadBmpHeader(BitmapBytes(64, 48, 8, 12).substr(0, 25)).has_value()) << "cut core";
    for (const std::uint32_t infoSize : {0u, 11u, 39u, 125u, 0xFFFFFFFFu}) {
        std::string odd = good;
        PutLittle(odd, 14, infoSize, 4);
        EXPECT_FALSE(ReadBmpHeader(odd).has_value()) << "information header of " << infoSize;
    }
    EXPECT_FALSE(ReadBmpHeader(BitmapBytes(0, 120, 32)).has_value()) << "no width";
    EXPECT_FALSE(ReadBmpHeader(BitmapBytes(-5, 120, 32)).has_value()) << "negative width";
    EXPECT_FALSE(ReadBmpHeader(BitmapBytes(120, 0, 32)).has_value()) << "no height";
    EXPECT_FALSE(ReadBmpHeader(BitmapBytes(120, INT32_MIN, 32)).has_value()) << "unnegatable";
    EXPECT_FALSE(ReadBmpHeader(BitmapBytes(120, 120, 7)).has_value()) << "7-bit colour";
    std::string planes = good;
    PutLittle(planes, 26, 3, 2);
    EXPECT_FALSE(ReadBmpHeader(planes).has_value()) << "three planes";
}

}  // namespace
}  // namespace vx
