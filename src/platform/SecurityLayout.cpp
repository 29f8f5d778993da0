#include "platform/SecurityLayout.h"

namespace vx::platform {

std::uint32_t ReadLe(std::string_view bytes, std::size_t offset, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    }
    return value;
}

void WriteLe(std::string& bytes, std::size_t offset, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void AppendLe(std::string& bytes, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::size_t SidLength(std::string_view bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < kSidHeaderSize || bytes[offset] != 1) {
        return 0;
    }
    const std::size_t count = static_cast<unsigned char>(bytes[offset + 1]);
    if (count > kMostSubAuthorities) return 0;
    const std::size_t length = kSidHeaderSize + 4 * count;
    return bytes.size() - offset >= length ? length : 0;
}

std::optional<std::vector<AceView>> ReadAcl(std::string_view bytes) {
    if (bytes.size() < kAclHeaderSize) return std::nullopt;
    const std::size_t size = ReadLe(bytes, 2, 2);
    if (size < kAclHeaderSize || size > bytes.size()) return std::nullopt;
    const std::string_view acl = bytes.substr(0, size);
    const std::size_t count = ReadLe(acl, 4, 2);
    std::vector<AceView> entries;
    std::size_t at = kAclHeaderSize;
    for (std::size_t i = 0; i < count; ++i) {
        if (acl.size() - at < kAceHeaderSize) return std::nullopt;
        const std::size_t entrySize = ReadLe(acl, at + 2, 2);
        if (entrySize < kAceHeaderSize || entrySize > acl.size() - at) return std::nullopt;
        AceView entry;
        entry.raw = acl.substr(at, entrySize);
        entry.type = static_cast<std::uint8_t>(entry.raw[0]);
        entry.flags = static_cast<std::uint8_t>(entry.raw[1]);
        entry.mask = ReadLe(entry.raw, 4, 4);
        if (entry.type == kAccessAllowedAceType || entry.type == kAccessDeniedAceType) {
            const std::size_t sidLength = SidLength(entry.raw, kAceHeaderSize);
            if (sidLength == 0) return std::nullopt;
            entry.sid = entry.raw.substr(kAceHeaderSize, sidLength);
        }
        entries.push_back(entry);
        at += entrySize;
    }
    return entries;
}

std::optional<std::string_view> WholeAcl(std::string_view bytes, std::size_t offset) {
    if (offset > bytes.size()) return std::nullopt;
    const std::string_view rest = bytes.substr(offset);
    if (!ReadAcl(rest)) return std::nullopt;
    return rest.substr(0, ReadLe(rest, 2, 2));
}

}  // namespace vx::platform
