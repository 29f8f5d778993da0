#include <vector>

#include "platform/sim/SimFileSystem.h"

namespace vx::platform::sim {

bool SimFiles::ensureFolders(const PathName& folder) {
    // The shell creates folders on a disk that is there; it never invents a drive or share.
    if (!tree_.isDirectory(PathName(folder.root(), {}))) return false;
    return tree_.addDirectories(folder);
}

int SimFiles::copyOne(const PathName& source, const PathName& target) {
    if (source.key() == target.key()) return kShellSameFile;
    const FileNode* from = tree_.find(source);
    const FileNode* existing = tree_.find(target);
    if (existing != nullptr && existing->unreachable) return static_cast<int>(kErrorAccessDenied);
    if (from->directory) {
        // Wine reports success and copies nothing when the folder would land inside
        // itself or where a file stands.
        if (target.isWithin(source)) return 0;
        if (existing != nullptr && !existing->directory) return 0;
        if (!ensureFolders(target)) return kShellCancelled;
        for (const PathName& child : tree_.childPaths(source)) {
            if (const int result = copyOne(child, target.child(child.leaf())); result != 0) {
                return result;
            }
        }
        return 0;
    }
    if (existing != nullptr && existing->directory) return kShellCancelled;
    if (!ensureFolders(target.parent())) return kShellCancelled;
    const std::string bytes = from->bytes;
    return tree_.storeFile(target, bytes, false) == kSuccess ? 0 : kShellCancelled;
}

int SimFiles::shellCopy(const std::string& source, const std::string& destination) {
    const std::optional<PathName> from = resolve(source, Wildcards::AllowInLeaf);
    if (!from) return kShellSourceMissing;
    std::vector<PathName> sources;
    if (HasWildcards(from->leaf())) {
        const PathName folder = from->parent();
        if (tree_.isDirectory(folder)) {
            for (const PathName& child : tree_.childPaths(folder)) {
                if (MatchesWildcard(from->leaf(), child.leaf())) sources.push_back(child);
            }
        }
        if (sources.empty()) return 0;
    } else {
        const FileNode* node = tree_.find(*from);
        if (node == nullptr || (from->trailingSeparator() && !node->directory)) {
            return kShellSourceMissing;
        }
        sources.push_back(*from);
    }
    for (const PathName& each : sources) {
        if (tree_.find(each)->unreachable) return kShellAccessDeniedSource;
    }

    const std::optional<PathName> to = resolve(destination);
    if (!to) return kShellCancelled;
    const FileNode* toNode = tree_.find(*to);
    if (to->trailingSeparator()) {
        // Wine creates a missing folder named with a final separator, then gives up.
        if (toNode == nullptr) {
            (void)ensureFolders(*to);
            return kShellCancelled;
        }
        if (!toNode->directory) return kShellCancelled;
    }
    // Several sources always go into a folder; one goes into a folder that is there.
    const bool intoFolder = sources.size() > 1 || (toNode != nullptr && toNode->directory);
    if (intoFolder) {
        if (toNode != nullptr && !toNode->directory) return kShellCancelled;
        if (toNode == nullptr && !ensureFolders(*to)) return kShellCancelled;
    }
    for (const PathName& each : sources) {
        const PathName target = intoFolder ? to->child(each.leaf()) : *to;
        if (const int result = copyOne(each, target); result != 0) return result;
    }
    return 0;
}

}  // namespace vx::platform::sim
