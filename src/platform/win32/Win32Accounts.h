#pragma once
#include "platform/Accounts.h"

namespace vx::platform::win32 {

// LookupAccountNameA on the local system. Any failure (an unknown name, a lookup the system
// cannot make) is "no such account".
class Win32Accounts final : public Accounts {
public:
    [[nodiscard]] std::optional<std::string> lookupAccountSid(const std::string& name) override;
};

}  // namespace vx::platform::win32
