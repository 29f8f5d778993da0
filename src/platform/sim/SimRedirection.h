#pragma once
// WoW64 file-system redirection as our 32-bit process meets it.

#include <cstdint>

#include "platform/Redirection.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {

// The switch of the one thread the model runs. It follows Wine's WoW64: the saved value is
// the previous "disabled" flag (0 when redirection was on) and revert() switches
// redirection off again for any non-zero value. On 32-bit Windows both calls fail with
// ERROR_INVALID_FUNCTION and leave `saved` alone.
class SimRedirection final : public Redirection {
public:
    explicit SimRedirection(Bitness bitness);

    [[nodiscard]] Status disable(std::uintptr_t& saved) override;
    [[nodiscard]] Status revert(std::uintptr_t saved) override;

    // Windows 2000 and 32-bit XP lack both exports: GetProcAddress fails with 127.
    void setCallsAvailable(bool available);
    bool wow64() const { return wow64_; }
    bool disabledNow() const { return disabled_; }
    // True while System32 paths are sent to SysWOW64.
    bool redirecting() const { return wow64_ && !disabled_; }
    int disableCalls() const { return disableCalls_; }
    int revertCalls() const { return revertCalls_; }

private:
    bool wow64_;
    bool available_ = true;
    bool disabled_ = false;
    int disableCalls_ = 0;
    int revertCalls_ = 0;
};

}  // namespace vx::platform::sim
