#include <gtest/gtest.h>

#include "engine/SafeNames.h"

namespace vx::test {
namespace {

using engine::IsPlainFileName;

// Device names stay devices with any extension and any case; COM and LPT take the superscript
// digits 1 to 3 as well, whether the name came as ANSI bytes or as UTF-8.
TEST(SafeNames, DeviceNamesAreRefusedTheSuperscriptPortsIncluded) {
    for (const char* device :
         {"CON", "nul.txt", "Com1", "lpt9.log", "AUX .ico", "COM\xB9", "com\xB2.txt", "LPT\xB3",
          "COM\xC2\xB9", "lpt\xC2\xB2.bmp", "LPT\xC2\xB3"}) {
        EXPECT_FALSE(IsPlainFileName(device)) << device;
    }
    for (const char* plain : {"COM10", "COM", "LPT\xB9x", "COM\xB4", "COM\xC2\xB4", "console.ico",
                              "oemlogo.bmp", "\xC2\xB9" "COM"}) {
        EXPECT_TRUE(IsPlainFileName(plain)) << plain;
    }
}

}  // namespace
}  // namespace vx::test
