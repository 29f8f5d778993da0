#pragma once
// The files Vexilla placed in the Windows folder, System32 or on the desktop, each recorded
// with its size and SHA-256 under HKLM\Software\Vexilla\PlacedFiles (value name: the path).
// Only a recorded file that nobody changed since counts as Vexilla's: nothing else is ever
// replaced or deleted as if it were.

#include <string>
#include <vector>

namespace vx::backup {

enum class PlacedState { NotRecorded, Unchanged, Changed, Missing };

// Records the file as it is now on disk; false (logged) when it cannot be read or recorded.
bool RecordPlacedFile(const std::string& path);

PlacedState StateOfPlacedFile(const std::string& path);

// Drops the record (after the file was deleted or handed back).
void ForgetPlacedFile(const std::string& path);

// Deletes `path` when it is a recorded, unchanged file of Vexilla's, or byte-identical to
// `kitFile` (the branding folder's file of that name; "" for none). Anything else stays, and
// a line says why. False only when a deletion failed.
bool RemovePlacedFile(const std::string& path, const std::string& kitFile);

// Every recorded path, and removal of them all as RemovePlacedFile does (the restore); a
// file left because it changed loses its record.
std::vector<std::string> PlacedFilePaths();
bool RemoveEveryPlacedFile();

}  // namespace vx::backup
