#include "security/SecurityBytes.h"

namespace vx::security {
namespace {

std::uint32_t ReadLe(const std::string& bytes, std::size_t offset, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    }
    return value;
}

void AppendLe(std::string& bytes, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void WriteLe(std::string& bytes, std::size_t offset, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

constexpr std::size_t kAclHeader = 8;
constexpr std::size_t kAceHeader = 8;
constexpr std::size_t kDescriptorHeader = 20;

}  // namespace

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

std::size_t SidLength(const std::string& bytes, std::size_t offset) {
    if (bytes.size() < offset + 8 || bytes[offset] != 1) {
        return 0;
    }
    const std::size_t length = 8u + 4u * static_cast<unsigned char>(bytes[offset + 1]);
    return bytes.size() >= offset + length ? length : 0;
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

std::string AceBytes(std::uint8_t type, std::uint8_t flags, std::uint32_t mask, const Sid& sid) {
    std::string ace;
    ace += static_cast<char>(type);
    ace += static_cast<char>(flags);
    AppendLe(ace, static_cast<std::uint32_t>(kAceHeader + sid.size()), 2);
    AppendLe(ace, mask, 4);
    return ace + sid;
}

std::optional<std::vector<Ace>> ParseAcl(const std::string& bytes) {
    if (bytes.size() < kAclHeader) {
        return std::nullopt;
    }
    const std::size_t aclSize = ReadLe(bytes, 2, 2);
    const std::size_t count = ReadLe(bytes, 4, 2);
    if (aclSize > bytes.size() || aclSize < kAclHeader) {
        return std::nullopt;
    }
    std::vector<Ace> entries;
    std::size_t offset = kAclHeader;
    for (std::size_t i = 0; i < count; ++i) {
        if (offset + kAceHeader > aclSize) {
            return std::nullopt;
        }
        const std::size_t size = ReadLe(bytes, offset + 2, 2);
        if (size < kAceHeader || offset + size > aclSize) {
            return std::nullopt;
        }
        Ace ace;
        ace.type = static_cast<std::uint8_t>(bytes[offset]);
        ace.flags = static_cast<std::uint8_t>(bytes[offset + 1]);
        ace.mask = ReadLe(bytes, offset + 4, 4);
        ace.raw = bytes.substr(offset, size);
        // Allow and deny entries carry their SID right behind the header.
        if (ace.type <= kAccessDeniedAce) {
            const std::size_t sidLength = SidLength(ace.raw, kAceHeader);
            if (sidLength == 0) {
                return std::nullopt;
            }
            ace.sid = ace.raw.substr(kAceHeader, sidLength);
        }
        entries.push_back(std::move(ace));
        offset += size;
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
    AppendLe(acl, static_cast<std::uint32_t>(kAclHeader + body.size()), 2);
    AppendLe(acl, static_cast<std::uint32_t>(entries.size()), 2);
    AppendLe(acl, 0, 2);
    return acl + body;
}

std::optional<SecurityDescriptor> ParseSecurityDescriptor(const std::string& bytes) {
    if (bytes.size() < kDescriptorHeader || bytes[0] != 1) {
        return std::nullopt;
    }
    SecurityDescriptor descriptor;
    descriptor.control = static_cast<std::uint16_t>(ReadLe(bytes, 2, 2));
    if ((descriptor.control & kSeSelfRelative) == 0) {
        return std::nullopt;  // only the self-relative form travels as bytes
    }
    descriptor.daclPresent = (descriptor.control & kSeDaclPresent) != 0;
    const std::size_t daclOffset = ReadLe(bytes, 16, 4);
    if (descriptor.daclPresent && daclOffset != 0) {
        if (daclOffset + kAclHeader > bytes.size()) {
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
    std::string bytes(kDescriptorHeader, '\0');
    bytes[0] = 1;
    WriteLe(bytes, 2, static_cast<std::uint32_t>(control | kSeSelfRelative | kSeDaclPresent), 2);
    if (dacl.has_value()) {
        WriteLe(bytes, 16, static_cast<std::uint32_t>(kDescriptorHeader), 4);
        bytes += *dacl;
    }
    return bytes;
}

}  // namespace vx::security
