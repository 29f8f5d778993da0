// Shell links, special folders and the desktop refresh of the simulated Windows. What the
// real shell does too (links read back, replaced, made for missing targets, refused where no
// file can be written) is pinned by tests/contract/ShellContractTest.cpp.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/sim/SimShell.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {
namespace {

ShellLinkData EveryField() {
    ShellLinkData data;
    data.target = "C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe";
    data.arguments = "-k \"http://support.example/?a=1&b=%20\"";
    data.workingDirectory = "C:\\Users\\tech";
    data.description = "Line one\r\nline two\ttabbed, 100% \xE9t\xE9";
    data.iconFile = "C:\\Windows\\support.ico";
    data.iconIndex = -3;
    data.hotKey = 0xFFFF;
    data.showCommand = 3;
    return data;
}

void ExpectSameLink(const ShellLinkData& expected, const std::optional<ShellLinkData>& actual) {
    ASSERT_TRUE(actual.has_value());
    EXPECT_EQ(expected.target, actual->target);
    EXPECT_EQ(expected.arguments, actual->arguments);
    EXPECT_EQ(expected.workingDirectory, actual->workingDirectory);
    EXPECT_EQ(expected.description, actual->description);
    EXPECT_EQ(expected.iconFile, actual->iconFile);
    EXPECT_EQ(expected.iconIndex, actual->iconIndex);
    EXPECT_EQ(expected.hotKey, actual->hotKey);
    EXPECT_EQ(expected.showCommand, actual->showCommand);
}

class SimShellTest : public testing::Test {
protected:
    Shell& shell() { return windows_.shell(); }
    SimWindows windows_{Bitness::Windows64};
};

TEST(SimShellLinkFormat, EveryByteSurvivesTheRoundTrip) {
    const ShellLinkData data = EveryField();
    const std::string text = EncodeShellLink(data);
    EXPECT_EQ(std::string::npos, text.find("\nline two")) << "a value must not start a line";
    {
        SCOPED_TRACE("every field");
        ExpectSameLink(data, DecodeShellLink(text));
    }
    ShellLinkData empty;
    empty.showCommand = 0;
    SCOPED_TRACE("no field set");
    ExpectSameLink(empty, DecodeShellLink(EncodeShellLink(empty)));
}

TEST(SimShellLinkFormat, AnythingElseIsNoLink) {
    const std::string good = EncodeShellLink(EveryField());
    ASSERT_TRUE(DecodeShellLink(good).has_value());
    std::string noMagic = good;
    noMagic[1] = 'X';
    std::string badNumber = good;
    badNumber.replace(badNumber.find("ShowCommand=3"), 13, "ShowCommand=3x");
    std::string hotKeyTooBig = good;
    hotKeyTooBig.replace(hotKeyTooBig.find("HotKey=65535"), 12, "HotKey=65536");
    std::string badEscape = good;
    badEscape.replace(badEscape.find("%0D"), 3, "%0G");
    std::string renamed = good;
    renamed.replace(renamed.find("Arguments="), 10, "Argument=");
    const std::string cutEscape =
        good.substr(0, good.find("%0D") + 2) + "\r\n" + good.substr(good.find("IconFile="));
    for (const std::string& text : {std::string(), noMagic, badNumber, hotKeyTooBig, badEscape,
                                    renamed, cutEscape, good.substr(0, good.size() - 2),
                                    good + "Extra=1\r\n", std::string("[InternetShortcut]\r\n")}) {
        EXPECT_FALSE(DecodeShellLink(text).has_value()) << text;
    }
}

TEST_F(SimShellTest, TheSaveFailsWhereAFileCannotBeWritten) {
    windows_.addDirectory("C:\\kit\\taken.lnk");
    EXPECT_FALSE(shell().createLink("C:\\kit\\taken.lnk", EveryField()));
    EXPECT_FALSE(shell().createLink("", EveryField()));
    EXPECT_FALSE(shell().createLink("C:\\kit\\bad|name.lnk", EveryField()));
    EXPECT_TRUE(windows_.directoryExists("C:\\kit\\taken.lnk"));
}

TEST_F(SimShellTest, ALinkInSystem32GoesWhereTheViewSendsIt) {
    ASSERT_TRUE(shell().createLink("C:\\Windows\\System32\\tool.lnk", EveryField()));
    EXPECT_TRUE(windows_.fileBytes("C:\\Windows\\SysWOW64\\tool.lnk").has_value());
    EXPECT_FALSE(windows_.fileBytes("C:\\Windows\\System32\\tool.lnk").has_value());
    EXPECT_TRUE(shell().readLink("C:\\Windows\\System32\\tool.lnk").has_value());
}

TEST_F(SimShellTest, AFolderReadsAsNoLink) {
    EXPECT_FALSE(shell().readLink("C:\\Windows").has_value());
}

TEST_F(SimShellTest, AVanishingSaveReportsSuccessAndWritesNothing) {
    windows_.setLinkSavesVanish(true);
    EXPECT_TRUE(shell().createLink("C:\\Users\\Public\\Desktop\\Help.lnk", EveryField()));
    EXPECT_TRUE(shell().createLink("C:\\no\\folder\\Help.lnk", EveryField()));
    EXPECT_FALSE(windows_.fileBytes("C:\\Users\\Public\\Desktop\\Help.lnk").has_value());
    EXPECT_FALSE(shell().readLink("C:\\Users\\Public\\Desktop\\Help.lnk").has_value());
    windows_.setLinkSavesVanish(false);
    EXPECT_TRUE(shell().createLink("C:\\Users\\Public\\Desktop\\Help.lnk", EveryField()));
    EXPECT_TRUE(windows_.fileBytes("C:\\Users\\Public\\Desktop\\Help.lnk").has_value());
}

TEST_F(SimShellTest, SpecialFoldersOfA64BitSystemExist) {
    EXPECT_EQ("C:\\Windows", shell().specialFolderPath(kCsidlWindows));
    EXPECT_EQ("C:\\Windows\\System32", shell().specialFolderPath(kCsidlSystem));
    EXPECT_EQ("C:\\Program Files (x86)", shell().specialFolderPath(kCsidlProgramFiles));
    EXPECT_EQ("C:\\Users\\Public\\Desktop",
              shell().specialFolderPath(kCsidlCommonDesktopDirectory));
    EXPECT_EQ("C:\\Users\\tech\\Desktop", shell().specialFolderPath(kCsidlDesktopDirectory));
    for (const int csidl : {kCsidlSystem, kCsidlProgramFiles, kCsidlDesktopDirectory}) {
        EXPECT_TRUE(windows_.directoryExists(*shell().specialFolderPath(csidl))) << csidl;
    }
    EXPECT_EQ(std::nullopt, shell().specialFolderPath(0x03)) << "Control Panel is no folder";
}

TEST(SimShell32BitSystem, ProgramFilesHasNoX86Folder) {
    SimWindows windows(Bitness::Windows32);
    EXPECT_EQ("C:\\Program Files", windows.shell().specialFolderPath(kCsidlProgramFiles));
    EXPECT_TRUE(windows.directoryExists("C:\\Program Files"));
}

TEST_F(SimShellTest, DesktopRefreshesAreCounted) {
    EXPECT_EQ(0, windows_.desktopRefreshes());
    static_cast<void>(shell().refreshDesktop());
    static_cast<void>(shell().refreshDesktop());
    EXPECT_EQ(2, windows_.desktopRefreshes());
}

}  // namespace
}  // namespace vx::platform::sim
