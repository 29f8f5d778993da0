#pragma once
#include <cstdint>

#include "platform/Types.h"

namespace vx::platform {

// The WoW64 file-system redirection switch of the calling thread.
class Redirection {
public:
    Redirection() = default;
    Redirection(const Redirection&) = delete;
    Redirection& operator=(const Redirection&) = delete;
    virtual ~Redirection() = default;

    // Wow64DisableWow64FsRedirection: 0 on success, else the error (the call missing from
    // the system gives ERROR_PROC_NOT_FOUND, 127). `saved` receives the value to hand back.
    [[nodiscard]] virtual Status disable(std::uintptr_t& saved) = 0;
    // Wow64RevertWow64FsRedirection with the value `disable` saved.
    [[nodiscard]] virtual Status revert(std::uintptr_t saved) = 0;
};

}  // namespace vx::platform
