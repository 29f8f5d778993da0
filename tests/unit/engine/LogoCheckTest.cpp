#include <algorithm>

#include "common/RunReport.h"
#include "engine/LogoCheck.h"
#include "engine/StartUp.h"
#include "platform/sim/SimWindows.h"
#include "unit/common/BmpBytes.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

using engine::ExitCode;

const std::string kSystemLogo = "C:\\Windows\\System32\\oemlogo.bmp";
const std::string kTooLarge =
    "warning: oemlogo.bmp is larger than 120 x 120: Windows scales it down";
const std::string kNot32Bit =
    "warning: oemlogo.bmp is not 32-bit colour: Windows Vista and later expect a 32-bit logo";

class LogoCheck : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        settings("[OSBranding]\r\nMfgr=Northwind\r\n");
    }
    ExitCode run(const std::string& commandLine) {
        report_.clear();
        return engine::RunSwitches(commandLine, engine::DefaultActions(),
                                   [this](const std::string& line) { report_.push_back(line); });
    }
    // The report's lines about the kit's logo before the copy step, in order.
    std::vector<std::string> logoLines() const {
        std::vector<std::string> found;
        std::copy_if(report_.begin(), report_.end(), std::back_inserter(found),
                     [](const std::string& line) {
                         return line.rfind("oemlogo.bmp: ", 0) == 0 ||
                                line.rfind("warning: oemlogo.bmp", 0) == 0;
                     });
        return found;
    }
    std::vector<std::string> report_;
};

// A large 24-bit logo on Windows 7: /plan, the apply and /verify give the same two warnings,
// the copy still happens and the run still succeeds.
TEST_F(LogoCheck, PlanApplyAndVerifyWarnOfALargeLogoAndStillCopyIt) {
    const std::string logo = BitmapBytes(200, -150, 24);
    kitFile("oemlogo.bmp", logo);
    const std::vector<std::string> expected = {"oemlogo.bmp: 200 x 150, 24-bit colour", kTooLarge,
                                               kNot32Bit};
    EXPECT_EQ(ExitCode::Success, run("/plan /autobrand"));
    EXPECT_EQ(expected, logoLines());
    EXPECT_FALSE(sim().fileBytes(kSystemLogo).has_value());
    EXPECT_EQ(ExitCode::Success, run("/autobrand"));
    EXPECT_EQ(expected, logoLines());
    EXPECT_EQ(logo, sim().fileBytes(kSystemLogo));
    EXPECT_EQ(ExitCode::Success, run("/verify"));
    EXPECT_EQ(expected, logoLines());
    EXPECT_NE(lines().end(), std::find(lines().begin(), lines().end(),
                                       "\tmodBranding\\ApplyBranding: " + kTooLarge));
}

TEST_F(LogoCheck, WhatEachLogoGets) {
    struct Case {
        const char* name;
        platform::OsVersionRecord release;
        std::string logo;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a good logo",
         platform::sim::Windows7(),
         BitmapBytes(120, 120, 32),
         {"oemlogo.bmp: 120 x 120, 32-bit colour"}},
        {"XP does not ask for 32-bit colour",
         platform::sim::WindowsXP(),
         BitmapBytes(96, 96, 24),
         {"oemlogo.bmp: 96 x 96, 24-bit colour"}},
        {"a taller one",
         platform::sim::WindowsXP(),
         BitmapBytes(120, 121, 32, 124),
         {"oemlogo.bmp: 120 x 121, 32-bit colour", kTooLarge}},
        {"a PNG named .bmp",
         platform::sim::Windows8(),
         std::string("\x89PNG\r\n\x1a\n....", 12),
         {"warning: oemlogo.bmp is not a BMP file: System Properties may not show it"}},
        {"an empty file",
         platform::sim::Windows8(),
         "",
         {"warning: oemlogo.bmp is not a BMP file: System Properties may not show it"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim().setVersion(c.release);
        kitFile("oemlogo.bmp", c.logo);
        EXPECT_EQ(ExitCode::Success, run("/autobrand"));
        EXPECT_EQ(c.expected, logoLines());
        EXPECT_EQ(c.logo, sim().fileBytes(kSystemLogo)) << "copied whatever the check found";
    }
    EXPECT_EQ(
        std::vector<std::string>{
            "oemlogo.bmp cannot be read: its size and colour depth are unknown"},
        engine::CheckLogo(std::nullopt, true).warnings);
}

TEST_F(LogoCheck, AKitWithoutALogoGetsNoLine) {
    EXPECT_EQ(ExitCode::Success, run("/autobrand"));
    EXPECT_EQ(std::vector<std::string>{}, logoLines());
}

}  // namespace
}  // namespace vx::test
