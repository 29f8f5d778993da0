#pragma once
// LookupAccountNameA of the simulated Windows, on a machine SIMPC whose user is "tech".

#include <optional>
#include <string>

#include "platform/Accounts.h"

namespace vx::platform::sim {

// Names as Wine 8 resolves them, without regard to case and never trimmed:
// - the built-in and well-known accounts, alone or behind their own domain ("BUILTIN\Users",
//   "NT AUTHORITY\SYSTEM"); behind any other domain they are unknown. Everyone, Local,
//   CREATOR OWNER and CREATOR GROUP have no domain, so only the bare name works.
// - the user, "tech", behind any domain or none ("SIMPC\tech", "\tech").
// - the domains themselves: "BUILTIN" and the empty name give S-1-5-32, "SIMPC" the
//   machine's S-1-5-21-0-0-0.
// "Administrator", "Guest", "LocalSystem", "NT AUTHORITY" and "None" are unknown.
class SimAccounts final : public Accounts {
public:
    [[nodiscard]] std::optional<std::string> lookupAccountSid(const std::string& name) override;
};

inline constexpr const char* kSimUserName = "tech";
inline constexpr const char* kSimComputerName = "SIMPC";

}  // namespace vx::platform::sim
