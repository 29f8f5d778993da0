#pragma once
// Windows releases that the OS identification does not name on its own: answered straight from
// the version record. Without the Windows 10 entry in the manifest's compatibility section the
// version query reports 6.2 on Windows 8.1, 10 and 11, and these answer false there.

namespace vx {

// Windows 10 or later (Windows 11 and the matching Server releases included): an NT version
// record with a major version of 10 or more. False when the record cannot be read; a failure
// of the seam itself is thrown to the caller's trap.
bool IsWindows10OrLater();

}  // namespace vx
