#include "platform/sim/SimFileTree.h"

namespace vx::platform::sim {

const FileNode* FileTree::find(const PathName& path) const {
    const auto it = nodes_.find(path.key());
    return it == nodes_.end() ? nullptr : &it->second;
}

FileNode* FileTree::find(const PathName& path) {
    const auto it = nodes_.find(path.key());
    return it == nodes_.end() ? nullptr : &it->second;
}

bool FileTree::isDirectory(const PathName& path) const {
    const FileNode* node = find(path);
    return node != nullptr && node->directory;
}

bool FileTree::addDirectories(const PathName& path) {
    if (!path.isRoot() && !addDirectories(path.parent())) return false;
    if (const FileNode* node = find(path)) return node->directory;
    FileNode node;
    node.name = path.isRoot() ? path.text() : path.leaf();
    node.directory = true;
    nodes_.emplace(path.key(), std::move(node));
    return true;
}

Status FileTree::createDirectory(const PathName& path) {
    if (find(path) != nullptr) return kErrorAlreadyExists;
    if (path.isRoot() || !isDirectory(path.parent())) return kErrorPathNotFound;
    FileNode node;
    node.name = path.leaf();
    node.directory = true;
    nodes_.emplace(path.key(), std::move(node));
    return kSuccess;
}

Status FileTree::storeFile(const PathName& path, const std::string& bytes, bool append) {
    if (path.isRoot() || !isDirectory(path.parent())) return kErrorPathNotFound;
    FileNode* node = find(path);
    if (node == nullptr) {
        FileNode created;
        created.name = path.leaf();
        node = &nodes_.emplace(path.key(), std::move(created)).first->second;
    }
    if (node->directory) return kErrorAccessDenied;
    if (append) {
        node->bytes += bytes;
    } else {
        node->bytes = bytes;
    }
    return kSuccess;
}

void FileTree::remove(const PathName& path) {
    const std::string key = path.key();
    nodes_.erase(key);
    const std::string below = key.back() == '\\' ? key : key + "\\";
    auto it = nodes_.lower_bound(below);
    while (it != nodes_.end() && it->first.compare(0, below.size(), below) == 0) {
        it = nodes_.erase(it);
    }
}

std::vector<const FileNode*> FileTree::children(const PathName& folder) const {
    std::vector<const FileNode*> out;
    for (const PathName& child : childPaths(folder)) out.push_back(find(child));
    return out;
}

std::vector<PathName> FileTree::childPaths(const PathName& folder) const {
    std::vector<PathName> out;
    const std::string key = folder.key();
    // A drive root's key already ends in its separator ("C:\").
    const std::string prefix = key.back() == '\\' ? key : key + "\\";
    for (auto it = nodes_.lower_bound(prefix);
         it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        if (it->first.size() == prefix.size() ||
            it->first.find('\\', prefix.size()) != std::string::npos) {
            continue;
        }
        out.push_back(folder.child(it->second.name));
    }
    return out;
}

std::vector<std::string> FileTree::keys() const {
    std::vector<std::string> out;
    for (const auto& [key, node] : nodes_) out.push_back(key);
    return out;
}

}  // namespace vx::platform::sim
