#include "common/RunReport.h"
#include "engine/BrandingActions.h"
#include "unit/common/BmpBytes.h"
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

namespace vx::test {
namespace {

// The report of a first apply, a re-apply of the same kit and a removal: one line per step,
// old and new side by side; the same logo is neither deleted nor waited for nor copied again.
TEST_F(ApplyBranding, EachStepIsReportedAndTheSameLogoIsLeftAlone) {
    std::vector<std::string> report;
    ResetRunReport();
    AddReportWriter([&](const std::string& line) { report.push_back(line); });
    settings("[OSBranding]\r\nMfgr=Northwind Systems\r\nModel=\r\nPhone=555-0100\r\n");
    std::string logo = BitmapBytes(120, 120, 32);
    logo.resize(1234, 'B');
    kitFile("oemlogo.bmp", logo);
    sim().setRegistryValue(kOemKey, "Manufacturer", {1, std::string("Contoso\0", 8)});
    sim().setRegistryValue(kOemKey, "Model", {1, std::string("CR-1\0", 5)});
    sim().addFile("C:\\Windows\\System32\\oemlogo.bmp", "old");

    engine::ApplyBranding();
    const std::vector<std::string> first(report.begin() + 1, report.end());  // after the backup
    EXPECT_EQ(0u, report[0].find("took the factory backup in "));
    EXPECT_EQ((std::vector<std::string>{
                  "oemlogo.bmp: 120 x 120, 32-bit colour",
                  "copied oemlogo.bmp -> C:\\Windows\\System32\\oemlogo.bmp (1,234 bytes, "
                  "replacing a different file)",
                  "set HelpCustomized = 0 (was absent, 64-bit view)",
                  "set Logo = \"C:\\Windows\\System32\\oemlogo.bmp\" (was absent, 64-bit view)",
                  "set Manufacturer = \"Northwind Systems\" (was \"Contoso\", 64-bit view)",
                  "set SupportHours = \"\" (was absent, 64-bit view)",
                  "set SupportPhone = \"555-0100\" (was absent, 64-bit view)",
                  "set SupportURL = \"\" (was absent, 64-bit view)",
                  "deleted Model (was \"CR-1\", 64-bit view)",
              }),
              first);

    report.clear();
    const auto before = sim().virtualMilliseconds();
    engine::ApplyBranding();
    EXPECT_EQ(before, sim().virtualMilliseconds()) << "no pause for a logo that is the kit's";
    ASSERT_EQ(9u, report.size()) << "the logo's check, the logo and the seven values";
    EXPECT_EQ("oemlogo.bmp: 120 x 120, 32-bit colour", report[0]) << "checked on every run";
    for (std::size_t i = 1; i < report.size(); ++i) {
        EXPECT_EQ(0u, report[i].find("unchanged: ")) << report[i];
    }
    EXPECT_EQ(
        "unchanged: C:\\Windows\\System32\\oemlogo.bmp is the kit's oemlogo.bmp (1,234 bytes)",
        report[1]);
    EXPECT_EQ("unchanged: Model is absent (64-bit view)", report.back());

    // A different logo is replaced the old way: deleted, a pause, the copy.
    sim().addFile("C:\\Windows\\System32\\oemlogo.bmp", "changed");
    engine::ApplyBranding();
    EXPECT_GE(sim().virtualMilliseconds() - before, 2000u);
    EXPECT_EQ(logo, sim().fileBytes("C:\\Windows\\System32\\oemlogo.bmp"));
    EXPECT_EQ(0, Tally().failures);

    report.clear();
    engine::RemoveBranding();
    EXPECT_EQ("deleted C:\\Windows\\System32\\oemlogo.bmp", report[0]);
    EXPECT_EQ("unchanged: the OEM link class HKCR\\CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0} "
              "is absent",
              report[1]);
    EXPECT_EQ("deleted Manufacturer (was \"Northwind Systems\", 64-bit view)", report[3]);
    EXPECT_EQ("unchanged: Model is absent (64-bit view)", report[7]);
    RemoveReportWriters();
}

}  // namespace
}  // namespace vx::test
