#include <limits>

#include "common/ProcessLaunch.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using ProcessLaunch = SimTest;
using Lines = std::vector<std::string>;

TEST_F(ProcessLaunch, ShellAndWaitLogsTheCommandAndTheOutcome) {
    sim().defineProgram("reg.exe", {0, 350});
    std::string command = "reg.exe delete HKCR\\CLSID\\{x} /f";
    std::string errorText;
    const auto before = sim().virtualMilliseconds();
    EXPECT_TRUE(ShellAndWaitForTermination(command, 0, errorText, kNoTimeLimit, false));
    EXPECT_EQ((Lines{"\tShellandWaitForTermination:  reg.exe delete HKCR\\CLSID\\{x} /f",
                     "\t\tSuccess=True"}),
              lines());
    ASSERT_EQ(1u, sim().launches().size());
    EXPECT_TRUE(sim().launches()[0].redirectionDisabled) << "64-bit tools must be reachable";
    EXPECT_FALSE(sim().redirectionDisabledNow());
    EXPECT_GE(sim().virtualMilliseconds() - before, 350u);
    EXPECT_GE(sim().messagePumps(), 3) << "the window stays responsive while waiting";
}

TEST_F(ProcessLaunch, AProgramThatNeverStartsLeavesTheJoinedText) {
    std::string command = "missing.exe";
    std::string errorText;
    EXPECT_FALSE(ShellAndWaitForTermination(command, 1, errorText, kNoTimeLimit, false));
    EXPECT_EQ(
        "This program could not determine whether the process started.Please watch the "
        "program and check it completes.",
        errorText);
    EXPECT_EQ("\t\tSuccess=False", lines().back());
}

TEST_F(ProcessLaunch, TimeLimitIsCheckedOnlyWhenAskedFor) {
    sim().defineProgram("slow.exe", {4, 3000});
    std::string command = "slow.exe";
    std::string errorText;
    EXPECT_FALSE(ShellAndWaitForTermination(command, 0, errorText, 1000, true));
    EXPECT_EQ("The process has timed out.", errorText);
    errorText.clear();
    EXPECT_TRUE(ShellAndWaitForTermination(command, 0, errorText, 1000, false));
    EXPECT_EQ("", errorText);
}

TEST_F(ProcessLaunch, ShellXQuotesAProgramPathOnceAndNeverTheArguments) {
    sim().addFile("C:\\Program Files\\Tool Kit\\subinacl.exe");
    sim().defineProgram("C:\\Program Files\\Tool Kit\\subinacl.exe", {9, 0});
    std::uint32_t exitCode = 0;
    EXPECT_TRUE(ShellX("C:\\Program Files\\Tool Kit\\subinacl.exe", "/keyreg \"a b\" /x", true, 0,
                       exitCode));
    EXPECT_EQ(9u, exitCode);
    ASSERT_EQ(1u, sim().launches().size());
    EXPECT_EQ("\"C:\\Program Files\\Tool Kit\\subinacl.exe\" /keyreg \"a b\" /x",
              sim().launches()[0].commandLine);
    EXPECT_EQ(0, sim().launches()[0].showWindow);
}

TEST_F(ProcessLaunch, ShellXTestsOnlyProgramsGivenWithAFolder) {
    sim().defineProgram("reg.exe", {1, 0});
    std::uint32_t exitCode = 0;
    EXPECT_TRUE(ShellX("reg.exe", "", true, 0, exitCode));
    EXPECT_EQ("reg.exe", sim().launches().back().commandLine);
    EXPECT_EQ(1u, exitCode);

    EXPECT_FALSE(ShellX("C:\\Tools\\absent.exe", "/q", true, 0, exitCode));
    EXPECT_EQ(1u, sim().launches().size()) << "a missing program file is never started";
    EXPECT_EQ((Lines{"\tCommonModule\\ShellX FILE NOT FOUND",
                     "\t\t- sPathAndFileName=C:\\Tools\\absent.exe"}),
              lines());
}

TEST_F(ProcessLaunch, ShellXReportsAFailedStart) {
    std::uint32_t exitCode = 0;
    EXPECT_FALSE(ShellX("nothere.exe", "-a", false, 0, exitCode));
    EXPECT_EQ((Lines{"\tShellX (Failed):  nothere.exe -a"}), lines());
}

TEST_F(ProcessLaunch, DelayWaitsTheGivenTimeInPolls) {
    const auto before = sim().virtualMilliseconds();
    const int pumpsBefore = sim().messagePumps();
    Delay(2);
    const auto waited = sim().virtualMilliseconds() - before;
    EXPECT_GT(waited, 2000u);
    EXPECT_LE(waited, 2100u);
    EXPECT_GE(sim().messagePumps() - pumpsBefore, 20);
}

TEST_F(ProcessLaunch, DelaySurvivesTheMillisecondCounterWrapping) {
    // The counter wraps every 49.7 days; start 500 ms before it does.
    sim().advanceClock(0xFFFFFFFFull - 500 - (sim().virtualMilliseconds() & 0xFFFFFFFFull));
    const auto before = sim().virtualMilliseconds();
    Delay(1);
    const auto waited = sim().virtualMilliseconds() - before;
    EXPECT_GT(waited, 1000u);
    EXPECT_LE(waited, 1100u);
}

TEST_F(ProcessLaunch, MeaninglessDelaysEndAfterOnePoll) {
    const auto before = sim().virtualMilliseconds();
    Delay(-1);
    Delay(std::numeric_limits<double>::quiet_NaN());
    Delay(0);
    EXPECT_EQ(300u, sim().virtualMilliseconds() - before);
}

}  // namespace
}  // namespace vx::test
