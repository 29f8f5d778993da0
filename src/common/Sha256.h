#pragma once
// SHA-256 of a byte string (FIPS 180-4), as 64 lower-case hex digits. Identifies the content
// of the files Vexilla places and of its factory backup, so that a changed file is never
// mistaken for one of ours.

#include <string>
#include <string_view>

namespace vx {

std::string Sha256Hex(std::string_view bytes);

}  // namespace vx
