// Starting programs and waiting for them.

#include <string>

#include "common/ProcessLaunch.h"
#include "contract/ContractFixture.h"

namespace vx::contract {
namespace {

using ProcessContract = ContractTest;

TEST_F(ProcessContract, WaitingReturnsTheExitCode) {
    const auto tool = World().programExitingWith(7, 300, false);
    std::uint32_t exitCode = 0xDEADBEEF;
    EXPECT_TRUE(ShellX(tool.program, tool.arguments, true, platform::kShowHidden, exitCode));
    EXPECT_EQ(7u, exitCode);
}

TEST_F(ProcessContract, AProgramThatExitsWith259IsNotWaitedForForever) {
    const auto tool = World().programExitingWith(259, 0, false);
    std::uint32_t exitCode = 0;
    EXPECT_TRUE(ShellX(tool.program, tool.arguments, true, platform::kShowHidden, exitCode));
    EXPECT_EQ(259u, exitCode);

    std::string command = tool.program + (tool.arguments.empty() ? "" : " " + tool.arguments);
    std::string errorText;
    EXPECT_TRUE(
        ShellAndWaitForTermination(command, platform::kShowHidden, errorText, kNoTimeLimit, false));
    EXPECT_EQ("", errorText);
}

TEST_F(ProcessContract, AProgramInAFolderWithBlanksIsQuoted) {
    const auto tool = World().programExitingWith(3, 0, true);
    ASSERT_NE(std::string::npos, tool.program.find(' '));
    std::uint32_t exitCode = 0;
    EXPECT_TRUE(ShellX(tool.program, tool.arguments, true, platform::kShowHidden, exitCode));
    EXPECT_EQ(3u, exitCode);
}

TEST_F(ProcessContract, NotWaitingOnlyReportsTheStart) {
    const auto tool = World().programExitingWith(0, 200, false);
    std::uint32_t exitCode = 0xDEADBEEF;
    EXPECT_TRUE(ShellX(tool.program, tool.arguments, false, platform::kShowHidden, exitCode));
    EXPECT_EQ(0xDEADBEEFu, exitCode);
}

TEST_F(ProcessContract, AMissingProgramIsReportedNotWaitedFor) {
    std::string command = "vexilla-no-such-program-xyz.exe /q";
    std::string errorText;
    EXPECT_FALSE(
        ShellAndWaitForTermination(command, platform::kShowHidden, errorText, kNoTimeLimit, false));
    EXPECT_EQ(
        "This program could not determine whether the process started."
        "Please watch the program and check it completes.",
        errorText);

    std::uint32_t exitCode = 0xDEADBEEF;
    EXPECT_FALSE(ShellX(Variable("SystemRoot") + "\\no-such-tool.exe", "", true,
                        platform::kShowHidden, exitCode));
    EXPECT_FALSE(
        ShellX("vexilla-no-such-program-xyz.exe", "", true, platform::kShowHidden, exitCode));
    EXPECT_EQ(0xDEADBEEFu, exitCode);
}

TEST_F(ProcessContract, TheTimeLimitEndsTheWait) {
    const auto tool = World().programExitingWith(0, 5000, false);
    std::string command =
        "\"" + tool.program + "\"" + (tool.arguments.empty() ? "" : " " + tool.arguments);
    std::string errorText;
    EXPECT_FALSE(ShellAndWaitForTermination(command, platform::kShowHidden, errorText, 300, true));
    EXPECT_EQ("The process has timed out.", errorText);
}

}  // namespace
}  // namespace vx::contract
