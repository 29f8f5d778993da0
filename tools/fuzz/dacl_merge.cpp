// The merge of new entries into the DACL read from a key, fed arbitrary descriptor bytes.
// Input: one byte with the number of new entries (low two bits), six bytes per entry (kind and
// account, flags, access mask), then the descriptor bytes as the key would give them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "platform/Platform.h"
#include "platform/sim/SimWindows.h"
#include "security/KeyPermissions.h"

using vx::fuzz::Check;
using namespace vx::security;

namespace {

constexpr std::size_t kEntryBytes = 6;

// The four places of a canonical DACL, in order.
int Place(const Ace& ace) {
    const bool inherited = (ace.flags & kInheritedAce) != 0;
    return (inherited ? 2 : 0) + (IsDenyAce(ace.type) ? 0 : 1);
}

bool SameEntry(const Ace& ace, const PermissionEntry& entry) {
    return ace.type == entry.aceType && ace.flags == entry.aceFlags &&
           ace.mask == entry.accessMask && ace.sid == entry.sid;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vx::platform::sim::SimWindows windows;
    const vx::platform::ScopedInstall active(windows);
    if (size < 1) {
        return 0;
    }
    const std::vector<Sid> accounts{LocalSystemSid(), AdministratorsSid(), UsersSid(),
                                    PowerUsersSid(),  EveryoneSid(),       MakeSid(5, {11})};
    const std::size_t count = data[0] & 3U;
    if (size < 1 + count * kEntryBytes) {
        return 0;
    }
    std::vector<PermissionEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* at = data + 1 + i * kEntryBytes;
        PermissionEntry entry;
        entry.aceType = (at[0] & 1U) != 0 ? kAccessDeniedAce : kAccessAllowedAce;
        entry.sid = accounts[(at[0] >> 1U) % accounts.size()];
        entry.aceFlags = at[1];
        entry.accessMask = static_cast<std::uint32_t>(at[2] | (at[3] << 8U) | (at[4] << 16U)) |
                           (static_cast<std::uint32_t>(at[5]) << 24U);
        entries.push_back(entry);
    }
    const std::size_t used = 1 + count * kEntryBytes;
    const std::string oldDescriptor(reinterpret_cast<const char*>(data) + used, size - used);
    const auto given = entries;

    std::string merged;
    if (!BuildSecurityDescriptor(oldDescriptor, entries, merged)) {
        return 0;
    }
    Check(entries.size() == given.size(), "the entries are left as given");
    const auto old = ParseSecurityDescriptor(oldDescriptor);
    Check(old.has_value(), "a merge only of a readable descriptor");
    std::vector<Ace> oldEntries;
    if (old->daclPresent && old->dacl.has_value()) {
        oldEntries = *ParseAcl(*old->dacl);
    }

    const auto result = ParseSecurityDescriptor(merged);
    Check(result.has_value() && result->daclPresent && result->dacl.has_value(),
          "the merged descriptor carries a DACL");
    const auto acl = ParseAcl(*result->dacl);
    Check(acl.has_value(), "the merged DACL reads back");

    // Canonical: explicit deny, explicit allow, inherited deny, inherited allow.
    for (std::size_t i = 1; i < acl->size(); ++i) {
        Check(Place((*acl)[i - 1]) <= Place((*acl)[i]), "the merged DACL is canonical");
    }
    // Kept: every new entry, and every old one except an explicit entry for the account of a
    // new entry, which the new one replaces. Nothing else comes in.
    std::vector<bool> consumed(acl->size(), false);
    const auto take = [&](const auto& matches) {
        for (std::size_t i = 0; i < acl->size(); ++i) {
            if (!consumed[i] && matches((*acl)[i])) {
                consumed[i] = true;
                return true;
            }
        }
        return false;
    };
    for (const auto& entry : given) {
        Check(take([&](const Ace& ace) { return SameEntry(ace, entry); }), "a new entry is kept");
    }
    for (const auto& ace : oldEntries) {
        const bool replaced = (ace.flags & kInheritedAce) == 0 && IsEqual(given, ace.sid);
        if (!replaced) {
            Check(take([&](const Ace& kept) { return kept.raw == ace.raw; }),
                  "an old entry is kept");
        }
    }
    Check(std::all_of(consumed.begin(), consumed.end(), [](bool b) { return b; }),
          "the merged DACL holds nothing else");
    return 0;
}
