#pragma once
// Processes in a plan: nothing is started (the command line is recorded and the start
// reports "not started"), and a sleep returns at once. The millisecond counter is the
// system's plus every sleep the plan skipped, so a wait that polls it ends as soon as it
// would have ended after its sleeps, without the time passing.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Processes.h"
#include "platform/plan/PlannedChange.h"

namespace vx::platform::plan {

class PlanProcesses final : public Processes {
public:
    PlanProcesses(Processes& real, ChangeLog& log);

    std::unique_ptr<Process> start(const std::string& commandLine, int showWindow) override;
    void pumpMessages() override;
    void sleep(std::uint32_t milliseconds) override;
    std::uint32_t tickMilliseconds() override;

private:
    Processes& real_;
    ChangeLog& log_;
    std::uint32_t skipped_ = 0;  // wraps with the counter
};

}  // namespace vx::platform::plan
