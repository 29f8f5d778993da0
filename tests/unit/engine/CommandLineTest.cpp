#include <gtest/gtest.h>

#include "engine/CommandLine.h"

namespace vx::test {
namespace {

using engine::ExtractLogOption;
using engine::ParseSwitches;
using engine::Switch;

TEST(CommandLine, TheLogOptionIsTakenOutBeforeTheSwitchSplit) {
    const struct {
        const char* line;
        const char* switches;
        std::optional<std::string> path;
        bool missing;
    } cases[] = {
        {"/autobrand", "/autobrand", std::nullopt, false},
        {"/log C:\\logs\\vx.log /autobrand", " /autobrand", "C:\\logs\\vx.log", false},
        {"/autobrand -LOG C:\\a-b/c.log", "/autobrand ", "C:\\a-b/c.log", false},
        {"/log \"C:\\My Logs\\run -rem /x.log\" /desklnk", " /desklnk",
         "C:\\My Logs\\run -rem /x.log", false},
        {"/log\t\"C:\\a b.log\"", "", "C:\\a b.log", false},
        {"/log \"C:\\unclosed -rem", "", "C:\\unclosed -rem", false},
        {"/log a.log /log b.log /rem", "  /rem", "b.log", false},
        // Not the option: part of a longer word, or glued to a switch.
        {"/logo /rem", "/logo /rem", std::nullopt, false},
        {"-rem/log x.log", "-rem/log x.log", std::nullopt, false},
        // The option without a path: the word goes, what follows stays.
        {"/autobrand /log", "/autobrand ", std::nullopt, true},
        {"/log /autobrand", " /autobrand", std::nullopt, true},
        {"/log \"\" /rem", " /rem", std::nullopt, true},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.line);
        const auto option = ExtractLogOption(item.line);
        EXPECT_EQ(item.switches, option.switches);
        EXPECT_EQ(item.path, option.logPath);
        EXPECT_EQ(item.missing, option.missingPath);
    }
}

TEST(CommandLine, SwitchesAndWhatIsNoSwitch) {
    const auto list = ParseSwitches("-Plan /VERIFY -autobrand now - -- /restore /desklnk/rem  x ");
    EXPECT_EQ((std::vector<Switch>{Switch::Plan, Switch::Verify, Switch::RestoreFactory,
                                   Switch::DesktopShortcut}),
              list.switches);
    EXPECT_EQ((std::vector<std::string>{"autobrand now", "rem  x"}), list.unrecognised);
}

}  // namespace
}  // namespace vx::test
