#include "common/AppSettings.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using AppSettings = SimTest;

TEST_F(AppSettings, AppPathEndsInExactlyOneBackslash) {
    sim().setModuleFileName("C:\\Tools\\Vexilla\\vexilla.exe");
    EXPECT_EQ("C:\\Tools\\Vexilla\\", AppPath());
    sim().setModuleFileName("C:\\vexilla.exe");
    EXPECT_EQ("C:\\", AppPath());
    EXPECT_EQ("vexilla", AppExeName());
}

TEST_F(AppSettings, SettingsFileBesideTheProgramOrInItsConfigFolder) {
    sim().setModuleFileName("C:\\Kit\\Vexilla\\Vexilla.exe");
    InitAppSettings(true, true);
    EXPECT_EQ("C:\\Kit\\Vexilla\\Vexilla.ini", State().settingsFilePath);
    EXPECT_FALSE(sim().directoryExists("C:\\Kit\\Vexilla\\Config"));

    InitAppSettings(true, false);
    EXPECT_EQ("C:\\Kit\\Vexilla\\Config\\Vexilla.ini", State().settingsFilePath);
    EXPECT_TRUE(sim().directoryExists("C:\\Kit\\Vexilla\\Config"));

    State().settingsFilePath = "kept";
    InitAppSettings(false, true);
    EXPECT_EQ("kept", State().settingsFilePath);
}

// The banner names the running Windows without its edition: asking for the edition would cost
// a management-service query and could add lines of its own.
TEST_F(AppSettings, StartBannerIsThreeLinesAndNamesTheWindows) {
    sim().setDateTimeText("12/8/2026 9:30:00 AM");
    sim().setVersion(platform::sim::Windows10());
    sim().setSku(48);
    InitAppSettings(true, true);
    ASSERT_EQ(3u, lines().size());
    EXPECT_EQ("\t", lines()[0]);
    EXPECT_EQ(
        "\t12/8/2026 9:30:00 AM - Starting " + VersionCaption("", "") + "on Windows 10 (64-bit)",
        lines()[1]);
    EXPECT_EQ("\t----------------------------------------", lines()[2]);
}

TEST_F(AppSettings, AFailingConfigFolderIsReportedAndTheBannerStillFollows) {
    sim().setModuleFileName("C:\\Kit\\vexilla.exe");
    // A Config folder we may not look into: it cannot be seen, and it cannot be made again.
    sim().addDirectory("C:\\Kit\\Config");
    sim().makeUnreachable("C:\\Kit\\Config");
    InitAppSettings(true, false);
    ASSERT_EQ(5u, lines().size());
    EXPECT_EQ(0u, lines()[0].rfind("\tCommonModule\\InitAppSettings VB ERROR: ", 0)) << lines()[0];
    EXPECT_EQ("\t\t- bSetAppINI=True", lines()[1]);
    EXPECT_EQ("\t", lines()[2]);
}

TEST(VersionCaption, StagesRevisionsAndExtras) {
    EXPECT_EQ("Vexilla   v1.0 ", VersionCaption("", "", {1, 0, 0}));
    EXPECT_EQ("Vexilla   v1.0.5 ", VersionCaption("", "", {1, 0, 5}));
    EXPECT_EQ("Vexilla   v2.3.1 ALPHA", VersionCaption("A", "", {2, 3, 1}));
    EXPECT_EQ("Vexilla   v2.3 BETA  - nightly", VersionCaption("B", "nightly", {2, 3, 0}));
    EXPECT_EQ("Vexilla   v2.3 RC1", VersionCaption("RC1", "", {2, 3, 0}));
    EXPECT_EQ("Vexilla   v2.3   - x", VersionCaption("", "x", {2, 3, 0}));
    EXPECT_EQ(VersionCaption("", "", BuildVersion()), VersionCaption("", ""));
}

}  // namespace
}  // namespace vx::test
