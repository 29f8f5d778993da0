#include <algorithm>

#include "common/RunReport.h"
#include "engine/DesktopShortcut.h"
#include "engine/cShellLinkA.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

using DesktopShortcut = EngineTest;

const std::string kDesktop = "C:\\Users\\Public\\Desktop\\";

TEST_F(DesktopShortcut, AnInternetShortcutWithItsIcon) {
    settings(
        "[DesktopShortcut]\r\nShortcutURL=https://support.example.com\r\nShortcutName=Northwind "
        "Support\r\n"
        "ShortcutIcon=support.ico\r\nUseIE=0\r\n");
    kitFile("support.ico", "ICO");
    engine::DropDesktopShortcut();
    EXPECT_EQ(
        "[InternetShortcut]\r\nURL=https://"
        "support.example.com\r\nIconFile=C:\\Windows\\support.ico\r\nIconIndex=0\r\n",
        sim().fileBytes(kDesktop + "Northwind Support.url"));
    EXPECT_EQ("ICO", sim().fileBytes("C:\\Windows\\support.ico"));
    EXPECT_EQ(1, sim().desktopRefreshes());
}

TEST_F(DesktopShortcut, DroppingTwiceRewritesTheFileFromItsFirstLine) {
    settings("[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=Help\r\n");
    engine::DropDesktopShortcut();
    engine::DropDesktopShortcut();
    EXPECT_EQ("[InternetShortcut]\r\nURL=http://a.example\r\n",
              sim().fileBytes(kDesktop + "Help.url"));
}

TEST_F(DesktopShortcut, OnlyUseIeOneMakesABrowserLink) {
    for (const char* value : {"yes", "true", "0", ""}) {
        settings(std::string("[DesktopShortcut]\r\nShortcutURL=http://"
                             "a.example\r\nShortcutName=Help\r\nUseIE=") +
                 value + "\r\n");
        engine::DropDesktopShortcut();
        EXPECT_TRUE(sim().fileBytes(kDesktop + "Help.url").has_value()) << value;
        EXPECT_FALSE(sim().fileBytes(kDesktop + "Help.lnk").has_value()) << value;
    }
}

TEST_F(DesktopShortcut, ABrowserLinkStartsThe32BitExplorerMaximised) {
    sim().addFile("C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe", "MZ");
    settings(
        "[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=Help\r\nUseIE=1\r\n");
    sim().addFile(kDesktop + "Help.url", "kept");
    sim().addFile(kDesktop + "Help.lnk", "replaced");
    engine::DropDesktopShortcut();
    engine::cShellLinkA link;
    ASSERT_TRUE(link.GetLinkInfo(kDesktop + "Help.lnk"));
    EXPECT_EQ("C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe", link.ExeName());
    EXPECT_EQ("http://a.example", link.ExeArgs());
    EXPECT_EQ("http://a.example", link.Description());
    EXPECT_EQ("", link.WorkingDir());
    EXPECT_EQ(link.ExeName(), link.IconFile()) << "without an icon the browser is the icon";
    EXPECT_EQ(0, link.IconIndex());
    EXPECT_EQ(3, link.ShowCommand());
    EXPECT_EQ("kept", sim().fileBytes(kDesktop + "Help.url"));
}

TEST_F(DesktopShortcut, ALinkThatVanishesFallsBackToAnInternetShortcut) {
    sim().addFile("C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe", "MZ");
    sim().setLinkSavesVanish(true);
    settings(
        "[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=Help\r\nUseIE=1\r\n");
    engine::DropDesktopShortcut();
    EXPECT_EQ("[InternetShortcut]\r\nURL=http://a.example\r\n",
              sim().fileBytes(kDesktop + "Help.url"));
}

// Without Internet Explorer (Windows 11 has none) a .lnk would start nothing: the default
// browser gets the address, and the report and the diagnostic channel say why.
TEST_F(DesktopShortcut, WithoutInternetExplorerUseIeGivesAnInternetShortcut) {
    std::vector<std::string> report;
    AddReportWriter([&](const std::string& line) { report.push_back(line); });
    settings(
        "[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=Help\r\nUseIE=1\r\n");
    engine::DropDesktopShortcut();
    RemoveReportWriters();
    EXPECT_EQ("[InternetShortcut]\r\nURL=http://a.example\r\n",
              sim().fileBytes(kDesktop + "Help.url"));
    EXPECT_FALSE(sim().fileBytes(kDesktop + "Help.lnk").has_value());
    // A 32-bit program on 64-bit Windows: ProgramFiles and ProgramFiles(x86) name one folder.
    const std::string tried = "C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe";
    EXPECT_NE(report.end(), std::find(report.begin(), report.end(),
                                      "skipped: the shortcut " + kDesktop +
                                          "Help.lnk: Internet Explorer is not "
                                          "installed (no " +
                                          tried + "): an Internet shortcut is written instead"));
    EXPECT_NE(lines().end(),
              std::find(lines().begin(), lines().end(),
                        "\tmodBranding\\DropDesktopShortcut: UseIE=1 but Internet Explorer is "
                        "not installed (no " +
                            tried + "); an Internet shortcut is written instead"));
    EXPECT_EQ(1, sim().desktopRefreshes());
}

TEST_F(DesktopShortcut, NothingWithoutAddressOrName) {
    settings("[DesktopShortcut]\r\nShortcutName=Help\r\n");
    engine::DropDesktopShortcut();
    settings("[DesktopShortcut]\r\nShortcutURL=http://a.example\r\n");
    engine::DropDesktopShortcut();
    EXPECT_EQ(0, sim().desktopRefreshes());
    EXPECT_FALSE(sim().fileBytes(kDesktop + ".url").has_value());
}

TEST_F(DesktopShortcut, NamesThatPointElsewhereAreRefused) {
    for (const char* name :
         {"..\\..\\Windows\\System32\\x", "C:\\x", "a/b", "..", "CON", "x:y", "name."}) {
        SCOPED_TRACE(name);
        sim().clearDebugLines();
        settings(std::string("[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=") +
                 name + "\r\n");
        engine::DropDesktopShortcut();
        engine::RemoveDesktopShortcut();
        ASSERT_FALSE(lines().empty());
        EXPECT_EQ("\tmodBranding: ShortcutName is not a plain file name; step skipped", lines()[0]);
    }
    EXPECT_EQ(0, sim().desktopRefreshes());
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\System32\\x.url").has_value());
}

TEST_F(DesktopShortcut, AnUnsafeIconIsSkippedAndTheShortcutStillMade) {
    sim().addFile("C:\\Windows\\win.ini", "system file");
    settings(
        "[DesktopShortcut]\r\nShortcutURL=http://"
        "a.example\r\nShortcutName=Help\r\nShortcutIcon=..\\win.ini\r\n");
    engine::DropDesktopShortcut();
    EXPECT_EQ("[InternetShortcut]\r\nURL=http://a.example\r\n",
              sim().fileBytes(kDesktop + "Help.url"));
    engine::RemoveDesktopShortcut();
    EXPECT_EQ("system file", sim().fileBytes("C:\\Windows\\win.ini"))
        << "removal never deletes outside";
}

// An icon named after a folder of Windows ("system32") would be copied into that folder by the
// shell, where removal never finds it; a name leaving the kit is refused. Both are left out, on
// the report, and the shortcut is made without an icon.
using HostileIcons = ReportedRunTest;
TEST_F(HostileIcons, AFolderOrAPathIsNoIconAndTheReportSaysSo) {
    sim().addFile("C:\\Windows\\System32\\kernel32.dll", "MZ");
    kitFile("system32", "ICO");
    settings("[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=Help\r\n"
             "ShortcutIcon=system32\r\n");
    EXPECT_EQ(engine::ExitCode::Success, run("/desklnk"));
    EXPECT_EQ("[InternetShortcut]\r\nURL=http://a.example\r\n",
              sim().fileBytes(kDesktop + "Help.url"));
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\System32\\system32").has_value());
    EXPECT_TRUE(reported(
        "skipped: ShortcutIcon \"system32\": C:\\Windows\\system32 is a folder: no icon is copied"));
    EXPECT_EQ(engine::ExitCode::Success, run("/rem"));
    EXPECT_EQ("MZ", sim().fileBytes("C:\\Windows\\System32\\kernel32.dll"));

    kitFile("evil.ico", "ICO");
    settings("[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=Help\r\n"
             "ShortcutIcon=..\\evil.ico\r\n");
    EXPECT_EQ(engine::ExitCode::Success, run("/desklnk"));
    EXPECT_TRUE(reported(
        "skipped: ShortcutIcon \"..\\evil.ico\" is not a plain file name: no icon is copied"));
    EXPECT_EQ("[InternetShortcut]\r\nURL=http://a.example\r\n",
              sim().fileBytes(kDesktop + "Help.url"));
}

TEST_F(DesktopShortcut, XpStyleProfilesUseTheAllUsersDesktop) {
    sim().removeVariable("PUBLIC");
    sim().setVariable("ALLUSERSPROFILE", "C:\\Documents and Settings\\All Users");
    sim().addDirectory("C:\\Documents and Settings\\All Users\\Desktop");
    settings("[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=Help\r\n");
    engine::DropDesktopShortcut();
    EXPECT_TRUE(
        sim().fileBytes("C:\\Documents and Settings\\All Users\\Desktop\\Help.url").has_value());
}

// The icon goes because it is a copy of the kit's own (one Vexilla placed and recorded goes too;
// any other file of that name stays).
TEST_F(DesktopShortcut, RemovalTakesBothKindsAndTheIcon) {
    settings("[DesktopShortcut]\r\nShortcutName=Help\r\nShortcutIcon=support.ico\r\n");
    sim().addFile(kDesktop + "Help.url");
    sim().addFile(kDesktop + "Help.lnk");
    sim().addFile("C:\\Windows\\support.ico", "ICO");
    kitFile("support.ico", "ICO");
    engine::RemoveDesktopShortcut();
    EXPECT_FALSE(sim().fileBytes(kDesktop + "Help.url").has_value());
    EXPECT_FALSE(sim().fileBytes(kDesktop + "Help.lnk").has_value());
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\support.ico").has_value());
    EXPECT_EQ(0, sim().desktopRefreshes());
}

TEST(ShellLinkHotKeys, SplitAndJoin) {
    std::uint8_t key = 0, modifiers = 0;
    engine::cShellLinkA::GetHotKeyInfo(0x0641, key, modifiers);
    EXPECT_EQ(0x41, key);
    EXPECT_EQ(0x06, modifiers);
    EXPECT_EQ(0x0641, engine::cShellLinkA::MakeHotKey(0x41, 0x06));
}

}  // namespace
}  // namespace vx::test
