#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vx::platform {

// A started process; the handle it holds is closed when this object goes.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    virtual ~Process() = default;

    virtual std::uint32_t id() const = 0;
    // True once the process has ended (a zero-time wait on its handle is signalled).
    virtual bool hasExited() = 0;
    // The exit code (259 while still active); nothing when it cannot be read.
    virtual std::optional<std::uint32_t> exitCode() = 0;
};

// Process launch, the message pump and time, for the waits of the single UI thread.
class Processes {
public:
    Processes() = default;
    Processes(const Processes&) = delete;
    Processes& operator=(const Processes&) = delete;
    virtual ~Processes() = default;

    // Starts a full command line (the program is found through the search path when it
    // names no folder) with the given show state. Nothing when it did not start.
    virtual std::unique_ptr<Process> start(const std::string& commandLine, int showWindow) = 0;
    // Runs the window messages waiting for this thread.
    virtual void pumpMessages() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
    // A millisecond counter that no change of the wall clock moves; wraps at 2^32.
    virtual std::uint32_t tickMilliseconds() = 0;
};

}  // namespace vx::platform
