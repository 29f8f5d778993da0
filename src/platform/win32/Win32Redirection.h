#pragma once
#include "platform/Redirection.h"

namespace vx::platform::win32 {

// Both calls are missing from Windows 2000 and 32-bit XP; there the switch
// reports ERROR_PROC_NOT_FOUND (127) and changes nothing.
class Win32Redirection final : public Redirection {
public:
    [[nodiscard]] Status disable(std::uintptr_t& saved) override;
    [[nodiscard]] Status revert(std::uintptr_t saved) override;
};

}  // namespace vx::platform::win32
