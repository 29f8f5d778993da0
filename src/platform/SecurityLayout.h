#pragma once
// The one reader of the binary Windows layout of security identifiers, access control lists
// and self-relative security descriptors (little-endian), shared by the real backend, the
// simulated Windows and the code that merges a key's DACL.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::platform {

// A SID: revision 1, sub-authority count, 48-bit authority, then 4 bytes per sub-authority.
inline constexpr std::size_t kSidHeaderSize = 8;
inline constexpr std::size_t kMostSubAuthorities = 15;
// An ACL: revision, padding, size (2 bytes), entry count (2 bytes), padding; then the entries.
inline constexpr std::size_t kAclHeaderSize = 8;
// An entry: type, flags, size (2 bytes), access mask (4 bytes); allow and deny entries carry
// their SID right behind.
inline constexpr std::size_t kAceHeaderSize = 8;
inline constexpr std::uint8_t kAccessAllowedAceType = 0;
inline constexpr std::uint8_t kAccessDeniedAceType = 1;
// A self-relative descriptor: revision, padding, control (2 bytes), then the offsets of owner,
// group, SACL and DACL (4 bytes each; 0 for none).
inline constexpr std::size_t kDescriptorHeaderSize = 20;
inline constexpr std::size_t kOwnerOffsetField = 4;
inline constexpr std::size_t kGroupOffsetField = 8;
inline constexpr std::size_t kSaclOffsetField = 12;
inline constexpr std::size_t kDaclOffsetField = 16;

// `width` bytes at `offset`, which the caller has checked lie inside `bytes`.
std::uint32_t ReadLe(std::string_view bytes, std::size_t offset, std::size_t width);
void WriteLe(std::string& bytes, std::size_t offset, std::uint32_t value, std::size_t width);
void AppendLe(std::string& bytes, std::uint32_t value, std::size_t width);

// The length of the SID at `offset` when a whole one of revision 1 lies there, else 0.
std::size_t SidLength(std::string_view bytes, std::size_t offset = 0);

// One entry of an ACL, viewing the bytes it was read from.
struct AceView {
    std::uint8_t type = 0;
    std::uint8_t flags = 0;
    std::uint32_t mask = 0;
    std::string_view sid;  // empty for entries other than allow and deny
    std::string_view raw;  // the whole entry
};

// The entries of the ACL at the start of `bytes` (its size field says how much is the ACL);
// nothing when the ACL or an entry does not lie whole inside, or an allow or deny entry lacks
// a whole SID.
std::optional<std::vector<AceView>> ReadAcl(std::string_view bytes);

// The ACL at `offset` when it and every entry in it lie whole inside `bytes`.
std::optional<std::string_view> WholeAcl(std::string_view bytes, std::size_t offset);

}  // namespace vx::platform
