#pragma once
// Reading the command line of a headless run: the log file option first, then the switches.

#include <optional>
#include <string>
#include <vector>

namespace vx::engine {

// The command line with "/log <path>" taken out. The option is a word of its own ("/log" or
// "-log", any case, at the start or after white space) followed by white space and the path:
// in double quotes (it may then hold spaces) or up to the next white space. It is taken out
// before the switches are split at "/" and "-", so that nothing in a path can start a switch.
struct LogOption {
    std::string switches;                // the rest of the line, for the switch split
    std::optional<std::string> logPath;  // the last path given, when there is one
    bool missingPath = false;            // "/log" without a path after it
};
LogOption ExtractLogOption(const std::string& commandLine);

// What a switch asks for. Plan and Verify change how the others run; they do nothing alone.
enum class Switch { ApplyBranding, RemoveBranding, DesktopShortcut, RestoreFactory, Plan, Verify };

// The switch's name as written after "/" ("autobrand", ...).
const char* SwitchName(Switch which);

struct SwitchList {
    std::vector<Switch> switches;         // in the order written, as often as written
    std::vector<std::string> unrecognised;  // the pieces that are no switch (empty ones left out)
};

// "/" counts as "-"; the text is split at every "-"; each piece, lower-cased and trimmed of
// spaces, is a switch when it is exactly a switch name.
SwitchList ParseSwitches(const std::string& switches);

}  // namespace vx::engine
