#include "platform/sim/SimRedirection.h"

namespace vx::platform::sim {

SimRedirection::SimRedirection(Bitness bitness) : wow64_(bitness == Bitness::Windows64) {}

Status SimRedirection::disable(std::uintptr_t& saved) {
    ++disableCalls_;
    if (!available_) return kErrorProcNotFound;
    if (!wow64_) return kErrorInvalidFunction;
    saved = disabled_ ? 1u : 0u;
    disabled_ = true;
    return kSuccess;
}

Status SimRedirection::revert(std::uintptr_t saved) {
    ++revertCalls_;
    if (!available_) return kErrorProcNotFound;
    if (!wow64_) return kErrorInvalidFunction;
    disabled_ = saved != 0;
    return kSuccess;
}

void SimRedirection::setCallsAvailable(bool available) { available_ = available; }

}  // namespace vx::platform::sim
