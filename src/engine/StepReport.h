#pragma once
// The report lines of the branding steps: what a step found before it acted, and what it did.
// Reading the "before" is quiet: the diagnostic channel shows the steps exactly as before.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Types.h"

namespace vx::engine {

// A registry value as the report shows it: a string in double quotes, a number as a number.
// Nothing when the value is absent (or the key is, or it cannot be read).
std::optional<std::string> ValueForReport(const std::string& topKey, const std::string& keyPath,
                                          const std::string& valueName);
// Same, in the 32-bit view of a 64-bit Windows (the Wow6432Node copy); nothing elsewhere.
std::optional<std::string> RedirectedValueForReport(const std::string& topKey,
                                                    const std::string& keyPath,
                                                    const std::string& valueName);

// The report of writing `valueName` := `after` (shown form) where `before` was found, after
// the write returned `status`.
void ReportValueWrite(const std::string& valueName, const std::optional<std::string>& before,
                      const std::string& after, platform::Status status);
// The report of deleting a value that held `before`; `status` as the deletion returned it.
void ReportValueDeletion(const std::string& valueName, const std::optional<std::string>& before,
                         platform::Status status);

// A file's bytes read with redirection off, so that System32 is the real one; nothing when it
// cannot be read.
std::optional<std::string> ReadFileForReport(const std::string& path);

}  // namespace vx::engine
