#include "engine/BrandingActions.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

using ApplyBranding = EngineTest;

const std::string kFullSettings =
    "[OSBranding]\r\nMfgr=Northwind Systems\r\nModel=NW-500\r\nPhone=555-0100\r\n"
    "Hours=Mon-Fri 8-18\r\nURL=https://support.example.com\r\n";

TEST_F(ApplyBranding, WithoutASettingsFileNothingChangesNotEvenTheLogo) {
    sim().addFile("C:\\Windows\\System32\\oemlogo.bmp", "old");
    kitFile("oemlogo.bmp", "new");
    engine::ApplyBranding();
    EXPECT_EQ("old", sim().fileBytes("C:\\Windows\\System32\\oemlogo.bmp"));
    EXPECT_FALSE(sim().registryValue(kOemKey, "Manufacturer").has_value());
    EXPECT_FALSE(sim().registryValue(kOemKey, "HelpCustomized").has_value());
    EXPECT_TRUE(lines().empty());
}

TEST_F(ApplyBranding, VistaAndLaterGetTheSevenValuesInThe64BitView) {
    settings(kFullSettings);
    kitFile("oemlogo.bmp", "BM-new");
    engine::ApplyBranding();
    EXPECT_EQ("BM-new", sim().fileBytes("C:\\Windows\\System32\\oemlogo.bmp"))
        << "the real System32";
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\SysWOW64\\oemlogo.bmp").has_value());
    EXPECT_EQ(4u, type(kOemKey, "HelpCustomized"));
    EXPECT_EQ(std::string(4, '\0'), sim().registryValue(kOemKey, "HelpCustomized")->bytes);
    EXPECT_EQ("C:\\Windows\\System32\\oemlogo.bmp", text(kOemKey, "Logo"));
    EXPECT_EQ("Northwind Systems", text(kOemKey, "Manufacturer"));
    EXPECT_EQ("Mon-Fri 8-18", text(kOemKey, "SupportHours"));
    EXPECT_EQ("555-0100", text(kOemKey, "SupportPhone"));
    EXPECT_EQ("https://support.example.com", text(kOemKey, "SupportURL"));
    EXPECT_EQ("NW-500", text(kOemKey, "Model"));
    EXPECT_EQ(1u, type(kOemKey, "Model"));
    EXPECT_FALSE(sim().registryKeyExists(
        "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\OEMInformation"));
    EXPECT_FALSE(sim().registryKeyExists(kLinkKey)) << "no OEM link after XP";
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\System32\\oeminfo.ini").has_value());
}

TEST_F(ApplyBranding, AnOldLogoIsDeletedThenReplacedAfterAPause) {
    settings(kFullSettings);
    sim().addFile("C:\\Windows\\System32\\oemlogo.bmp", "old");
    kitFile("oemlogo.bmp", "new");
    const auto before = sim().virtualMilliseconds();
    engine::ApplyBranding();
    EXPECT_GE(sim().virtualMilliseconds() - before, 2000u);
    EXPECT_EQ("new", sim().fileBytes("C:\\Windows\\System32\\oemlogo.bmp"));
}

TEST_F(ApplyBranding, AMissingLogoStillNamesTheLogoFile) {
    settings(kFullSettings);
    engine::ApplyBranding();
    EXPECT_EQ("C:\\Windows\\System32\\oemlogo.bmp", text(kOemKey, "Logo"));
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\System32\\oemlogo.bmp").has_value());
}

TEST_F(ApplyBranding, AnEmptyModelRemovesAnOlderOne) {
    sim().setRegistryValue(kOemKey, "Model", {1, std::string("Old\0", 4)});
    settings("[OSBranding]\r\nMfgr=Northwind\r\nModel=\r\n");
    engine::ApplyBranding();
    EXPECT_FALSE(sim().registryValue(kOemKey, "Model").has_value());
    EXPECT_EQ("Northwind", text(kOemKey, "Manufacturer"));
}

TEST_F(ApplyBranding, XpGetsTheSupportTextAndTheLinkButNoValues) {
    sim().setVersion(platform::sim::WindowsXP());
    settings(kFullSettings +
             "ButtonName=Northwind Support\r\nButtonAction=https://support.example.com\r\n");
    kitFile("oeminfo.ini", "[General]\r\nManufacturer=Northwind\r\n");
    kitFile("oemlogo.bmp", "logo");
    engine::ApplyBranding();
    EXPECT_EQ("[General]\r\nManufacturer=Northwind\r\n",
              sim().fileBytes("C:\\Windows\\System32\\oeminfo.ini"));
    EXPECT_EQ("logo", sim().fileBytes("C:\\Windows\\System32\\oemlogo.bmp"));
    for (const char* value : {"HelpCustomized", "Logo", "Manufacturer", "SupportHours",
                              "SupportPhone", "SupportURL", "Model"}) {
        EXPECT_FALSE(sim().registryValue(kOemKey, value).has_value()) << value;
    }
    EXPECT_EQ("Northwind Support", text(kLinkKey, ""));
}

TEST_F(ApplyBranding, XpWithoutSupportTextStillRegistersTheLink) {
    sim().setVersion(platform::sim::WindowsXP());
    settings("[OSBranding]\r\nButtonName=Help\r\nButtonAction=C:\\Tools\\help.exe\r\n");
    engine::ApplyBranding();
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\System32\\oeminfo.ini").has_value());
    EXPECT_EQ("Help", text(kLinkKey, "LocalizedString"));
}

}  // namespace
}  // namespace vx::test
