#include <algorithm>

#include "common/RunReport.h"
#include "engine/StartUp.h"
#include "registry/RegistryKey.h"
#include "unit/engine/EngineFixture.h"
#include "unit/plan/SystemImage.h"

namespace vx::test {
namespace {

using engine::ExitCode;

class PlanAndVerify : public ReportedRunTest {
protected:
    long differences() const {
        return std::count_if(report_.begin(), report_.end(),
                             [](const std::string& line) { return line.rfind("differs: ", 0) == 0; });
    }
    std::vector<std::string> image() {
        auto lines = RegistryImage(platform::Current());
        const auto files = FileImage(platform::Current(), sim().filePaths());
        lines.insert(lines.end(), files.begin(), files.end());
        return lines;
    }
};

// A machine with another vendor's branding: the plan names each change and makes none; after
// the real apply, verify passes, then finds a changed value, a missing one and a stray copy in
// the 32-bit view, and itself changes nothing either.
TEST_F(PlanAndVerify, APlanChangesNothingAndAVerifyFindsEachFault) {
    settings("[OSBranding]\r\nMfgr=Northwind Systems\r\nModel=NW-500\r\nPhone=555-0100\r\n"
             "[DesktopShortcut]\r\nShortcutName=Support\r\nShortcutURL=https://example.com\r\n");
    kitFile("oemlogo.bmp", "BM-kit");
    sim().setRegistryValue(kOemKey, "Manufacturer", {1, std::string("Contoso\0", 8)});
    sim().addFile("C:\\Windows\\System32\\oemlogo.bmp", "BM-contoso");
    const auto before = image();

    EXPECT_EQ(ExitCode::Success, run("/plan /rem /autobrand /desklnk"));
    EXPECT_EQ(std::vector<std::string>{}, ImageChanges(before, image()));
    EXPECT_TRUE(reported("would delete Manufacturer (was \"Contoso\", 64-bit view)"));
    EXPECT_TRUE(reported("would set Manufacturer = \"Northwind Systems\" (was absent, 64-bit view)"))
        << "what the plan's own removal left";
    EXPECT_TRUE(reported("would copy oemlogo.bmp -> C:\\Windows\\System32\\oemlogo.bmp (6 bytes)"));
    EXPECT_EQ(ExitCode::Success, run("/autobrand /plan"));
    EXPECT_TRUE(reported("would set Manufacturer = \"Northwind Systems\" (was \"Contoso\", 64-bit view)"));

    EXPECT_EQ(ExitCode::VerifyDifferences, run("/verify"));
    EXPECT_EQ(ExitCode::Success, run("/autobrand"));
    EXPECT_EQ(ExitCode::Success, run("/verify"));
    EXPECT_EQ(0, differences());
    EXPECT_TRUE(reported("ok: Manufacturer = \"Northwind Systems\" (64-bit view)"));

    sim().setRegistryValue(kOemKey, "Manufacturer", {1, std::string("Contoso\0", 8)});
    {
        registry::RegistryKey key;
        ASSERT_EQ(0u, key.open(platform::kLocalMachine,
                               "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation",
                               platform::kKeySetValue | platform::kKeyWow64_64Key));
        ASSERT_EQ(0u, platform::Current().registry().deleteValue(key.handle(), "SupportPhone"));
    }
    sim().setRegistryValue(
        "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\OEMInformation",
        "Model", {1, std::string("Old\0", 4)});
    const auto faulty = image();
    EXPECT_EQ(ExitCode::VerifyDifferences, run("/verify /rem"));
    EXPECT_EQ(std::vector<std::string>{}, ImageChanges(faulty, image()));
    EXPECT_EQ(3, differences());
    EXPECT_TRUE(reported("skipped: /rem is not run by /verify"));
    EXPECT_TRUE(reported(
        "differs: Manufacturer is \"Contoso\", the kit gives \"Northwind Systems\" (64-bit view)"));
    EXPECT_TRUE(reported("differs: SupportPhone is absent, the kit gives \"555-0100\" (64-bit view)"));
    EXPECT_TRUE(reported(
        "differs: the 32-bit view (Wow6432Node) holds Model = \"Old\", the kit gives \"NW-500\""));
    EXPECT_EQ(ExitCode::VerifyDifferences, run("/verify /desklnk")) << "no shortcut was dropped";
    EXPECT_TRUE(reported("differs: the shortcut C:\\Users\\Public\\Desktop\\Support.url is missing"));
}

}  // namespace
}  // namespace vx::test

namespace vx::test {
namespace {

// On XP the support text and the OEM link are what verify compares.
TEST_F(PlanAndVerify, OnXpTheSupportTextAndTheOemLinkAreChecked) {
    sim().setVersion(platform::sim::WindowsXP());
    settings("[OSBranding]\r\nMfgr=Northwind\r\nButtonName=Northwind Support\r\n"
             "ButtonAction=https://example.com\r\n");
    kitFile("oeminfo.ini", "[General]\r\nManufacturer=Northwind\r\n");
    EXPECT_EQ(ExitCode::Success, run("/autobrand"));
    EXPECT_EQ(ExitCode::Success, run("/verify"));
    EXPECT_TRUE(reported("ok: OEM link\\(default) = \"Northwind Support\" (64-bit view)"));
    EXPECT_TRUE(reported(
        "ok: C:\\Windows\\System32\\oeminfo.ini is the kit's oeminfo.ini (35 bytes)"));

    sim().addFile("C:\\Windows\\System32\\oeminfo.ini", "[General]\r\nManufacturer=Other\r\n");
    sim().setRegistryValue(kLinkKey + "\\Instance\\InitPropertyBag", "Param1",
                           {1, std::string("https://other.example\0", 22)});
    EXPECT_EQ(ExitCode::VerifyDifferences, run("/verify"));
    EXPECT_EQ(2, differences());
    EXPECT_TRUE(reported("differs: C:\\Windows\\System32\\oeminfo.ini is not the kit's oeminfo.ini"));
    EXPECT_TRUE(reported("differs: OEM link\\Instance\\InitPropertyBag\\Param1 is "
                         "\"https://other.example\", the kit gives \"https://example.com\" (64-bit view)"));
}

}  // namespace
}  // namespace vx::test
