#pragma once
// The WoW64 redirection switch of a plan: the calls reach the system, as switching the
// calling thread's redirection changes nothing on it, and the plan notes the state they
// leave so that its file records name the files the system would reach.

#include <cstdint>
#include <map>

#include "platform/Redirection.h"

namespace vx::platform::plan {

class PlanRedirection final : public Redirection {
public:
    // `wow64`: a 32-bit program on 64-bit Windows, where redirection starts switched on.
    PlanRedirection(Redirection& real, bool wow64);

    [[nodiscard]] Status disable(std::uintptr_t& saved) override;
    [[nodiscard]] Status revert(std::uintptr_t saved) override;

    // True while System32 paths reach SysWOW64.
    bool redirecting() const { return wow64_ && !disabled_; }

private:
    Redirection& real_;
    bool wow64_;
    bool disabled_ = false;
    // The state each value handed out by disable() puts back.
    std::map<std::uintptr_t, bool> previous_;
};

}  // namespace vx::platform::plan
