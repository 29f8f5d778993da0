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

KeySecurity MakeDefault() {
    const std::string users = SidBytes("S-1-5-32-545");
    const std::string administrators = SidBytes("S-1-5-32-544");
    std::string acl(kAclHeaderSize, '\0');
    acl[0] = 2;
    const auto addEntry = [&acl](std::uint8_t flags, std::uint32_t mask, const std::string& sid) {
        std::string entry(kAceHeaderSize, '\0');
        entry[0] = static_cast<char>(kAccessAllowedAceType);
        entry[1] = static_cast<char>(flags);
        WriteLe(entry, 2, static_cast<std::uint32_t>(kAceHeaderSize + sid.size()), 2);
        WriteLe(entry, 4, mask, 4);
        acl += entry + sid;
    };
    addEntry(0x0A, 0x80000000, users);  // container inherit, inherit only: GENERIC_READ
    addEntry(0x00, 0x000F003F, administrators);
    WriteLe(acl, 2, static_cast<std::uint32_t>(acl.size()), 2);
    WriteLe(acl, 4, 2, 2);
    return KeySecurity{kSeDaclPresent, administrators, administrators, acl};
}

}  // namespace

const KeySecurity& DefaultKeySecurity() {
    static const KeySecurity security = MakeDefault();
    return security;
}

Status ParseDescriptor(std::string_view bytes, DescriptorParts& parts) {
    if (bytes.size() < kDescriptorHeaderSize) return kErrorInvalidSecurityDescriptor;
    const std::uint16_t control = static_cast<std::uint16_t>(ReadLe(bytes, 2, 2));
    if ((control & kSeSelfRelative) == 0) return kErrorInvalidSecurityDescriptor;
    DescriptorParts read;
    read.control = control;
    for (const std::size_t field : {kOwnerOffsetField, kGroupOffsetField}) {
        const std::size_t offset = ReadLe(bytes, field, 4);
        if (offset == 0) continue;
        const std::size_t length = SidLength(bytes, offset);
        if (length == 0) return kErrorInvalidSecurityDescriptor;
        (field == kOwnerOffsetField ? read.owner : read.group) =
            std::string(bytes.substr(offset, length));
    }
    const std::size_t saclOffset = ReadLe(bytes, kSaclOffsetField, 4);
    if (saclOffset != 0 && !WholeAcl(bytes, saclOffset)) return kErrorInvalidSecurityDescriptor;
    read.daclPresent = (control & kSeDaclPresent) != 0;
    const std::size_t daclOffset = ReadLe(bytes, kDaclOffsetField, 4);
    if (daclOffset != 0) {
        const std::optional<std::string_view> acl = WholeAcl(bytes, daclOffset);
        if (!acl) return kErrorInvalidSecurityDescriptor;
        if (read.daclPresent) read.dacl = std::string(*acl);
    }
    if (bytes[0] != 1) return kErrorUnknownRevision;
    parts = std::move(read);
    return kSuccess;
}

std::vector<AceEntry> AceEntries(std::string_view acl) {
    std::vector<AceEntry> entries;
    if (acl.size() < kAclHeaderSize) return entries;
    const std::size_t count = ReadLe(acl, 4, 2);
    std::size_t at = kAclHeaderSize;
    for (std::size_t i = 0; i < count && acl.size() - at >= kAceHeaderSize; ++i) {
        const std::size_t size = ReadLe(acl, at + 2, 2);
        if (size < kAceHeaderSize || size > acl.size() - at) break;
        AceEntry entry;
        entry.type = static_cast<std::uint8_t>(acl[at]);
        entry.flags = static_cast<std::uint8_t>(acl[at + 1]);
        entry.mask = ReadLe(acl, at + 4, 4);
        if (entry.type == kAccessAllowedAceType || entry.type == kAccessDeniedAceType) {
            const std::string_view body = acl.substr(at, size);
            entry.sid = body.substr(kAceHeaderSize, SidLength(body, kAceHeaderSize));
        }
        entries.push_back(entry);
        at += size;
    }
    return entries;
}

KeySecurity ApplyDescriptor(const KeySecurity* current, const DescriptorParts& given,
                            std::uint32_t information) {
    KeySecurity result;
    result.control =
        static_cast<std::uint16_t>((given.control & ~kSeSelfRelative) | kSeDaclPresent);
    if ((information & kOwnerSecurityInformation) != 0 && given.owner) {
        result.owner = *given.owner;
    } else {
        result.owner = current != nullptr ? current->owner : TokenOwnerSid();
    }
    if ((information & kGroupSecurityInformation) != 0 && given.group) {
        result.group = *given.group;
    } else {
        result.group = current != nullptr ? current->group : TokenPrimaryGroupSid();
    }
    if ((information & kDaclSecurityInformation) != 0) {
        result.dacl = given.daclPresent ? given.dacl : std::nullopt;
    } else {
        result.dacl = current != nullptr ? current->dacl : std::optional(TokenDefaultDacl());
    }
    return result;
}

std::string DescriptorBytes(const KeySecurity& security, std::uint32_t information) {
    const std::uint32_t parts =
        information &
        (kOwnerSecurityInformation | kGroupSecurityInformation | kDaclSecurityInformation);
    std::string bytes(kDescriptorHeaderSize, '\0');
    bytes[0] = 1;
    WriteLe(bytes, 2, static_cast<std::uint32_t>(security.control | kSeSelfRelative), 2);
    const auto append = [&bytes](std::size_t field, const std::string& part) {
        WriteLe(bytes, field, static_cast<std::uint32_t>(bytes.size()), 4);
        bytes += part;
    };
    if ((parts & kOwnerSecurityInformation) != 0 && !security.owner.empty())
        append(kOwnerOffsetField, security.owner);
    if ((parts & kGroupSecurityInformation) != 0 && !security.group.empty())
        append(kGroupOffsetField, security.group);
    if ((parts & kDaclSecurityInformation) != 0 && security.dacl)
        append(kDaclOffsetField, *security.dacl);
    return bytes;
}

}  // namespace vx::platform::sim
