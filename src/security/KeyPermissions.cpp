#include "security/KeyPermissions.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "common/OpSys.h"
#include "common/ReportHeaders.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryPaths.h"

namespace vx::security {
namespace {

// 0x60000: the key's DACL is read back before it is rewritten, so READ_CONTROL goes with
// WRITE_DAC.
constexpr std::uint32_t kRewriteDacl = platform::kReadControl | platform::kWriteDac;

constexpr std::size_t kLargestAcl = 0xFFFF;

// The roots whose keys may be widened. Any other top key is refused: the same path under
// another root (HKLM, say) names an unrelated key, which must never be opened up. The two
// lines stay as technicians know them from the logs, although nothing is defaulted any more.
std::optional<platform::RegistryHandle> PermissionRoot(const std::string& topKey) {
    const std::string upper = UCase(topKey);
    if (upper == "HKCU") return platform::kCurrentUser;
    if (upper == "HKLM") return platform::kLocalMachine;
    if (upper == "HKU") return platform::kUsers;
    if (upper == "HKCR") return platform::kClassesRoot;
    DPrint("SetPerm\\RegSetKeyPermission - Bad skey passed:  " + topKey);
    DPrint("\tDefaulting to HKLM...");
    return std::nullopt;
}

// The entry's group in canonical order: 0 explicit deny, 1 explicit allow, 2 inherited deny,
// 3 inherited allow.
int CanonicalGroup(const Ace& ace) {
    return ((ace.flags & kInheritedAce) != 0 ? 2 : 0) + (IsDenyAce(ace.type) ? 0 : 1);
}

bool AtLeastWindows2000() {
    const clsOpSys os;
    return os.PlatformID() == 2 && os.MajorVersion() > 4;
}

}  // namespace

std::uint32_t PermissionMask(const std::string& permission) {
    if (permission == "R" || permission == "Read" || permission == "X" || permission == "Execute") {
        return platform::kKeyRead;
    }
    if (permission == "W" || permission == "Write") {
        return platform::kKeyWrite;
    }
    return platform::kKeyAllAccess;
}

std::optional<Sid> AccountSid(const std::string& account) {
    if (EqualsNoCase(account, "System")) return LocalSystemSid();
    if (EqualsNoCase(account, "Administrators")) return AdministratorsSid();
    if (EqualsNoCase(account, "Power Users")) return PowerUsersSid();
    if (EqualsNoCase(account, "Users")) return UsersSid();
    return platform::Current().accounts().lookupAccountSid(account);
}

bool GetRegKeyPermissions(const std::string& topKey, const std::string& keyPath,
                          std::optional<std::uint32_t> view) {
    bool anyFailed = false;
    for (const char* name : {"", "System", "Administrators", "Power Users", "Users"}) {
        try {
            std::string account = name;
            std::string accessType = "Allow";
            if (!RegSetKeyPermission(topKey, keyPath, account, accessType, "ALL", view)) {
                anyFailed = true;
            }
        } catch (...) {
            ReportError(report::kGetRegKeyPermissions, CurrentError());
            anyFailed = true;
        }
    }
    return anyFailed;
}

bool RegSetKeyPermission(const std::string& topKey, const std::string& keyPath,
                         std::string& account, std::string& accessType,
                         const std::string& permission, std::optional<std::uint32_t> view) {
    try {
        const auto root = PermissionRoot(topKey);
        if (account.empty()) {
            account = platform::Current().environment().variable("username");
        }
        if (accessType.empty()) {
            accessType = "Allow";
        }
        if (!root.has_value()) {
            return false;
        }
        // The DACL changed must be the one of the key the deletion works on: same view.
        std::string path = keyPath;
        const std::uint32_t viewFlag = view.has_value() ? *view : registry::ApplyViewRule(path);
        registry::RegistryKey key;
        if (key.open(*root, path, kRewriteDacl | viewFlag) != platform::kSuccess) {
            return false;
        }
        std::vector<PermissionEntry> entries{
            {account,
             PermissionMask(permission),
             kContainerInheritAce,
             accessType == "Deny" ? kAccessDeniedAce : kAccessAllowedAce,
             {}}};
        return UpdatePermissionsOfRegistryKey(key.handle(), entries);
    } catch (...) {
        ReportError(report::kRegSetKeyPermission, CurrentError());
        return false;
    }
}

bool UpdatePermissionsOfRegistryKey(platform::RegistryHandle key,
                                    std::vector<PermissionEntry>& entries) {
    auto& registry = platform::Current().registry();
    std::string oldDescriptor;
    std::string newDescriptor;
    const bool done =
        registry.getKeySecurity(key, kDaclSecurityInformation, oldDescriptor) ==
            platform::kSuccess &&
        !oldDescriptor.empty() && BuildSecurityDescriptor(oldDescriptor, entries, newDescriptor) &&
        registry.setKeySecurity(key, kDaclSecurityInformation, newDescriptor) == platform::kSuccess;
    if (done) {
        DPrint("SetPerm\\UpdatePermissionsOfRegistryKey: " + ToText(true));
    } else {
        DPrint("\t- result: " + ToText(false));
    }
    return done;
}

bool BuildSecurityDescriptor(const std::string& oldDescriptor,
                             std::vector<PermissionEntry>& entries, std::string& newDescriptor) {
    const bool windows2000 = AtLeastWindows2000();
    const auto old = ParseSecurityDescriptor(oldDescriptor);
    if (!old.has_value()) {
        return false;
    }
    std::vector<Ace> oldEntries;
    if (old->daclPresent && old->dacl.has_value()) {
        auto parsed = ParseAcl(*old->dacl);
        if (!parsed.has_value()) {
            return false;
        }
        oldEntries = std::move(*parsed);
    }
    // SIDs looked up here belong to this call only.
    std::vector<std::size_t> lookedUp;
    const auto forgetLookups = [&] {
        for (const auto index : lookedUp) {
            entries[index].sid.clear();
        }
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].sid.empty()) {
            const auto sid = AccountSid(entries[i].account);
            if (!sid.has_value()) {
                forgetLookups();
                return false;
            }
            entries[i].sid = *sid;
            lookedUp.push_back(i);
        }
    }

    // New denies, the old entries (an explicit one for the account of a new entry is replaced
    // by it), new allows; then every entry moves to its group of the canonical order (explicit
    // deny, explicit allow, inherited deny, inherited allow), keeping its place within it, so
    // that an old list out of that order does not leave the merged one out of it.
    std::vector<Ace> merged;
    bool ok = true;
    for (const auto& entry : entries) {
        if (entry.aceType == kAccessDeniedAce) {
            ok = ok && ConstructAndAddAce(merged, entry.aceType, entry.aceFlags, entry.accessMask,
                                          entry.sid);
        }
    }
    for (const auto& ace : oldEntries) {
        if ((ace.flags & kInheritedAce) != 0 || !IsEqual(entries, ace.sid)) {
            merged.push_back(ace);
        }
    }
    for (const auto& entry : entries) {
        if (entry.aceType == kAccessAllowedAce) {
            ok = ok && ConstructAndAddAce(merged, entry.aceType, entry.aceFlags, entry.accessMask,
                                          entry.sid);
        }
    }
    std::stable_sort(merged.begin(), merged.end(), [](const Ace& a, const Ace& b) {
        return CanonicalGroup(a) < CanonicalGroup(b);
    });

    std::uint16_t control = 0;
    if (windows2000) {
        if ((old->control & kSeDaclAutoInherited) != 0) {
            control = kSeDaclAutoInheritReq | kSeDaclAutoInherited;
        } else if ((old->control & kSeDaclProtected) != 0) {
            control = kSeDaclProtected;
        }
    }
    forgetLookups();
    // An ACL's size and entry count are 16-bit: a list that outgrows them cannot be written.
    const std::string acl = BuildAcl(merged);
    if (!ok || acl.size() > kLargestAcl) {
        return false;
    }
    newDescriptor = BuildSecurityDescriptorBytes(control, acl);
    return true;
}

bool ConstructAndAddAce(std::vector<Ace>& acl, std::uint8_t aceType, std::uint8_t aceFlags,
                        std::uint32_t accessMask, const Sid& sid) {
    try {
        if (SidLength(sid) == 0) {
            return false;
        }
        acl.push_back(
            {aceType, aceFlags, accessMask, sid, AceBytes(aceType, aceFlags, accessMask, sid)});
        return true;
    } catch (...) {
        ReportError(report::kConstructAndAddAce, CurrentError());
        return false;
    }
}

bool IsEqual(const std::vector<PermissionEntry>& entries, const Sid& sid) {
    try {
        for (const auto& entry : entries) {
            if (!sid.empty() && entry.sid == sid) {
                return true;
            }
        }
    } catch (...) {
        ReportError(report::kIsEqual, CurrentError());
    }
    return false;
}

}  // namespace vx::security
