#pragma once
// A picture of a system as the program sees it through a platform, one sorted line per item:
// every registry key below HKLM and HKU (walked in the 64-bit view, which shows Wow6432Node)
// with its values as the A and the W calls read them and its DACL, and the given files and
// folders with their bytes (read with redirection off). Two systems that look the same to
// the program give the same picture. A line is its kind (K key, V value, S DACL, F file or
// folder), the place, then "|" and what is there.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vx::test {

std::vector<std::string> RegistryImage(platform::Platform& system);
std::vector<std::string> FileImage(platform::Platform& system, std::vector<std::string> paths);

// The lines of `after` that `before` lacks, each marked "+", and those it lost, marked "-".
std::vector<std::string> ImageChanges(const std::vector<std::string>& before,
                                      const std::vector<std::string>& after);

}  // namespace vx::test
