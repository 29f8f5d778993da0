#pragma once
// The file system of a plan. Reads come from the files underneath with the plan's own
// changes laid over them; writes, deletions, new and removed folders and shell copies are
// recorded and never touch the disk (not even a time stamp).
//
// A file is known by the path the system reaches (PathName.h: the name normalised, System32
// taken to SysWOW64 while the plan's redirection switch says so), without case. What the
// plan can tell, it answers as the system would: 2 and 3 for a missing file or folder on the
// way, 5 for writing or deleting a folder or a read-only file, 145 for removing a folder that
// holds anything, 183 for creating what exists, 267 for removing a file as a folder.
//
// Not foreseen: a folder's real entries are known only by the first one a listing gives, so
// a folder whose first real entry the plan deleted counts as empty, and a wildcard listing
// misses the real names after such an entry; a shell copy of a folder or of a wildcard is
// recorded as one change without the files it would make.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/PathName.h"
#include "platform/Shell.h"
#include "platform/plan/PlanRedirection.h"
#include "platform/plan/PlannedChange.h"

namespace vx::platform::plan {

class PlanFiles final : public FileSystem {
public:
    // `windowsFolder` and `currentDirectory` are full paths; `wow64` a 32-bit program on 64-bit
    // Windows, whose System32 is redirected.
    PlanFiles(FileSystem& real, const PlanRedirection& redirection, ChangeLog& log,
              const std::string& windowsFolder, const std::string& currentDirectory, bool wow64);

    [[nodiscard]] std::optional<std::uint32_t> attributes(const std::string& path) override;
    [[nodiscard]] Status createDirectory(const std::string& path) override;
    [[nodiscard]] Status deleteFile(const std::string& path) override;
    [[nodiscard]] Status removeDirectory(const std::string& path) override;
    [[nodiscard]] std::optional<std::string> readFile(const std::string& path) override;
    [[nodiscard]] Status writeFile(const std::string& path, const std::string& bytes,
                                   bool append) override;
    // A copy of one file records the destination with the source's bytes as the plan reads
    // them, and every missing folder on the way. 0x402 for a missing source, 0x78 for one
    // that cannot be read, 0x71 for a copy onto itself, 1223 for a destination in the way.
    [[nodiscard]] int shellCopy(const std::string& source, const std::string& destination) override;
    [[nodiscard]] std::optional<std::string> firstListedName(const std::string& pattern) override;

    // A shell link saved to `path`, with `bytes` standing for its file; false where the save
    // would fail (a bad name, no such folder, a folder or read-only file in the way).
    bool recordLink(const std::string& path, const ShellLinkData& data, const std::string& bytes);
    // What the plan holds at `path` for the shell: `recorded` false when the system's own
    // file shows through; otherwise the link saved there, if the file is still that link.
    struct LinkLookup {
        bool recorded = false;
        std::optional<ShellLinkData> link;
    };
    LinkLookup recordedLink(const std::string& path) const;
    // The path the system would reach, as the plan knows files by it; nothing for a path
    // that is not valid.
    std::optional<std::string> identity(const std::string& path) const;

private:
    enum class Kind { Missing, File, Folder };
    struct FileRecord {
        PathName path;  // as the system reaches it
        Kind kind = Kind::Missing;
        std::string bytes;
        std::optional<ShellLinkData> link;
        std::uint32_t attributes = 0;
        // A folder made again after the plan removed it: nothing of the real one shows.
        bool hidesReal = false;
    };
    // A path as the caller named it (normalised) and as the system reaches it.
    struct Place {
        PathName given;
        PathName native;
    };
    // The plan's answer for a place: a record, or the system's own file (`system`).
    struct Seen {
        Kind kind = Kind::Missing;
        bool system = false;
        const FileRecord* record = nullptr;
    };

    std::optional<Place> locate(const std::string& text,
                                Wildcards wildcards = Wildcards::Refuse) const;
    static Place ParentOf(const Place& place);
    static Place ChildOf(const Place& place, const std::string& name);
    const FileRecord* find(const PathName& native) const;
    // What shows at a place without asking the system; `system` when its own file shows.
    Seen look(const Place& place) const;
    // The kind at a place, asking the system when its own file shows.
    Kind kindOf(const Place& place, std::optional<std::uint32_t>* systemAttributes = nullptr);
    std::optional<std::string> bytesAt(const Place& place);
    bool realEntriesShow(const Place& folder) const;
    bool isEmptyFolder(const Place& folder);
    bool ensureFolder(const Place& folder);
    void record(const Place& place, Kind kind, std::string bytes = {},
                std::optional<ShellLinkData> link = std::nullopt, std::uint32_t attributes = 0);

    FileSystem& real_;
    const PlanRedirection& redirection_;
    ChangeLog& log_;
    PathName windowsFolder_;
    PathName currentDirectory_;
    bool wow64_;
    std::map<std::string, FileRecord> records_;  // by PathName::key()
};

}  // namespace vx::platform::plan
