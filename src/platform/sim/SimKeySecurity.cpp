#include "platform/sim/SimKeySecurity.h"

#include "platform/sim/SimSids.h"
#include "platform/sim/SimToken.h"

// Measured under Wine 8.0 (64-bit and 32-bit prefixes alike, a 32-bit probe):
// - A key has no descriptor of its own until one is set: RegGetKeySecurity reports the same
//   default for every key (HKLM\Software\X in both views, HKCR\CLSID\{g}, HKCU keys, the
//   roots), and nothing is inherited from a parent's container-inherit entries.
// - RegSetKeySecurity(DACL) on such a key gives it owner and group S-1-5-21-0-0-0-513, the
//   token's defaults; setting only the owner also gives it the token's default DACL.
// - The control word read back is the one last set (SE_DACL_AUTO_INHERIT_REQ,
//   _AUTO_INHERITED and _PROTECTED alike), with SE_DACL_PRESENT: setting the owner with a
//   bare descriptor drops a DACL's protection. The ACL bytes come back exactly as given,
//   even with an ACL revision Windows would refuse.
// - Reading: owner at 20, then group, then DACL; SE_DACL_PRESENT is in the control word
//   even when the DACL is not asked for; information naming no part gives the header alone
//   (the size query for it answers 0 bytes needed, the call itself wants 20).
// - Setting: 87 for information without owner, group, DACL or SACL; 1338 when it names an
//   owner or group the descriptor lacks; 1305 for a descriptor revision other than 1.

namespace vx::platform::sim {

namespace {

constexpr std::size_t kDescriptorHeader = 20;
constexpr std::size_t kAclHeader = 8;
constexpr std::size_t kAceHeader = 8;

std::uint32_t readLe(std::string_view bytes, std::size_t offset, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    }
    return value;
}

void writeLe(std::string& bytes, std::size_t offset, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// The ACL at `offset` when it and every entry in it lie inside `bytes`.
std::optional<std::string_view> wholeAcl(std::string_view bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < kAclHeader) return std::nullopt;
    const std::size_t size = readLe(bytes, offset + 2, 2);
    if (size < kAclHeader || size > bytes.size() - offset) return std::nullopt;
    const std::string_view acl = bytes.substr(offset, size);
    const std::size_t count = readLe(acl, 4, 2);
    std::size_t at = kAclHeader;
    for (std::size_t i = 0; i < count; ++i) {
        if (acl.size() - at < kAceHeader) return std::nullopt;
        const std::size_t aceSize = readLe(acl, at + 2, 2);
        if (aceSize < kAceHeader || aceSize > acl.size() - at) return std::nullopt;
        const std::uint8_t type = static_cast<std::uint8_t>(acl[at]);
        if ((type == kAccessAllowedAceType || type == kAccessDeniedAceType) &&
            sidLength(acl.substr(at, aceSize), kAceHeader) == 0) {
            return std::nullopt;
        }
        at += aceSize;
    }
    return acl;
}

KeySecurity makeDefault() {
    const std::string users = sidBytes("S-1-5-32-545");
    const std::string administrators = sidBytes("S-1-5-32-544");
    std::string acl(kAclHeader, '\0');
    acl[0] = 2;
    const auto addEntry = [&acl](std::uint8_t flags, std::uint32_t mask, const std::string& sid) {
        std::string entry(kAceHeader, '\0');
        entry[0] = static_cast<char>(kAccessAllowedAceType);
        entry[1] = static_cast<char>(flags);
        writeLe(entry, 2, static_cast<std::uint32_t>(kAceHeader + sid.size()), 2);
        writeLe(entry, 4, mask, 4);
        acl += entry + sid;
    };
    addEntry(0x0A, 0x80000000, users);  // container inherit, inherit only: GENERIC_READ
    addEntry(0x00, 0x000F003F, administrators);
    writeLe(acl, 2, static_cast<std::uint32_t>(acl.size()), 2);
    writeLe(acl, 4, 2, 2);
    return KeySecurity{kSeDaclPresent, administrators, administrators, acl};
}

}  // namespace

const KeySecurity& defaultKeySecurity() {
    static const KeySecurity security = makeDefault();
    return security;
}

Status parseDescriptor(std::string_view bytes, DescriptorParts& parts) {
    if (bytes.size() < kDescriptorHeader) return kErrorInvalidSecurityDescriptor;
    const std::uint16_t control = static_cast<std::uint16_t>(readLe(bytes, 2, 2));
    if ((control & kSeSelfRelative) == 0) return kErrorInvalidSecurityDescriptor;
    DescriptorParts read;
    read.control = control;
    for (const std::size_t field : {std::size_t{4}, std::size_t{8}}) {
        const std::size_t offset = readLe(bytes, field, 4);
        if (offset == 0) continue;
        const std::size_t length = sidLength(bytes, offset);
        if (length == 0) return kErrorInvalidSecurityDescriptor;
        (field == 4 ? read.owner : read.group) = std::string(bytes.substr(offset, length));
    }
    const std::size_t saclOffset = readLe(bytes, 12, 4);
    if (saclOffset != 0 && !wholeAcl(bytes, saclOffset)) return kErrorInvalidSecurityDescriptor;
    read.daclPresent = (control & kSeDaclPresent) != 0;
    const std::size_t daclOffset = readLe(bytes, 16, 4);
    if (daclOffset != 0) {
        const std::optional<std::string_view> acl = wholeAcl(bytes, daclOffset);
        if (!acl) return kErrorInvalidSecurityDescriptor;
        if (read.daclPresent) read.dacl = std::string(*acl);
    }
    if (bytes[0] != 1) return kErrorUnknownRevision;
    parts = std::move(read);
    return kSuccess;
}

std::vector<AceEntry> aceEntries(std::string_view acl) {
    std::vector<AceEntry> entries;
    if (acl.size() < kAclHeader) return entries;
    const std::size_t count = readLe(acl, 4, 2);
    std::size_t at = kAclHeader;
    for (std::size_t i = 0; i < count && acl.size() - at >= kAceHeader; ++i) {
        const std::size_t size = readLe(acl, at + 2, 2);
        if (size < kAceHeader || size > acl.size() - at) break;
        AceEntry entry;
        entry.type = static_cast<std::uint8_t>(acl[at]);
        entry.flags = static_cast<std::uint8_t>(acl[at + 1]);
        entry.mask = readLe(acl, at + 4, 4);
        if (entry.type == kAccessAllowedAceType || entry.type == kAccessDeniedAceType) {
            const std::string_view body = acl.substr(at, size);
            entry.sid = body.substr(kAceHeader, sidLength(body, kAceHeader));
        }
        entries.push_back(entry);
        at += size;
    }
    return entries;
}

KeySecurity applyDescriptor(const KeySecurity* current, const DescriptorParts& given,
                            std::uint32_t information) {
    KeySecurity result;
    result.control =
        static_cast<std::uint16_t>((given.control & ~kSeSelfRelative) | kSeDaclPresent);
    if ((information & kOwnerSecurityInformation) != 0 && given.owner) {
        result.owner = *given.owner;
    } else {
        result.owner = current != nullptr ? current->owner : tokenOwnerSid();
    }
    if ((information & kGroupSecurityInformation) != 0 && given.group) {
        result.group = *given.group;
    } else {
        result.group = current != nullptr ? current->group : tokenPrimaryGroupSid();
    }
    if ((information & kDaclSecurityInformation) != 0) {
        result.dacl = given.daclPresent ? given.dacl : std::nullopt;
    } else {
        result.dacl = current != nullptr ? current->dacl : std::optional(tokenDefaultDacl());
    }
    return result;
}

std::string descriptorBytes(const KeySecurity& security, std::uint32_t information) {
    const std::uint32_t parts =
        information &
        (kOwnerSecurityInformation | kGroupSecurityInformation | kDaclSecurityInformation);
    std::string bytes(kDescriptorHeader, '\0');
    bytes[0] = 1;
    writeLe(bytes, 2, static_cast<std::uint32_t>(security.control | kSeSelfRelative), 2);
    const auto append = [&bytes](std::size_t field, const std::string& part) {
        writeLe(bytes, field, static_cast<std::uint32_t>(bytes.size()), 4);
        bytes += part;
    };
    if ((parts & kOwnerSecurityInformation) != 0 && !security.owner.empty())
        append(4, security.owner);
    if ((parts & kGroupSecurityInformation) != 0 && !security.group.empty())
        append(8, security.group);
    if ((parts & kDaclSecurityInformation) != 0 && security.dacl) append(16, *security.dacl);
    return bytes;
}

}  // namespace vx::platform::sim
