#pragma once
// Reading and writing one INI value through the system's private-profile functions.

#include <string>

namespace vx {

// At most 254 characters come back (the 255-character buffer); a missing file, section or
// key reads as "". Blanks and one pair of quotes around the value go as the system takes them.
std::string ReadIni(const std::string& file, const std::string& section, const std::string& key);

// Write-through; the result is not examined (re-read when it matters).
void WriteIni(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);

}  // namespace vx
