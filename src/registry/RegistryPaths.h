#pragma once
// How the program names registry places: a top-key abbreviation, a key path without a
// leading "\" and a value name. A top key that names an existing file means "this INI file".

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace vx::registry {

inline constexpr std::uint32_t kTopKeyUnknown = 0;
inline constexpr std::uint32_t kTopKeyIniFile = 1;

// The root handle for "HKLM", "hkcr", ... (no long forms); 1 when the text names an existing
// file; 0 otherwise.
std::uint32_t fTopKey(const std::string& topKey);

// 64-bit Windows: "ProgramFiles(x86)" is longer than one character.
bool fIs64Bit();

// The access flag that opens the system's own (64-bit) view on 64-bit Windows; 0 elsewhere.
std::uint32_t NativeViewFlag();

// Chooses the registry view for a key path and returns the view flag for the access mask.
// On 64-bit Windows a path naming "wow6432node" is opened in our own (redirected) view, with
// the "wow6432node\" parts removed from `keyPath` (lower-cased) unless the path is a hive
// mounted under a "guest_" name; every other path is opened in the 64-bit view.
std::uint32_t ApplyViewRule(std::string& keyPath);

}  // namespace vx::registry
