#pragma once
// The file functions of the simulated Windows, seen through the thread's redirection state.

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/PathName.h"
#include "platform/sim/SimFileTree.h"
#include "platform/sim/SimRedirection.h"

namespace vx::platform::sim {

// Results of SHFileOperationA that are not Win32 codes.
inline constexpr int kShellSameFile = 0x71;            // DE_SAMEFILE
inline constexpr int kShellAccessDeniedSource = 0x78;  // DE_ACCESSDENIEDSRC
inline constexpr int kShellSourceMissing = 0x402;      // what a missing source gives
inline constexpr int kShellCancelled = 1223;  // Wine's answer to a destination it cannot use

class SimFiles final : public FileSystem {
public:
    SimFiles(FileTree& tree, const SimRedirection& redirection, PathName windowsFolder,
             PathName currentDirectory);

    [[nodiscard]] std::optional<std::uint32_t> attributes(const std::string& path) override;
    [[nodiscard]] Status createDirectory(const std::string& path) override;
    [[nodiscard]] Status deleteFile(const std::string& path) override;
    // As Wine gives it: 145 for a folder that holds anything, 267 for a file, 2 for a
    // missing name in an existing folder, 3 for a missing folder on the way, 123 for "" and
    // for a file named with a trailing "\".
    [[nodiscard]] Status removeDirectory(const std::string& path) override;
    [[nodiscard]] std::optional<std::string> readFile(const std::string& path) override;
    [[nodiscard]] Status writeFile(const std::string& path, const std::string& bytes,
                                   bool append) override;
    // SHFileOperationA FO_COPY with FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI |
    // FOF_NOCONFIRMMKDIR | FOF_NOCOPYSECURITYATTRIBS, as Wine performs it: a missing source
    // gives 0x402; a wildcard source matching nothing copies nothing and succeeds; missing
    // destination folders are created; an existing file is replaced; an existing folder
    // receives the source under its own name.
    [[nodiscard]] int shellCopy(const std::string& source, const std::string& destination) override;
    // FindFirstFileA/FindNextFileA, passing over "." and "..": a plain path gives its own
    // stored name; a wildcard in the last name lists the folder in NTFS order.
    [[nodiscard]] std::optional<std::string> firstListedName(const std::string& pattern) override;

    // The native path `text` reaches in the current view; nothing when it is no valid path.
    std::optional<PathName> resolve(std::string_view text,
                                    Wildcards wildcards = Wildcards::Refuse) const;
    // CreateFileA for reading: 0 with the bytes, else the error it sets (2 no file, 3 no
    // folder, 5 a folder or refused, 123 a bad name).
    [[nodiscard]] Status readBytes(std::string_view path, std::string& bytes) const;

    const PathName& windowsFolder() const { return windowsFolder_; }
    const PathName& currentDirectory() const { return currentDirectory_; }
    void setCurrentDirectory(PathName folder) { currentDirectory_ = std::move(folder); }
    bool redirecting() const { return redirection_.redirecting(); }

private:
    // The error opening an existing object at `native` would give, 0 when it can be opened.
    Status openStatus(const PathName& native) const;
    // The error the folder that is to hold `native` gives, 0 when it is usable.
    Status parentStatus(const PathName& native) const;
    bool ensureFolders(const PathName& folder);
    int copyOne(const PathName& source, const PathName& target);

    FileTree& tree_;
    const SimRedirection& redirection_;
    PathName windowsFolder_;
    PathName currentDirectory_;
};

}  // namespace vx::platform::sim
