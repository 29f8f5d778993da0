// Shell links, special folders and the desktop refresh, as the real shell gives them.

#include <cstdint>
#include <optional>
#include <string>

#include "contract/ContractFixture.h"
#include "platform/TextMode.h"

namespace vx::contract {
namespace {

constexpr int kCsidlCommonDesktopDirectory = 0x19;
constexpr int kCsidlCommonAppData = 0x23;
constexpr int kCsidlWindows = 0x24;
constexpr int kShowMaximised = 3;
constexpr std::uint16_t kControlAltA = 0x0641;  // HOTKEYF_CONTROL | HOTKEYF_ALT, 'A'

void ExpectSameLink(const platform::ShellLinkData& expected,
                    const std::optional<platform::ShellLinkData>& actual) {
    ASSERT_TRUE(actual.has_value()) << "the link does not load";
    EXPECT_EQ(expected.target, actual->target);
    EXPECT_EQ(expected.arguments, actual->arguments);
    EXPECT_EQ(expected.workingDirectory, actual->workingDirectory);
    EXPECT_EQ(expected.description, actual->description);
    EXPECT_EQ(expected.iconFile, actual->iconFile);
    EXPECT_EQ(expected.iconIndex, actual->iconIndex);
    EXPECT_EQ(expected.hotKey, actual->hotKey);
    EXPECT_EQ(expected.showCommand, actual->showCommand);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

class ShellContract : public ContractTest {
protected:
    void SetUp() override {
        ContractTest::SetUp();
        folder_ = FreshFolder("shell");
        target_ = folder_ + "\\support tool.exe";
        ASSERT_EQ(0u, system().files().writeFile(target_, "MZ", false));
    }

    platform::Shell& shell() { return system().shell(); }
    bool exists(const std::string& path) { return system().files().attributes(path).has_value(); }

    platform::ShellLinkData everyField() const {
        platform::ShellLinkData data;
        data.target = target_;
        data.arguments = "-k \"http://support.example/help?topic=1\"";
        data.workingDirectory = folder_;
        data.description = "Support for this computer";
        data.iconFile = folder_ + "\\support.ico";
        data.iconIndex = 2;
        data.hotKey = kControlAltA;
        data.showCommand = kShowMaximised;
        return data;
    }

    std::string folder_;
    std::string target_;
};

TEST_F(ShellContract, EveryFieldReadsBackAndASecondLinkReplacesTheFirst) {
    const std::string link = folder_ + "\\Help.lnk";
    ASSERT_TRUE(shell().createLink(link, everyField()));
    EXPECT_TRUE(exists(link));
    {
        SCOPED_TRACE("every field");
        ExpectSameLink(everyField(), shell().readLink(link));
    }

    platform::ShellLinkData second;
    second.target = Variable("SystemRoot") + "\\notepad.exe";
    second.description = "second";
    ASSERT_TRUE(shell().createLink(link, second));
    SCOPED_TRACE("the replacement, with nothing left of the first");
    ExpectSameLink(second, shell().readLink(link));
}

// In the UTF-8 mode the link's own name and its texts keep characters the code page lacks.
TEST_F(ShellContract, InTheUtf8ModeNamesBeyondTheCodePageReadBack) {
    platform::SetTextMode(platform::TextMode::Utf8);
    const std::string link = folder_ + "\\株式会社テスト.lnk";
    platform::ShellLinkData data = everyField();
    data.description = "Ångström Data, 株式会社テスト";
    ASSERT_TRUE(shell().createLink(link, data));
    EXPECT_TRUE(exists(link));
    ExpectSameLink(data, shell().readLink(link));
}

// The link object takes a target that does not exist, and even an empty one: callers that
// must not make such links refuse them before they get here.
TEST_F(ShellContract, MissingAndEmptyTargetsStillMakeLinks) {
    platform::ShellLinkData data = everyField();
    data.target = folder_ + "\\not there\\absent.exe";
    ASSERT_TRUE(shell().createLink(folder_ + "\\absent.lnk", data));
    {
        SCOPED_TRACE("missing target");
        ExpectSameLink(data, shell().readLink(folder_ + "\\absent.lnk"));
    }

    data.target.clear();
    ASSERT_TRUE(shell().createLink(folder_ + "\\empty.lnk", data));
    EXPECT_TRUE(exists(folder_ + "\\empty.lnk"));
    SCOPED_TRACE("empty target");
    ExpectSameLink(data, shell().readLink(folder_ + "\\empty.lnk"));
}

TEST_F(ShellContract, NoLinkWhereNoFileCanBeWrittenAndNoneReadFromOtherFiles) {
    EXPECT_FALSE(shell().createLink(folder_ + "\\no such folder\\Help.lnk", everyField()));
    EXPECT_FALSE(exists(folder_ + "\\no such folder"));
    EXPECT_FALSE(shell().createLink(folder_, everyField())) << "a folder stands there";

    EXPECT_FALSE(shell().readLink(folder_ + "\\absent.lnk").has_value());
    const std::string text = folder_ + "\\Help.url";
    ASSERT_EQ(0u, system().files().writeFile(
                      text, "[InternetShortcut]\r\nURL=http://support.example/\r\n", false));
    EXPECT_FALSE(shell().readLink(text).has_value());
}

TEST_F(ShellContract, WindowsAndAllUsersDesktopFoldersExist) {
    const std::optional<std::string> windows = shell().specialFolderPath(kCsidlWindows);
    ASSERT_TRUE(windows.has_value());
    EXPECT_EQ(Upper(Variable("SystemRoot")), Upper(*windows));

    const std::optional<std::string> desktop =
        shell().specialFolderPath(kCsidlCommonDesktopDirectory);
    ASSERT_TRUE(desktop.has_value());
    const std::optional<std::string> appData = shell().specialFolderPath(kCsidlCommonAppData);
    ASSERT_TRUE(appData.has_value());
    for (const std::string& folder : {*windows, *desktop, *appData}) {
        EXPECT_EQ(":\\", folder.substr(1, 2)) << folder << " is rooted on a drive";
        const std::optional<std::uint32_t> attributes = system().files().attributes(folder);
        ASSERT_TRUE(attributes.has_value()) << folder;
        EXPECT_NE(0u, *attributes & platform::kAttributeDirectory) << folder;
    }
    // Wine keeps the Vista layout whatever release it reports; the simulated XP has its own.
    if (World().name().rfind("sim", 0) == 0) {
        EXPECT_EQ(World().expectedVersion().major < 6
                      ? "C:\\Documents and Settings\\All Users\\Application Data"
                      : "C:\\ProgramData",
                  *appData);
    }
    EXPECT_FALSE(shell().specialFolderPath(0x7F).has_value()) << "no such id";
}

// Under Wine without explorer.exe /desktop there is no "Progman" window and the refresh
// reports false; the simulated machine always has a desktop.
TEST_F(ShellContract, DesktopRefreshAnswersAtOnceAndAlwaysAlike) {
    const bool first = shell().refreshDesktop();
    const bool second = shell().refreshDesktop();
    EXPECT_EQ(first, second);
    RecordProperty("desktop_refreshed", first ? "true" : "false");
    if (World().name().rfind("sim", 0) == 0) {
        EXPECT_TRUE(first);
    }
}

}  // namespace
}  // namespace vx::contract
