#include "common/AppState.h"
#include "common/DebugLog.h"
#include "common/RunReport.h"
#include "common/Text.h"
#include "common/Version.h"
#include "engine/StartUp.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using engine::BrandingActions;
using Lines = std::vector<std::string>;

class StartUp : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ResetState();  // Main sets up the state itself
        sim().setModuleFileName("C:\\Kit\\Vexilla\\vexilla.exe");
    }

    // Each action records its name; work run without changes is bracketed by "[" and "]".
    BrandingActions recording() {
        return {[this] { ran_.push_back("autobrand"); },
                [this] { ran_.push_back("rem"); },
                [this] { ran_.push_back("desklnk"); },
                [this] { ran_.push_back("restore"); },
                [this](const std::function<void()>& work) {
                    ran_.push_back("[");
                    work();
                    ran_.push_back("]");
                }};
    }
    int runMain(const std::string& commandLine) {
        ResetState();
        ran_.clear();
        report_.clear();
        sim().setCommandArguments(commandLine);
        return engine::Main([this] { ++editorShown_; }, recording(),
                            [this](const std::string& line) { report_.push_back(line); });
    }
    void toolkitIni(const std::string& text) { sim().addFile("C:\\Kit\\config\\corvid.ini", text); }

    std::vector<std::string> ran_;
    std::vector<std::string> report_;
    int editorShown_ = 0;
};

TEST_F(StartUp, SwitchesRunInTheOrderWrittenAndAsOftenAsWritten) {
    const struct {
        const char* commandLine;
        std::vector<std::string> expected;
    } cases[] = {
        {"/AutoBrand", {"autobrand"}},
        {"-autobrand", {"autobrand"}},
        {" autobrand ", {"autobrand"}},
        {"autobrand", {"autobrand"}},
        {"autobrand now", {}},
        {"-autobrand now", {}},
        {"-rem -autobrand", {"rem", "autobrand"}},
        {"-desklnk-rem", {"desklnk", "rem"}},
        {"/REM/rem /Desklnk", {"rem", "rem", "desklnk"}},
        {"-autobrand -unknown -- -", {"autobrand"}},
        {"/rem /Restore", {"rem", "restore"}},
        {"-restored", {}},
        {"\tautobrand", {}},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.commandLine);
        ran_.clear();
        engine::RunSwitches(item.commandLine, recording());
        EXPECT_EQ(item.expected, ran_);
    }
}

TEST_F(StartUp, ExitCodesAndTheReportOfEachKindOfRun) {
    using engine::ExitCode;
    EXPECT_EQ(0, runMain(""));
    EXPECT_TRUE(report_.empty()) << "the editor run reports nothing";

    sim().setVersion(platform::sim::Windows11());
    EXPECT_EQ(static_cast<int>(ExitCode::NoSwitch), runMain("/autobran"));
    EXPECT_TRUE(ran_.empty());
    EXPECT_EQ(
        (Lines{"Vexilla " + std::string(version::kText) + " on Windows 11 (64-bit): /autobran",
               "skipped: \"autobran\" is not a switch",
               "nothing to do: the command line names no switch (autobrand, rem, desklnk, "
               "restore, verify)",
               "exit code 6: no switch was recognised"}),
        report_);
    EXPECT_EQ(static_cast<int>(ExitCode::NoSwitch), runMain("/plan /log C:\\x.log"))
        << "plan alone runs nothing; a log option is no switch";

    // Plan walks the other switches in their order, all of them without changes.
    EXPECT_EQ(0, runMain("/rem /plan -autobrand"));
    EXPECT_EQ((Lines{"[", "rem", "autobrand", "]"}), ran_);
    EXPECT_EQ("/rem (plan: nothing is changed)", report_[1]);

    // Verify checks autobrand (and desklnk when asked), never removes or restores.
    EXPECT_EQ(0, runMain("/rem /verify /desklnk"));
    EXPECT_EQ((Lines{"[", "autobrand", "desklnk", "]"}), ran_);
    EXPECT_EQ("skipped: /rem is not run by /verify", report_[1]);

    // What the actions tally decides the code; a failed step outweighs the rest.
    const struct {
        std::function<void()> tally;
        ExitCode expected;
    } tallies[] = {
        {[] { Tally().differences = 2; }, ExitCode::VerifyDifferences},
        {[] { Tally().noFactoryBackup = true; }, ExitCode::NoFactoryBackup},
        {[] { Tally().settingsMissing = true; }, ExitCode::SettingsMissing},
        {[] {
             Tally().settingsMissing = true;
             ReportError("modX\\Step VB ERROR: ", {5, "Access is denied."});
         },
         ExitCode::StepFailed},
    };
    for (const auto& item : tallies) {
        auto actions = recording();
        actions.applyBranding = item.tally;
        EXPECT_EQ(item.expected, engine::RunSwitches("-autobrand", actions));
    }
    auto throwing = recording();
    throwing.applyBranding = [] { throw std::runtime_error("x"); };
    EXPECT_EQ(ExitCode::StepFailed, engine::RunSwitches("-autobrand", throwing))
        << "a failure trapped around an action counts";

    toolkitIni("[General]\r\nPasswordProtectedLaunch=1\r\nLaunchPassword=Secret\r\n");
    sim().queueInputBoxAnswer(std::string("wrong"));
    EXPECT_EQ(static_cast<int>(ExitCode::LaunchRefused), runMain("-autobrand"));
}

TEST_F(StartUp, TheLogOptionAppendsTheReportAndNeverStartsASwitch) {
    sim().addDirectory("C:\\Logs - 2026\\run/a");
    EXPECT_EQ(0, runMain("/log \"C:\\Logs - 2026\\run/a\\vx-rem.log\" /rem"));
    EXPECT_EQ(0, runMain("-rem /LOG \"C:\\Logs - 2026\\run/a\\vx-rem.log\""));
    EXPECT_EQ((Lines{"rem"}), ran_) << "nothing in the path ran as a switch";
    const std::string log = sim().fileBytes("C:\\Logs - 2026\\run/a\\vx-rem.log").value_or("");
    EXPECT_EQ(2u, Split(log, "exit code 0: every step did its work or had nothing to do\r\n").size() - 1)
        << log;

    // A log file that cannot be written is said on the report; the run goes on.
    EXPECT_EQ(0, runMain("/rem /log C:\\NoSuchFolder\\x.log"));
    EXPECT_EQ((Lines{"rem"}), ran_);
    EXPECT_EQ(0u, report_[0].find("skipped: the log file C:\\NoSuchFolder\\x.log cannot be written"));
}

TEST_F(StartUp, AHeadlessRunLogsTheCommandAndNeverShowsAWindow) {
    sim().setDateTimeText("12/8/2026 9:30:00 AM");
    runMain("-rem -autobrand");
    EXPECT_EQ((std::vector<std::string>{"rem", "autobrand"}), ran_);
    EXPECT_EQ(0, editorShown_);
    EXPECT_FALSE(sim().commonControlsInitialised());
    EXPECT_TRUE(sim().inputBoxes().empty());
    ASSERT_EQ(5u, lines().size());
    EXPECT_EQ("\t12/8/2026 9:30:00 AM - Starting Vexilla   v", lines()[1].substr(0, 44));
    EXPECT_EQ("\tGetCmdLine: Info", lines()[3]);
    EXPECT_EQ("\t\t- Command passed:  -rem -autobrand", lines()[4]);
    EXPECT_TRUE(State().redirectionControlAllowed);
    EXPECT_EQ("C:", State().systemDrive);
}

TEST_F(StartUp, WithoutACommandLineTheEditorOpens) {
    runMain("");
    EXPECT_EQ(1, editorShown_);
    EXPECT_TRUE(ran_.empty());
    EXPECT_TRUE(sim().commonControlsInitialised());
    EXPECT_TRUE(sim().loadedLibraries().empty()) << "shell32 is freed once the window is up";
    EXPECT_EQ(3u, lines().size()) << "the banner only";
}

TEST_F(StartUp, SettingsFileAndBrandingFolderFollowTheToolkit) {
    runMain("-x");
    EXPECT_EQ("C:\\Kit\\Vexilla\\Vexilla.INI", State().settingsFilePath);
    EXPECT_EQ("C:\\Kit\\Vexilla\\", State().brandingFolder);

    sim().addFile("C:\\Kit\\CORVID.EXE", "MZ");
    runMain("-x");
    EXPECT_EQ("C:\\Kit\\Vexilla\\..\\Config\\Vexilla\\Vexilla.INI", State().settingsFilePath);
    EXPECT_EQ("C:\\Kit\\Vexilla\\..\\Config\\Vexilla\\", State().brandingFolder);
}

TEST_F(StartUp, AWrongPasswordEndsTheProgramSilently) {
    toolkitIni("[General]\r\nPasswordProtectedLaunch=1\r\nLaunchPassword=Secret\r\n");
    sim().queueInputBoxAnswer(std::string("secret"));
    runMain("-autobrand");
    EXPECT_TRUE(ran_.empty());
    EXPECT_EQ(3u, lines().size()) << "nothing after the banner";
    ASSERT_EQ(1u, sim().inputBoxes().size());
    EXPECT_EQ("Enter Launch Password (case sensitive):", sim().inputBoxes()[0].prompt);
    EXPECT_EQ("Vexilla", sim().inputBoxes()[0].title);
    EXPECT_EQ("", sim().inputBoxes()[0].defaultText);
    EXPECT_NE(std::string::npos,
              sim().fileBytes("C:\\Kit\\config\\corvid.ini")->find("PasswordProtectedLaunch=1"));

    sim().queueInputBoxAnswer(std::nullopt);  // Cancel is the empty answer
    runMain("");
    EXPECT_EQ(0, editorShown_);
}

TEST_F(StartUp, TheRightPasswordSwitchesTheProtectionOff) {
    toolkitIni("[General]\r\nPasswordProtectedLaunch=1\r\nLaunchPassword=Secret\r\n");
    sim().queueInputBoxAnswer(std::string("Secret"));
    runMain("/desklnk");
    EXPECT_EQ((std::vector<std::string>{"desklnk"}), ran_);
    EXPECT_NE(std::string::npos,
              sim().fileBytes("C:\\Kit\\config\\corvid.ini")->find("PasswordProtectedLaunch=0"));
    runMain("/desklnk");
    EXPECT_EQ(1u, sim().inputBoxes().size()) << "no second question";
}

TEST_F(StartUp, CancelMatchesOnlyAnEmptyPassword) {
    toolkitIni("[General]\r\nPasswordProtectedLaunch=1\r\n");
    sim().queueInputBoxAnswer(std::nullopt);
    runMain("-rem");
    EXPECT_EQ((std::vector<std::string>{"rem"}), ran_);

    toolkitIni("[General]\r\nPasswordProtectedLaunch=yes\r\nLaunchPassword=x\r\n");
    runMain("-rem");
    EXPECT_EQ(1u, sim().inputBoxes().size()) << "only \"1\" asks";
}

TEST_F(StartUp, SidebarThemesSwitchFromTheToolkitFileOrItsRegistryValue) {
    runMain("");
    EXPECT_FALSE(State().sidebarThemesDisabled);

    sim().setRegistryValue("HKLM\\Software\\Tallowbyte\\Corvid", "DisableSidebarThemes",
                           {1, std::string("1\0", 2)});
    runMain("");
    EXPECT_TRUE(State().sidebarThemesDisabled);

    sim().setRegistryValue("HKLM\\Software\\Tallowbyte\\Corvid", "DisableSidebarThemes",
                           {1, std::string("0\0", 2)});
    toolkitIni("[Config]\r\nDisableSideBarThemes=1\r\n");
    runMain("");
    EXPECT_TRUE(State().sidebarThemesDisabled);
}

TEST_F(StartUp, HeadlessRunsDoNotReadTheSidebarSwitch) {
    toolkitIni("[Config]\r\nDisableSideBarThemes=1\r\n");
    runMain("-rem");
    EXPECT_FALSE(State().sidebarThemesDisabled);
}

TEST_F(StartUp, AlternateIconOnlyWhenAskedForAndPresent) {
    EXPECT_EQ("", engine::AlternateAppIconFile());
    toolkitIni("[Reg]\r\nUseAltIcon=1\r\n");
    EXPECT_EQ("", engine::AlternateAppIconFile()) << "no icon file yet";
    sim().addFile("C:\\Kit\\config\\applogo.ico");
    EXPECT_EQ("C:\\Kit\\Vexilla\\..\\config\\applogo.ico", engine::AlternateAppIconFile());
    toolkitIni("[Reg]\r\nUseAltIcon=01\r\n");
    EXPECT_EQ("C:\\Kit\\Vexilla\\..\\config\\applogo.ico", engine::AlternateAppIconFile());
    for (const char* other : {"2", "", "yes", "1x"}) {
        toolkitIni(std::string("[Reg]\r\nUseAltIcon=") + other + "\r\n");
        EXPECT_EQ("", engine::AlternateAppIconFile()) << other;
    }
}

}  // namespace
}  // namespace vx::test
