#pragma once
// The disks of the simulated machine in their native (unredirected) layout.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/PathName.h"
#include "platform/Types.h"

namespace vx::platform::sim {

struct FileNode {
    std::string name;  // the last name as it was first created; listings show this case
    bool directory = false;
    bool unreachable = false;  // its security refuses this process
    std::string bytes;
};

// Folders and files keyed by their full path without case. A drive or share exists once
// something has been created on it.
class FileTree {
public:
    const FileNode* find(const PathName& path) const;
    FileNode* find(const PathName& path);
    bool isDirectory(const PathName& path) const;

    // Creates the folder and every missing folder above it. False when a file stands in
    // the way.
    bool addDirectories(const PathName& path);
    // Creates one folder whose parent exists: 0, 183 when the name is taken, 3 when the
    // parent is missing or is a file.
    [[nodiscard]] Status createDirectory(const PathName& path);
    // Creates or replaces (or extends) a file whose parent folder exists.
    [[nodiscard]] Status storeFile(const PathName& path, const std::string& bytes, bool append);
    // Removes one node and everything below it.
    void remove(const PathName& path);

    // The entries directly inside a folder, in the order an NTFS listing gives them
    // (ordinal, without case).
    std::vector<const FileNode*> children(const PathName& folder) const;
    std::vector<PathName> childPaths(const PathName& folder) const;
    // The key of every node, in key order.
    std::vector<std::string> keys() const;

private:
    std::map<std::string, FileNode> nodes_;
};

}  // namespace vx::platform::sim
