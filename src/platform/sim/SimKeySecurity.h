#pragma once
// Registry key security descriptors as Wine 8 keeps them, and the self-relative bytes
// RegGetKeySecurity and RegSetKeySecurity exchange (see SimKeySecurity.cpp for what was
// measured).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SecurityLayout.h"
#include "platform/Types.h"

namespace vx::platform::sim {

inline constexpr std::uint32_t kOwnerSecurityInformation = 1;
inline constexpr std::uint32_t kGroupSecurityInformation = 2;
inline constexpr std::uint32_t kDaclSecurityInformation = 4;
inline constexpr std::uint32_t kSaclSecurityInformation = 8;

inline constexpr std::uint16_t kSeDaclPresent = 0x0004;
inline constexpr std::uint16_t kSeSelfRelative = 0x8000;

inline constexpr std::uint8_t kInheritOnlyAce = 0x08;

// A descriptor a key holds as its own. Every one has a DACL (present, possibly null).
struct KeySecurity {
    std::uint16_t control = kSeDaclPresent;  // without SE_SELF_RELATIVE
    std::string owner;                       // SID bytes
    std::string group;
    std::optional<std::string> dacl;  // ACL bytes; none is a null DACL: anyone may do anything
};

// The parts a self-relative descriptor carries.
struct DescriptorParts {
    std::uint16_t control = 0;
    std::optional<std::string> owner;
    std::optional<std::string> group;
    bool daclPresent = false;
    std::optional<std::string> dacl;
};

// One entry of an ACL, viewed in place.
struct AceEntry {
    std::uint8_t type = 0;
    std::uint8_t flags = 0;
    std::uint32_t mask = 0;
    std::string_view sid;  // empty for entry types other than allow and deny
};

// What a key without a descriptor of its own reports, the same for every key Wine makes:
// owner and group Administrators, D:(A;CIIO;GR;;;BU)(A;;KA;;;BA).
const KeySecurity& DefaultKeySecurity();

// Reads self-relative bytes. 1338 when they are short, not self-relative or name parts that
// lie outside them (an ACL whose entries overrun it included); 1305 for a revision other
// than 1.
[[nodiscard]] Status ParseDescriptor(std::string_view bytes, DescriptorParts& parts);

// The entries of a well-formed ACL (see ParseDescriptor); reading stops at an entry that
// does not fit.
std::vector<AceEntry> AceEntries(std::string_view acl);

// RegSetKeySecurity: the descriptor a key holds after `given` was set with `information`
// (1 owner, 2 group, 4 DACL) on a key whose own descriptor is `current` (nullptr: none
// yet). Parts not set are kept from `current`, or, for a key without one, taken from the
// caller's token (see SimToken.h): never from the default above. The control word is the
// given one. Setting the DACL without SE_DACL_PRESENT sets a null DACL.
KeySecurity ApplyDescriptor(const KeySecurity* current, const DescriptorParts& given,
                            std::uint32_t information);

// RegGetKeySecurity: self-relative bytes with the parts `information` asks for, in the
// order owner, group, DACL; the control word is always the whole one.
std::string DescriptorBytes(const KeySecurity& security, std::uint32_t information);

}  // namespace vx::platform::sim
