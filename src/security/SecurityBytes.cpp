#include "security/SecurityBytes.h"

#include "platform/SecurityLayout.h"

namespace vx::security {

using platform::AppendLe;
using platform::kAceHeaderSize;
using platform::kAclHeaderSize;
using platform::kDaclOffsetField;
using platform::kDescriptorHeaderSize;
using platform::ReadLe;
using platform::WriteLe;

Sid MakeSid(std::uint64_t authority, const std::vector<std::uint32_t>& subAuthorities) {
    Sid sid;
    sid += static_cast<char>(1);
    sid += static_cast<char>(subAuthorities.size());
    for (int shift = 40; shift >= 0; shift -= 8) {
        sid += static_cast<char>((authority >> shift) & 0xFF);  // big-endian, as Windows keeps it
    }
    for (const auto part : subAuthorities) {
        AppendLe(sid, part, 4);
    }
    return sid;
}

std::string SidText(const Sid& sid) {
    if (SidLength(sid) == 0) {
        return "(invalid SID)";
    }
    std::uint64_t authority = 0;
    for (std::size_t i = 2; i < 8; ++i) {
        authority = (authority << 8) | static_cast<unsigned char>(sid[i]);
    }
    std::string text = "S-1-";
    text += std::to_string(authority);
    for (std::size_t i = 0; i < static_cast<unsigned char>(sid[1]); ++i) {
        text.append("-").append(std::to_string(ReadLe(sid, 8 + 4 * i, 4)));
    }
    return text;
}

Sid LocalSystemSid() { return MakeSid(5, {18}); }
Sid AdministratorsSid() { return MakeSid(5, {32, 544}); }
Sid UsersSid() { return MakeSid(5, {32, 545}); }
Sid PowerUsersSid() { return MakeSid(5, {32, 547}); }
Sid EveryoneSid() { return MakeSid(1, {0}); }

bool IsDenyAce(std::uint8_t type) {
    // ACCESS_DENIED, ACCESS_DENIED_OBJECT, ACCESS_DENIED_CALLBACK, ACCESS_DENIED_CALLBACK_OBJECT.
    return type == kAccessDeniedAce || type == 0x06 || type == 0x0A || type == 0x0C;
}

std::string AceBytes(std::uint8_t type, std::uint8_t flags, std::uint32_t mask, const Sid& sid) {
    std::string ace;
    ace += static_cast<char>(type);
    ace += static_cast<char>(flags);
    AppendLe(ace, static_cast<std::uint32_t>(kAceHeaderSize + sid.size()), 2);
    AppendLe(ace, mask, 4);
    return ace + sid;
}

std::optional<std::vector<Ace>> ParseAcl(const std::string& bytes) {
    const auto read = platform::ReadAcl(bytes);
    if (!read) {
        return std::nullopt;
    }
    std::vector<Ace> entries;
    entries.reserve(read->size());
    for (const auto& view : *read) {
        entries.push_back(
            {view.type, view.flags, view.mask, std::string(view.sid), std::string(view.raw)});
    }
    return entries;
}

std::string BuildAcl(const std::vector<Ace>& entries) {
    std::string body;
    for (const auto& ace : entries) {
        body += ace.raw.empty() ? AceBytes(ace.type, ace.flags, ace.mask, ace.sid) : ace.raw;
    }
    std::string acl;
    acl += static_cast<char>(kAclRevision);
    acl += '\0';
    AppendLe(acl, static_cast<std::uint32_t>(kAclHeaderSize + body.size()), 2);
    AppendLe(acl, static_cast<std::uint32_t>(entries.size()), 2);
    AppendLe(acl, 0, 2);
    return acl + body;
}

std::optional<SecurityDescriptor> ParseSecurityDescriptor(const std::string& bytes) {
    if (bytes.size() < kDescriptorHeaderSize || bytes[0] != 1) {
        return std::nullopt;
    }
    SecurityDescriptor descriptor;
    descriptor.control = static_cast<std::uint16_t>(ReadLe(bytes, 2, 2));
    if ((descriptor.control & kSeSelfRelative) == 0) {
        return std::nullopt;  // only the self-relative form travels as bytes
    }
    descriptor.daclPresent = (descriptor.control & kSeDaclPresent) != 0;
    const std::size_t daclOffset = ReadLe(bytes, kDaclOffsetField, 4);
    if (descriptor.daclPresent && daclOffset != 0) {
        if (daclOffset + kAclHeaderSize > bytes.size()) {
            return std::nullopt;
        }
        const std::size_t aclSize = ReadLe(bytes, daclOffset + 2, 2);
        if (daclOffset + aclSize > bytes.size()) {
            return std::nullopt;
        }
        descriptor.dacl = bytes.substr(daclOffset, aclSize);
    }
    return descriptor;
}

std::string BuildSecurityDescriptorBytes(std::uint16_t control,
                                         const std::optional<std::string>& dacl) {
    std::string bytes(kDescriptorHeaderSize, '\0');
    bytes[0] = 1;
    WriteLe(bytes, 2, static_cast<std::uint32_t>(control | kSeSelfRelative | kSeDaclPresent), 2);
    if (dacl.has_value()) {
        WriteLe(bytes, 16, static_cast<std::uint32_t>(kDescriptorHeaderSize), 4);
        bytes += *dacl;
    }
    return bytes;
}

}  // namespace vx::security
