#pragma once
// Reading and writing one registry value by top key, key path, value name and type code
// ("S" string, "E" expandable string, "M" multi-string, "D" 32-bit number, "B" 2-byte
// binary boolean). Both also work on an INI file named by the top key.

#include <cstdint>
#include <string>
#include <variant>

namespace vx::registry {

using RegValue = std::variant<std::string, std::int32_t, bool>;

std::string ToText(const RegValue& value);
// The value as a 32-bit number; throws when the text is not one.
std::int32_t ToInt32(const RegValue& value);

inline constexpr std::uint32_t kStatusNotReached = 99;

// `result` starts as `defaultValue` and is replaced only on success. Returns 0, the Win32
// status of the failing call (2: no such key or value), or 99 for an unknown top key.
[[nodiscard]] std::uint32_t fReadValue(const std::string& topKey, std::string keyPath,
                                       const std::string& valueName, const std::string& type,
                                       const RegValue& defaultValue, RegValue& result);

// Creates every missing key on the way. "M" appends to the existing list; "B" stores the two
// bytes fReadValue reads back (FF FF for true, 00 00 for false). A "D" or "B" value that is no
// number or boolean is reported and writes nothing (99).
std::uint32_t fWriteValue(const std::string& topKey, const std::string& keyPath,
                          const std::string& valueName, const std::string& type,
                          const RegValue& value);

}  // namespace vx::registry
