#pragma once
// Widening a registry key's DACL: new explicit entries are merged into the existing list in
// canonical order (explicit denies, new ones first; explicit allows, new ones last; inherited
// denies; inherited allows; an old list out of that order is put in it), and the list is
// written back. Owner, group and audit data are never touched.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "security/SecurityBytes.h"

namespace vx::security {

struct PermissionEntry {
    std::string account;
    std::uint32_t accessMask = 0;
    std::uint8_t aceFlags = kContainerInheritAce;
    std::uint8_t aceType = kAccessAllowedAce;
    Sid sid;  // looked up from `account` when empty
};

// "R"/"Read", "X"/"Execute" give KEY_READ, "W"/"Write" KEY_WRITE, anything else KEY_ALL_ACCESS.
std::uint32_t PermissionMask(const std::string& permission);

// The SID of an account: the built-in groups through their well-known SIDs (so localised
// systems work), everything else by name on the local system.
std::optional<Sid> AccountSid(const std::string& account);

// Full control for the current user, System, Administrators, Power Users and Users, each on
// its own (one failing does not stop the others). True when any of them failed. `view` is the
// registry view of the key (the view rule decides when it is not given).
bool GetRegKeyPermissions(const std::string& topKey, const std::string& keyPath,
                          std::optional<std::uint32_t> view = std::nullopt);

// One entry for one account; an empty account is the current user, an empty access type
// "Allow" (both written back). True on success. Only keys below HKLM, HKCU, HKU and HKCR are
// widened: any other top key is logged and refused (false), and no key is opened.
bool RegSetKeyPermission(const std::string& topKey, const std::string& keyPath,
                         std::string& account, std::string& accessType,
                         const std::string& permission,
                         std::optional<std::uint32_t> view = std::nullopt);

bool UpdatePermissionsOfRegistryKey(platform::RegistryHandle key,
                                    std::vector<PermissionEntry>& entries);

// The merged descriptor for `oldDescriptor` (self-relative bytes) and the new entries.
bool BuildSecurityDescriptor(const std::string& oldDescriptor,
                             std::vector<PermissionEntry>& entries, std::string& newDescriptor);

bool ConstructAndAddAce(std::vector<Ace>& acl, std::uint8_t aceType, std::uint8_t aceFlags,
                        std::uint32_t accessMask, const Sid& sid);

// True when the SID is the SID of one of the entries.
bool IsEqual(const std::vector<PermissionEntry>& entries, const Sid& sid);

}  // namespace vx::security
