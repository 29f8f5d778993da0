#pragma once
// Small file-system helpers used across the engine.

#include <string>

namespace vx {

enum class PathKind { Missing, File, Folder };

class clsFSO {
public:
    // Deletes one file by its full path; a missing file is no failure. Reports nothing.
    void KillFile(const std::string& path) const;
    // Tells a file from a folder from a path that does not exist (redirection as it stands).
    PathKind pathType(const std::string& path) const;
};

// The shared text-file writer: writes `text` and a CRLF, replacing the file or appending to
// it. False, with an error report, when the file could not be written.
bool SaveTextToFile(const std::string& file, const std::string& text, bool append);

}  // namespace vx
