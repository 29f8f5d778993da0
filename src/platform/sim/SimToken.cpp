#include "platform/sim/SimToken.h"

#include <array>

#include "platform/Registry.h"
#include "platform/sim/SimSids.h"

// Wine 8's access check, as measured with a 32-bit probe (64-bit and 32-bit prefixes): a
// handle is checked once, when a key is opened or an existing key is "created"; later
// changes of the descriptor leave open handles as they are.
// - An access mask of 0 is never checked, nor is a key without a descriptor of its own
//   (every fresh key), nor one with a null DACL: the handle gets what was asked, and
//   KEY_ALL_ACCESS for MAXIMUM_ALLOWED.
// - The owner, when the token holds its SID, has DELETE, READ_CONTROL, WRITE_DAC,
//   WRITE_OWNER and SYNCHRONIZE whatever the DACL says. Keys that got a descriptor through
//   RegSetKeySecurity are owned by the token's S-1-5-21-0-0-0-513, so deleting such a key
//   or rewriting its DACL always passes; with an owner the token lacks (S-1-5-18) they
//   need the DACL like anything else.
// - The DACL is read in order, inherit-only entries skipped, generic rights mapped: an
//   allow entry adds its rights (less those denied before); the first deny entry that
//   names a right asked for ends the check, so a deny after an allow that already granted
//   the right changes nothing, and a deny of a right the owner holds anyway ends it too.
//   Success when every right asked for was gathered.
// - MAXIMUM_ALLOWED: every allow entry adds, every deny entry takes away, in any order; the
//   handle is refused only when nothing is left (the owner's SYNCHRONIZE usually is).
// - A descriptor without owner or group refuses every handle.

namespace vx::platform::sim {

namespace {

constexpr std::uint32_t kGenericRead = 0x80000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
constexpr std::uint32_t kGenericExecute = 0x20000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kOwnerRights = 0x001F0000;  // STANDARD_RIGHTS_REQUIRED | SYNCHRONIZE

std::uint32_t MapGeneric(std::uint32_t access) {
    if ((access & (kGenericRead | kGenericExecute)) != 0) access |= kKeyRead;
    if ((access & kGenericWrite) != 0) access |= kKeyWrite;
    if ((access & kGenericAll) != 0) access |= kKeyAllAccess;
    return access & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll);
}

const std::array<std::string, 9>& TokenSids() {
    static const std::array<std::string, 9> sids = {
        SidBytes(kUserSid),       SidBytes("S-1-1-0"),      SidBytes("S-1-2-0"),
        SidBytes("S-1-5-4"),      SidBytes("S-1-5-11"),     SidBytes("S-1-5-21-0-0-0-513"),
        SidBytes("S-1-5-32-544"), SidBytes("S-1-5-32-545"), SidBytes("S-1-5-5-0-0"),
    };
    return sids;
}

// The DACL walk of a descriptor that has owner, group and a DACL.
std::uint32_t WalkDacl(const KeySecurity& security, std::uint32_t desired) {
    const bool maximum = (desired & kMaximumAllowed) != 0;
    std::uint32_t current = 0;
    std::uint32_t denied = 0;
    if (TokenHasSid(security.owner)) {
        current |= kOwnerRights;
        if (desired == current) return current;
    }
    for (const AceEntry& entry : AceEntries(*security.dacl)) {
        if ((entry.flags & kInheritOnlyAce) != 0 || !TokenHasSid(entry.sid)) continue;
        const std::uint32_t rights = MapGeneric(entry.mask);
        if (entry.type == kAccessDeniedAceType) {
            if (maximum) {
                denied |= rights;
            } else {
                denied |= rights & ~current;
                if ((desired & rights) != 0) break;
            }
        } else if (entry.type == kAccessAllowedAceType) {
            current |= maximum ? rights : rights & ~denied;
        }
    }
    if (maximum) return current & ~denied;
    return (current & desired) == desired ? desired : 0;
}

}  // namespace

std::string TokenUserSid() { return TokenSids()[0]; }
std::string TokenOwnerSid() { return SidBytes("S-1-5-21-0-0-0-513"); }
std::string TokenPrimaryGroupSid() { return TokenOwnerSid(); }

std::string TokenDefaultDacl() {
    // Two allow entries of GENERIC_ALL (0x10000000), each: type, flags, size, mask, SID.
    std::string entries;
    for (const std::string& sid : {SidBytes("S-1-5-18"), TokenOwnerSid()}) {
        const char size = static_cast<char>(8 + sid.size());
        entries += std::string{'\0', '\0', size, '\0', '\0', '\0', '\0', '\x10'} + sid;
    }
    const char size = static_cast<char>(8 + entries.size());
    return std::string{'\x02', '\0', size, '\0', '\x02', '\0', '\0', '\0'} + entries;
}

bool TokenHasSid(std::string_view sid) {
    if (sid.empty()) return false;
    for (const std::string& held : TokenSids()) {
        if (held == sid) return true;
    }
    return false;
}

bool CheckKeyAccess(const KeySecurity* security, std::uint32_t access, std::uint32_t& granted) {
    const std::uint32_t desired = MapGeneric(access) & ~(kKeyWow64_64Key | kKeyWow64_32Key);
    if (desired == 0) {
        granted = 0;
        return true;
    }
    if (security != nullptr && (security->owner.empty() || security->group.empty())) return false;
    if (security == nullptr || !security->dacl) {
        granted = (desired & kMaximumAllowed) != 0 ? kKeyAllAccess : desired;
        return true;
    }
    granted = WalkDacl(*security, desired);
    return granted != 0;
}

}  // namespace vx::platform::sim
