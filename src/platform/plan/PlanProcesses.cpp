#include "platform/plan/PlanProcesses.h"

namespace vx::platform::plan {

PlanProcesses::PlanProcesses(Processes& real, ChangeLog& log) : real_(real), log_(log) {}

std::unique_ptr<Process> PlanProcesses::start(const std::string& commandLine, int /*showWindow*/) {
    log_.add(ChangeKind::StartProcess, commandLine, "", kNothing, "not started");
    return nullptr;
}

void PlanProcesses::pumpMessages() { real_.pumpMessages(); }

void PlanProcesses::sleep(std::uint32_t milliseconds) { skipped_ += milliseconds; }

std::uint32_t PlanProcesses::tickMilliseconds() { return real_.tickMilliseconds() + skipped_; }

}  // namespace vx::platform::plan
