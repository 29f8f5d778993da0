#pragma once
// The file half of the factory backup, files.ini: per system file whether it was there, and
// when it was, the name of its copy beside this list, its size and its SHA-256.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::backup {

struct FileRecord {
    std::string path;  // where the file lives on the system
    bool present = false;
    std::string copy;  // the copy's name in the backup folder (present files only)
    std::uint64_t size = 0;
    std::string sha256;
};

std::string WriteFileList(const std::vector<FileRecord>& files);

// Nothing when the text is not what WriteFileList wrote: a section without its path, a copy
// name that is not a plain file name, a size that is not a number.
std::optional<std::vector<FileRecord>> ReadFileList(std::string_view text);

}  // namespace vx::backup
