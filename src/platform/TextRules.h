#pragma once
// Text rules of the system's own names, shared by the simulated Windows and the plan layer:
// case-insensitive names and the profile-file notion of white space.

#include <string>
#include <string_view>

namespace vx::platform {

// Upper-cases ASCII letters only; bytes above 127 are left alone, as the file system's
// upper-case table would for the code pages this model meets.
std::string UpperAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// The blanks the profile functions strip: space, TAB, CR, LF, VT, FF and the old
// end-of-file mark Ctrl-Z.
bool IsProfileBlank(char c);
std::string_view TrimProfileBlanks(std::string_view text);
std::string_view TrimLeadingProfileBlanks(std::string_view text);

}  // namespace vx::platform
