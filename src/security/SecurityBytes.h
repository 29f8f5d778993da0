#pragma once
// Security identifiers, access control lists and self-relative security descriptors in their
// binary Windows layout (little-endian), so that a key's DACL can be merged the same way on
// every build and compared byte for byte.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/SecurityLayout.h"

namespace vx::security {

inline constexpr std::uint8_t kAccessAllowedAce = platform::kAccessAllowedAceType;
inline constexpr std::uint8_t kAccessDeniedAce = platform::kAccessDeniedAceType;
inline constexpr std::uint8_t kContainerInheritAce = 0x02;
inline constexpr std::uint8_t kInheritedAce = 0x10;

inline constexpr std::uint16_t kSeDaclPresent = 0x0004;
inline constexpr std::uint16_t kSeDaclAutoInheritReq = 0x0100;
inline constexpr std::uint16_t kSeDaclAutoInherited = 0x0400;
inline constexpr std::uint16_t kSeDaclProtected = 0x1000;
inline constexpr std::uint16_t kSeSelfRelative = 0x8000;

inline constexpr std::uint32_t kDaclSecurityInformation = 4;
inline constexpr std::uint8_t kAclRevision = 2;

// A SID as its bytes (revision, count, 48-bit authority, sub-authorities).
using Sid = std::string;

Sid MakeSid(std::uint64_t authority, const std::vector<std::uint32_t>& subAuthorities);
// The length of the SID at `offset` when a whole one lies there, else 0.
using platform::SidLength;
// "S-1-5-32-544".
std::string SidText(const Sid& sid);

Sid LocalSystemSid();     // S-1-5-18
Sid AdministratorsSid();  // S-1-5-32-544
Sid UsersSid();           // S-1-5-32-545
Sid PowerUsersSid();      // S-1-5-32-547
Sid EveryoneSid();        // S-1-1-0

struct Ace {
    std::uint8_t type = kAccessAllowedAce;
    std::uint8_t flags = 0;
    std::uint32_t mask = 0;
    Sid sid;
    // The entry's bytes as stored, for entries copied unchanged (any ACE type).
    std::string raw;
};

// True for the entry types that deny access (plain, object and callback denies); every other
// type counts with the allows when a DACL is put in canonical order.
bool IsDenyAce(std::uint8_t type);

// Entries of an ACL in order. Parsing keeps every entry's bytes; building writes them back.
std::optional<std::vector<Ace>> ParseAcl(const std::string& bytes);
std::string BuildAcl(const std::vector<Ace>& entries);
// The bytes of one allow or deny entry: 8-byte header, then the SID.
std::string AceBytes(std::uint8_t type, std::uint8_t flags, std::uint32_t mask, const Sid& sid);

struct SecurityDescriptor {
    std::uint16_t control = 0;
    bool daclPresent = false;
    // Present but without an ACL is a null DACL: everyone may do everything.
    std::optional<std::string> dacl;
};

std::optional<SecurityDescriptor> ParseSecurityDescriptor(const std::string& bytes);
// A self-relative descriptor that carries only a DACL (owner, group and SACL left alone when
// it is set with DACL information only).
std::string BuildSecurityDescriptorBytes(std::uint16_t control,
                                         const std::optional<std::string>& dacl);

}  // namespace vx::security
