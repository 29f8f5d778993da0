#pragma once
// The caller's token in the simulated Windows: Wine's user, an elevated administrator. Who
// it is for access checks, what it gives descriptors it completes, and the access check a
// key's descriptor undergoes when a handle to it is made.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sim/SimKeySecurity.h"

namespace vx::platform::sim {

// The user, S-1-5-21-0-0-0-1000 (HKEY_CURRENT_USER is HKU\<this SID>).
inline constexpr const char* kUserSid = "S-1-5-21-0-0-0-1000";

std::string TokenUserSid();
// S-1-5-21-0-0-0-513, both the default owner and the primary group, and a group of the token.
std::string TokenOwnerSid();
std::string TokenPrimaryGroupSid();
// D:(A;;GA;;;SY)(A;;GA;;;S-1-5-21-0-0-0-513) as ACL bytes.
std::string TokenDefaultDacl();
// The user or one of the token's groups (all of them enabled).
bool TokenHasSid(std::string_view sid);

// The rights a new handle to a key with `security` (nullptr: no descriptor of its own)
// holds for `access`, generic rights mapped and view flags dropped; false when the system
// refuses the handle (status 5).
[[nodiscard]] bool CheckKeyAccess(const KeySecurity* security, std::uint32_t access,
                                  std::uint32_t& granted);

}  // namespace vx::platform::sim
