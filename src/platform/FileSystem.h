#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Types.h"

namespace vx::platform {

// File services. Every call sees the file system through the calling thread's current
// WoW64 redirection state, as the real calls do.
class FileSystem {
public:
    FileSystem() = default;
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;
    virtual ~FileSystem() = default;

    // The path's attribute bits, or nothing when it does not exist or cannot be reached.
    [[nodiscard]] virtual std::optional<std::uint32_t> attributes(const std::string& path) = 0;
    [[nodiscard]] virtual Status createDirectory(const std::string& path) = 0;
    [[nodiscard]] virtual Status deleteFile(const std::string& path) = 0;
    // RemoveDirectoryA: only an empty folder goes; the system's status otherwise.
    [[nodiscard]] virtual Status removeDirectory(const std::string& path) = 0;
    // Reads a whole file as bytes; nothing when it cannot be opened.
    [[nodiscard]] virtual std::optional<std::string> readFile(const std::string& path) = 0;
    // Writes bytes, replacing the file or appending to it (creating it when missing).
    [[nodiscard]] virtual Status writeFile(const std::string& path, const std::string& bytes,
                                           bool append) = 0;
    // One silent shell copy (FO_COPY with FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI |
    // FOF_NOCONFIRMMKDIR | FOF_NOCOPYSECURITYATTRIBS, 0x0E14: no progress, no question and no
    // error dialog); returns what SHFileOperationA returned, 0 on success.
    [[nodiscard]] virtual int shellCopy(const std::string& source,
                                        const std::string& destination) = 0;
    // The first name a directory listing of the pattern returns, or nothing.
    [[nodiscard]] virtual std::optional<std::string> firstListedName(
        const std::string& pattern) = 0;
};

}  // namespace vx::platform
