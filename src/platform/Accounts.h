#pragma once
#include <optional>
#include <string>

namespace vx::platform {

// Account names of the local system.
class Accounts {
public:
    Accounts() = default;
    Accounts(const Accounts&) = delete;
    Accounts& operator=(const Accounts&) = delete;
    virtual ~Accounts() = default;

    // LookupAccountNameA on the local system: the account's SID as bytes, nothing when the
    // name is unknown.
    [[nodiscard]] virtual std::optional<std::string> lookupAccountSid(const std::string& name) = 0;
};

}  // namespace vx::platform
