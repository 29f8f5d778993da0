#pragma once
// File and folder tests that see the real system folders of a 64-bit Windows, and the
// process-wide switch for the WoW64 file-system redirection of our 32-bit program.

#include <string>

namespace vx {

// Switches redirection off. Not counted: a second call does nothing, and one revert ends
// the disabled state whatever number of disables came before. While redirection control is
// not allowed, or on 32-bit Windows, only the state is recorded.
void DisableFSRedir();
void RevertFSRedir();

// With a drive ("C:"): that drive has a "\Program Files (x86)" folder. Without one: the
// running Windows is 64-bit ("ProgramFiles(x86)" is set).
bool Is64BitWindows(const std::string& drive);

// The three tests accept only rooted paths: the second character must be "\" (UNC or
// rooted) or ":" (drive). Anything else is false at once, without a trace.
bool DoesFileExist(const std::string& path, bool trace);
bool DoesDirExist(const std::string& sPathOnly, bool trace);
// The same test without touching the redirection switch (the 64-bit test relies on it).
bool DoesDirExistNo64bitCheck(const std::string& sPathOnly, bool trace);

}  // namespace vx
