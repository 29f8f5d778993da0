#include "platform/plan/PlanRedirection.h"

namespace vx::platform::plan {

PlanRedirection::PlanRedirection(Redirection& real, bool wow64) : real_(real), wow64_(wow64) {}

Status PlanRedirection::disable(std::uintptr_t& saved) {
    const Status status = real_.disable(saved);
    if (status == kSuccess) {
        previous_[saved] = disabled_;
        disabled_ = true;
    }
    return status;
}

Status PlanRedirection::revert(std::uintptr_t saved) {
    const Status status = real_.revert(saved);
    if (status == kSuccess) {
        const auto it = previous_.find(saved);
        disabled_ = it != previous_.end() && it->second;
        if (it != previous_.end()) previous_.erase(it);
    }
    return status;
}

}  // namespace vx::platform::plan
