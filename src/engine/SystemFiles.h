#pragma once
// Copying and deleting files in the system folders, with redirection off, without dialogs.

#include <optional>
#include <string>

namespace vx::engine {

// One silent shell copy (no question, no dialog, an existing file replaced, the destination
// folder made); true when the shell reported success. A destination that is a folder is
// refused: the shell would copy the file into it. Failures are logged.
bool CopyFileSilently(const std::string& source, const std::string& destination);

// Copies a file of the branding folder to `destination` (Windows folder) and records it as
// placed by Vexilla. A file already there that Vexilla did not place, or that changed since,
// is never replaced: it stays (a line says so) and is what the caller then uses.
void PlaceFile(const std::string& source, const std::string& destination);

// The place in the Windows folder that the kit's icon `name` (the value of `setting`) is copied
// to, or nothing when it is left out: the name is not a plain file name or names a folder that
// stands there (both said on the report), or the kit has no such file.
std::optional<std::string> KitIconPlace(const std::string& setting, const std::string& name);

// Deletes one file with redirection off; a missing file is skipped quietly.
void DeleteSystemFile(const std::string& path);

// "systemroot" + "\System32\" + name: the real System32 of the running Windows.
std::string System32File(const std::string& name);
// "systemroot" + "\" + name.
std::string WindowsFolderFile(const std::string& name);

}  // namespace vx::engine
