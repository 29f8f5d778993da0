#pragma once
// Security identifiers in their binary Windows layout (revision 1, sub-authority count,
// 48-bit big-endian authority, little-endian 32-bit sub-authorities): the form the key
// security and the account names of the simulated Windows hand out.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vx::platform::sim {

// "S-1-5-32-544" as bytes; nothing when the text is not a SID of revision 1 with at most
// 15 sub-authorities.
std::optional<std::string> SidFromText(std::string_view text);
// The bytes of a SID the caller knows to be well formed; throws std::invalid_argument else.
std::string SidBytes(std::string_view text);
// "S-1-5-32-544"; "(not a SID)" for bytes that are not one.
std::string SidText(std::string_view sid);

}  // namespace vx::platform::sim
