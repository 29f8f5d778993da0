#pragma once
// Launched programs with scripted outcomes, and the virtual clock their waits run on.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {

inline constexpr std::uint32_t kStillActive = 259;

// Milliseconds since boot; only sleep() and advanceClock() move it. Shared with every
// process object, which may outlive the machine that started it.
struct VirtualClock {
    std::uint64_t now = 0;
};

class SimProcess final : public Process {
public:
    SimProcess(std::uint32_t id, std::shared_ptr<const VirtualClock> clock, std::uint64_t endsAt,
               std::uint32_t exitCode);

    std::uint32_t id() const override { return id_; }
    bool hasExited() override;
    // 259 while running; afterwards the scripted code, which may itself be 259.
    std::optional<std::uint32_t> exitCode() override;

private:
    std::uint32_t id_;
    std::shared_ptr<const VirtualClock> clock_;
    std::uint64_t endsAt_;
    std::uint32_t exitCode_;
};

// The program a command line names: the quoted text, or the text up to the first blank.
// (CreateProcess also tries longer blank-separated prefixes of an unquoted path; the model
// does not, so an unquoted path with blanks fails here.)
std::string ProgramToken(const std::string& commandLine);

class SimProcesses final : public Processes {
public:
    SimProcesses(SimFiles& files, FileTree& tree, const SimRedirection& redirection);

    // A program naming a folder must exist as a file in the current view; its script is the
    // one defined for the native path it reaches (none: it ends at once with 0). A bare
    // name starts only when a program of that name is defined. Without an extension, ".exe"
    // is appended first. Every attempt is recorded.
    std::unique_ptr<Process> start(const std::string& commandLine, int showWindow) override;
    void pumpMessages() override;
    void sleep(std::uint32_t milliseconds) override;
    std::uint32_t tickMilliseconds() override;

    void define(const std::string& nameOrPath, ProgramScript script);
    const std::vector<LaunchRecord>& launches() const { return launches_; }
    int messagePumps() const { return pumps_; }
    std::uint64_t now() const { return clock_->now; }
    void advance(std::uint64_t milliseconds) { clock_->now += milliseconds; }

private:
    std::optional<ProgramScript> findProgram(const std::string& token) const;

    SimFiles& files_;
    FileTree& tree_;
    const SimRedirection& redirection_;
    std::shared_ptr<VirtualClock> clock_ = std::make_shared<VirtualClock>();
    std::map<std::string, ProgramScript> byName_;  // upper-case file name
    std::map<std::string, ProgramScript> byPath_;  // upper-case native full path
    std::vector<LaunchRecord> launches_;
    std::uint32_t nextId_ = 1000;
    int pumps_ = 0;
};

}  // namespace vx::platform::sim
