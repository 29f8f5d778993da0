// Launch lookup and the virtual clock of the simulated Windows. That an unknown program does
// not start and that one ending with 259 (STILL_ACTIVE) counts as ended is pinned by
// tests/contract/ProcessContractTest.cpp.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {
namespace {

TEST(SimProgramToken, TheProgramIsTheQuotedTextOrTheFirstWord) {
    EXPECT_EQ("C:\\vx tools\\a.exe", ProgramToken("\"C:\\vx tools\\a.exe\" /q"));
    EXPECT_EQ("C:\\vx", ProgramToken("C:\\vx tools\\a.exe /q"));
    EXPECT_EQ("reg.exe", ProgramToken("  reg.exe\tadd x"));
    EXPECT_EQ("C:\\open.exe", ProgramToken("\"C:\\open.exe"));
    EXPECT_EQ("", ProgramToken("   "));
}

class SimLaunch : public testing::Test {
protected:
    SimWindows windows_{Bitness::Windows64};
    Processes& processes() { return windows_.processes(); }
    bool Starts(const std::string& commandLine) {
        return processes().start(commandLine, kShowHidden) != nullptr;
    }
};

TEST_F(SimLaunch, DefinedBareNamesStartAndGetExeAppended) {
    windows_.defineProgram("REG.exe", {3, 0});
    EXPECT_TRUE(Starts("reg.exe add HKLM\\x"));
    EXPECT_TRUE(Starts("reg /?"));
    EXPECT_FALSE(Starts("C:\\Windows\\reg.exe")) << "a path needs a file";
    auto process = processes().start("Reg.EXE query x", kShowNormal);
    ASSERT_NE(nullptr, process);
    EXPECT_EQ(3u, process->exitCode());
}

TEST_F(SimLaunch, PathsMustExistAndAnUndefinedFileEndsAtOnceWithZero) {
    windows_.addFile("C:\\kit\\tool.exe", "MZ");
    windows_.addFile("C:\\kit\\plain.exe", "MZ");
    windows_.defineProgram("c:/KIT/Tool.exe", {7, 100});
    auto tool = processes().start("\"C:\\kit\\tool.exe\" /a", kShowHidden);
    ASSERT_NE(nullptr, tool);
    EXPECT_FALSE(tool->hasExited());
    auto plain = processes().start("C:\\kit\\plain", kShowHidden);
    ASSERT_NE(nullptr, plain);
    EXPECT_TRUE(plain->hasExited());
    EXPECT_EQ(0u, plain->exitCode());
    windows_.defineProgram("C:\\kit\\ghost.exe", {1, 0});
    EXPECT_FALSE(Starts("C:\\kit\\ghost.exe")) << "defined but not on disk";
    windows_.addDirectory("C:\\kit\\folder.exe");
    EXPECT_FALSE(Starts("C:\\kit\\folder.exe"));
}

TEST_F(SimLaunch, APathIsLookedUpWhereTheCurrentViewTakesIt) {
    windows_.addFile("C:\\Windows\\System32\\reg.exe", "MZ");
    windows_.defineProgram("C:\\Windows\\System32\\reg.exe", {64, 0});
    EXPECT_FALSE(Starts("C:\\Windows\\System32\\reg.exe")) << "redirected to SysWOW64";
    windows_.addFile("C:\\Windows\\SysWOW64\\reg.exe", "MZ");
    auto wow = processes().start("C:\\Windows\\System32\\reg.exe", kShowHidden);
    ASSERT_NE(nullptr, wow);
    EXPECT_EQ(0u, wow->exitCode()) << "the 32-bit reg.exe was not defined";

    std::uintptr_t saved = 0;
    ASSERT_EQ(0u, windows_.redirection().disable(saved));
    auto native = processes().start("C:\\Windows\\System32\\reg.exe", kShowHidden);
    ASSERT_NE(nullptr, native);
    EXPECT_EQ(64u, native->exitCode());
    ASSERT_EQ(0u, windows_.redirection().revert(saved));

    const auto& launches = windows_.launches();
    ASSERT_EQ(3u, launches.size());
    EXPECT_FALSE(launches[0].redirectionDisabled);
    EXPECT_TRUE(launches[2].redirectionDisabled);
    EXPECT_EQ("C:\\Windows\\System32\\reg.exe", launches[2].commandLine);
    EXPECT_EQ(kShowHidden, launches[2].showWindow);
}

TEST_F(SimLaunch, ProcessesRunOnTheVirtualClock) {
    windows_.defineProgram("slow.exe", {5, 1000});
    windows_.defineProgram("other.exe", {0, 10});
    auto slow = processes().start("slow.exe", kShowHidden);
    auto other = processes().start("other.exe", kShowHidden);
    ASSERT_NE(nullptr, slow);
    ASSERT_NE(nullptr, other);
    EXPECT_NE(0u, slow->id());
    EXPECT_NE(slow->id(), other->id());
    EXPECT_EQ(259u, slow->exitCode());
    processes().sleep(999);
    EXPECT_FALSE(slow->hasExited());
    windows_.advanceClock(1);
    EXPECT_TRUE(slow->hasExited());
    EXPECT_EQ(5u, slow->exitCode());
    EXPECT_EQ(1000u, windows_.virtualMilliseconds());

    std::unique_ptr<Process> late;
    {
        SimWindows gone(Bitness::Windows32);
        gone.defineProgram("late.exe", {2, 50});
        late = gone.processes().start("late.exe", kShowHidden);
    }
    ASSERT_NE(nullptr, late);
    EXPECT_FALSE(late->hasExited()) << "a process may outlive the machine that started it";
}

TEST_F(SimLaunch, TheTickWrapsAndOnlySleepingMovesIt) {
    const std::uint32_t before = processes().tickMilliseconds();
    processes().pumpMessages();
    processes().pumpMessages();
    EXPECT_EQ(2, windows_.messagePumps());
    EXPECT_EQ(before, processes().tickMilliseconds());
    windows_.advanceClock(0xFFFFFFFFull - windows_.virtualMilliseconds());
    EXPECT_EQ(0xFFFFFFFFu, processes().tickMilliseconds());
    processes().sleep(6);
    EXPECT_EQ(5u, processes().tickMilliseconds());
    EXPECT_EQ(0x100000005ull, windows_.virtualMilliseconds());
}

}  // namespace
}  // namespace vx::platform::sim
