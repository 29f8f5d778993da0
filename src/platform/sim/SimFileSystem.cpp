#include "platform/sim/SimFileSystem.h"

#include <utility>

namespace vx::platform::sim {

namespace {
constexpr std::uint32_t kAttributeArchive = 0x20;
}

SimFiles::SimFiles(FileTree& tree, const SimRedirection& redirection, PathName windowsFolder,
                   PathName currentDirectory)
    : tree_(tree),
      redirection_(redirection),
      windowsFolder_(std::move(windowsFolder)),
      currentDirectory_(std::move(currentDirectory)) {}

std::optional<PathName> SimFiles::resolve(std::string_view text, Wildcards wildcards) const {
    std::optional<PathName> path = NormalisePath(text, currentDirectory_, wildcards);
    if (!path) return std::nullopt;
    return RedirectPath(*path, windowsFolder_, redirection_.wow64(), redirection_.redirecting());
}

Status SimFiles::parentStatus(const PathName& native) const {
    if (native.isRoot()) return kErrorPathNotFound;
    const FileNode* parent = tree_.find(native.parent());
    if (parent == nullptr || !parent->directory) return kErrorPathNotFound;
    return parent->unreachable ? kErrorAccessDenied : kSuccess;
}

Status SimFiles::openStatus(const PathName& native) const {
    const FileNode* node = tree_.find(native);
    if (node == nullptr) {
        if (native.isRoot()) return kErrorPathNotFound;
        const FileNode* parent = tree_.find(native.parent());
        return parent != nullptr && parent->directory ? kErrorFileNotFound : kErrorPathNotFound;
    }
    // "file.txt\" names a folder that is not there.
    if (native.trailingSeparator() && !node->directory) return kErrorPathNotFound;
    if (node->unreachable || node->directory) return kErrorAccessDenied;
    return kSuccess;
}

std::optional<std::uint32_t> SimFiles::attributes(const std::string& path) {
    const std::optional<PathName> native = resolve(path);
    if (!native) return std::nullopt;
    const FileNode* node = tree_.find(*native);
    if (node == nullptr || node->unreachable) return std::nullopt;
    if (native->trailingSeparator() && !node->directory) return std::nullopt;
    return node->directory ? kAttributeDirectory : kAttributeArchive;
}

Status SimFiles::createDirectory(const std::string& path) {
    const std::optional<PathName> native = resolve(path);
    if (!native) return kErrorInvalidName;
    if (tree_.find(*native) != nullptr) return kErrorAlreadyExists;
    if (const Status parent = parentStatus(*native); parent != kSuccess) return parent;
    return tree_.createDirectory(*native);
}

Status SimFiles::deleteFile(const std::string& path) {
    const std::optional<PathName> native = resolve(path);
    if (!native) return kErrorInvalidName;
    if (const Status status = openStatus(*native); status != kSuccess) return status;
    tree_.remove(*native);
    return kSuccess;
}

Status SimFiles::removeDirectory(const std::string& path) {
    const std::optional<PathName> native = resolve(path);
    if (!native) return kErrorInvalidName;
    const FileNode* node = tree_.find(*native);
    if (node == nullptr) return openStatus(*native);
    if (native->trailingSeparator() && !node->directory) return kErrorInvalidName;
    if (node->unreachable) return kErrorAccessDenied;
    if (!node->directory) return kErrorDirectory;
    if (native->isRoot() || !tree_.children(*native).empty()) return kErrorDirNotEmpty;
    tree_.remove(*native);
    return kSuccess;
}

Status SimFiles::readBytes(std::string_view path, std::string& bytes) const {
    const std::optional<PathName> native = resolve(path);
    if (!native) return kErrorInvalidName;
    if (const Status status = openStatus(*native); status != kSuccess) return status;
    bytes = tree_.find(*native)->bytes;
    return kSuccess;
}

std::optional<std::string> SimFiles::readFile(const std::string& path) {
    std::string bytes;
    if (readBytes(path, bytes) != kSuccess) return std::nullopt;
    return bytes;
}

Status SimFiles::writeFile(const std::string& path, const std::string& bytes, bool append) {
    const std::optional<PathName> native = resolve(path);
    if (!native) return kErrorInvalidName;
    if (tree_.find(*native) != nullptr) {
        if (const Status status = openStatus(*native); status != kSuccess) return status;
    } else {
        if (const Status parent = parentStatus(*native); parent != kSuccess) return parent;
        if (native->trailingSeparator()) return kErrorInvalidName;
    }
    return tree_.storeFile(*native, bytes, append);
}

std::optional<std::string> SimFiles::firstListedName(const std::string& pattern) {
    const std::optional<PathName> native = resolve(pattern, Wildcards::AllowInLeaf);
    if (!native || native->isRoot() || native->trailingSeparator()) return std::nullopt;
    const PathName folder = native->parent();
    const FileNode* folderNode = tree_.find(folder);
    if (folderNode == nullptr || !folderNode->directory || folderNode->unreachable) {
        return std::nullopt;
    }
    const std::string leaf = native->leaf();
    if (!HasWildcards(leaf)) {
        const FileNode* node = tree_.find(*native);
        if (node == nullptr) return std::nullopt;
        return node->name;
    }
    for (const FileNode* child : tree_.children(folder)) {
        if (MatchesWildcard(leaf, child->name)) return child->name;
    }
    return std::nullopt;
}

}  // namespace vx::platform::sim
