#include "platform/sim/SimAccounts.h"

#include <array>
#include <stdexcept>
#include <string_view>

#include "platform/TextRules.h"
#include "platform/sim/SimSids.h"
#include "platform/sim/SimToken.h"

namespace vx::platform::sim {

namespace {

struct WellKnown {
    const char* name;
    const char* domain;
    const char* sid;
};

// Measured with LookupAccountNameA under Wine 8.0.
constexpr std::array<WellKnown, 16> kWellKnown = {{
    {"Everyone", "", "S-1-1-0"},
    {"Local", "", "S-1-2-0"},
    {"CREATOR OWNER", "", "S-1-3-0"},
    {"CREATOR GROUP", "", "S-1-3-1"},
    {"NETWORK", "NT AUTHORITY", "S-1-5-2"},
    {"INTERACTIVE", "NT AUTHORITY", "S-1-5-4"},
    {"Authenticated Users", "NT AUTHORITY", "S-1-5-11"},
    {"SYSTEM", "NT AUTHORITY", "S-1-5-18"},
    {"LOCAL SERVICE", "NT AUTHORITY", "S-1-5-19"},
    {"NETWORK SERVICE", "NT AUTHORITY", "S-1-5-20"},
    {"Administrators", "BUILTIN", "S-1-5-32-544"},
    {"Users", "BUILTIN", "S-1-5-32-545"},
    {"Guests", "BUILTIN", "S-1-5-32-546"},
    {"Power Users", "BUILTIN", "S-1-5-32-547"},
    {"BUILTIN", nullptr, "S-1-5-32"},
    {"", nullptr, "S-1-5-32"},
}};

}  // namespace

std::optional<std::string> SimAccounts::lookupAccountSid(const std::string& name) {
    const std::size_t slash = name.find('\\');
    const bool qualified = slash != std::string::npos;
    const std::string_view domain = qualified ? std::string_view(name).substr(0, slash) : "";
    const std::string_view bare = qualified ? std::string_view(name).substr(slash + 1) : name;

    for (const WellKnown& account : kWellKnown) {
        if (!EqualsNoCase(bare, account.name)) continue;
        // A domain name resolves only on its own, an account only behind its own domain.
        if (account.domain == nullptr ? !qualified
                                      : !qualified || EqualsNoCase(domain, account.domain)) {
            return SidBytes(account.sid);
        }
        return std::nullopt;
    }
    if (!bare.empty() && EqualsNoCase(bare, kSimUserName)) return TokenUserSid();
    if (!qualified && EqualsNoCase(name, kSimComputerName)) return SidBytes("S-1-5-21-0-0-0");
    return std::nullopt;
}

}  // namespace vx::platform::sim
