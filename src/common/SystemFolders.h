#pragma once
// Where the running Windows keeps its folders. System paths come from the environment
// ("systemroot"), never from a fixed drive letter. None of them ends in "\".

#include <string>

namespace vx {

// The Windows folder ("systemroot", else "windir").
std::string WindowsFolder();
// The System32 folder of the running Windows (a 32-bit caller reaches the real one only
// with redirection off).
std::string SystemFolder();
// The folder that holds every user profile: "C:\Users" or "C:\Documents and Settings".
std::string ProfilesRoot();
// True when the profiles live under "\Users" (the Vista-style layout).
bool IsUsersProfileLayout();
// The desktop every user sees: "<root>\Public\Desktop" or "<root>\All Users\Desktop".
std::string AllUsersDesktopFolder();

}  // namespace vx
