#pragma once
// Starting command-line tools and waiting for them, and the pause, all on the one UI thread:
// every wait polls every 100 ms and lets pending window messages run in between.

#include <cstdint>
#include <string>

namespace vx {

inline constexpr std::uint32_t kNoTimeLimit = 2000000000;
// The error text of a wait that the time limit ended.
inline constexpr const char* kTimedOut = "The process has timed out.";

// Runs a command line with redirection off and waits until the process ends (or until
// `timeLimitMs` has passed, when `useTimeLimit`). False, with `errorText` set, when the
// process could not be followed or the time limit struck.
bool ShellAndWaitForTermination(std::string& sShell, int windowStyle, std::string& errorText,
                                std::uint32_t timeLimitMs, bool useTimeLimit);

// Pauses for `seconds`, measured on a clock that wall-clock changes do not move.
void Delay(double seconds);

// Runs a program (quoted when its path has blanks) with arguments. With `wait`, waits for it
// and stores its exit code. A program given with a folder must exist.
bool ShellX(const std::string& sPathAndFileName, const std::string& arguments, bool wait,
            int windowStyle, std::uint32_t& exitCode, bool unused = false);

}  // namespace vx
