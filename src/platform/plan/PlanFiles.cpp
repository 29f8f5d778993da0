#include "platform/plan/PlanFiles.h"

#include <utility>
#include <vector>

#include "platform/TextRules.h"

namespace vx::platform::plan {

namespace {

constexpr std::uint32_t kAttributeReadOnly = 0x01;
constexpr std::uint32_t kAttributeArchive = 0x20;

// Results of SHFileOperationA that are not Win32 codes.
constexpr int kShellSameFile = 0x71;            // DE_SAMEFILE
constexpr int kShellAccessDeniedSource = 0x78;  // DE_ACCESSDENIEDSRC
constexpr int kShellSourceMissing = 0x402;      // what a missing source gives
constexpr int kShellCancelled = 1223;           // a destination that cannot be used

PathName FullPath(const std::string& text, const char* fallback) {
    const PathName root("C:", {});
    if (auto path = NormalisePath(text, root)) return *path;
    return *NormalisePath(fallback, root);
}

}  // namespace

PlanFiles::PlanFiles(FileSystem& real, const PlanRedirection& redirection, ChangeLog& log,
                     const std::string& windowsFolder, const std::string& currentDirectory,
                     bool wow64)
    : real_(real),
      redirection_(redirection),
      log_(log),
      windowsFolder_(FullPath(windowsFolder, "C:\\Windows")),
      currentDirectory_(FullPath(currentDirectory, "C:\\")),
      wow64_(wow64) {}

// ---- where a path leads --------------------------------------------------------------

std::optional<PlanFiles::Place> PlanFiles::locate(const std::string& text,
                                                  Wildcards wildcards) const {
    std::optional<PathName> given = NormalisePath(text, currentDirectory_, wildcards);
    if (!given) return std::nullopt;
    PathName native = RedirectPath(*given, windowsFolder_, wow64_, redirection_.redirecting());
    return Place{std::move(*given), std::move(native)};
}

PlanFiles::Place PlanFiles::ParentOf(const Place& place) {
    return {place.given.parent(), place.native.parent()};
}

PlanFiles::Place PlanFiles::ChildOf(const Place& place, const std::string& name) {
    return {place.given.child(name), place.native.child(name)};
}

std::optional<std::string> PlanFiles::identity(const std::string& path) const {
    const std::optional<Place> place = locate(path);
    if (!place) return std::nullopt;
    return place->native.key();
}

const PlanFiles::FileRecord* PlanFiles::find(const PathName& native) const {
    const auto it = records_.find(native.key());
    return it == records_.end() ? nullptr : &it->second;
}

PlanFiles::Seen PlanFiles::look(const Place& place) const {
    bool hidden = false;
    const std::vector<std::string>& names = place.native.names();
    for (std::size_t count = 0; count < names.size(); ++count) {
        const PathName above(place.native.root(),
                             {names.begin(), names.begin() + static_cast<std::ptrdiff_t>(count)});
        const FileRecord* record = find(above);
        if (record == nullptr) continue;
        // A folder removed, or a file, on the way: nothing lies below.
        if (record->kind != Kind::Folder) return {};
        hidden = hidden || record->hidesReal;
    }
    if (const FileRecord* own = find(place.native)) return {own->kind, false, own};
    if (hidden) return {};
    return {Kind::Missing, true, nullptr};
}

PlanFiles::Kind PlanFiles::kindOf(const Place& place,
                                  std::optional<std::uint32_t>* systemAttributes) {
    const Seen seen = look(place);
    if (!seen.system) return seen.kind;
    const std::optional<std::uint32_t> attributes = real_.attributes(place.given.text());
    if (systemAttributes != nullptr) *systemAttributes = attributes;
    if (!attributes) return Kind::Missing;
    return (*attributes & kAttributeDirectory) != 0 ? Kind::Folder : Kind::File;
}

std::optional<std::string> PlanFiles::bytesAt(const Place& place) {
    const Seen seen = look(place);
    if (seen.system) return real_.readFile(place.given.text());
    if (seen.kind != Kind::File) return std::nullopt;
    return seen.record->bytes;
}

bool PlanFiles::realEntriesShow(const Place& folder) const {
    const Seen seen = look(folder);
    return seen.system || (seen.kind == Kind::Folder && !seen.record->hidesReal);
}

bool PlanFiles::isEmptyFolder(const Place& folder) {
    for (const auto& [key, record] : records_) {
        if (record.kind != Kind::Missing && !record.path.isRoot() &&
            record.path.parent().key() == folder.native.key()) {
            return false;
        }
    }
    if (!realEntriesShow(folder)) return true;
    const std::optional<std::string> first =
        real_.firstListedName(ChildOf(folder, "*").given.text());
    if (!first) return true;
    const FileRecord* record = find(folder.native.child(*first));
    return record != nullptr && record->kind == Kind::Missing;
}

void PlanFiles::record(const Place& place, Kind kind, std::string bytes,
                       std::optional<ShellLinkData> link, std::uint32_t attributes) {
    const auto [it, added] = records_.try_emplace(
        place.native.key(), FileRecord{place.native, Kind::Missing, {}, {}, 0, false});
    FileRecord& record = it->second;
    // A folder made where the plan removed one (or a file) shows nothing of the old one.
    record.hidesReal = kind == Kind::Folder && !added && record.kind == Kind::Missing;
    record.kind = kind;
    record.bytes = std::move(bytes);
    record.link = std::move(link);
    record.attributes = attributes;
}

bool PlanFiles::ensureFolder(const Place& folder) {
    const Kind kind = kindOf(folder);
    if (kind == Kind::Folder) return true;
    // The shell makes folders on a disk that is there; it never invents a drive or share.
    if (kind == Kind::File || folder.native.isRoot()) return false;
    if (!ensureFolder(ParentOf(folder))) return false;
    record(folder, Kind::Folder);
    log_.add(ChangeKind::CreateFolder, folder.native.text(), "", kNothing, "folder");
    return true;
}

// ---- the calls -----------------------------------------------------------------------

std::optional<std::uint32_t> PlanFiles::attributes(const std::string& path) {
    const std::optional<Place> place = locate(path);
    if (!place) return real_.attributes(path);
    const Seen seen = look(*place);
    if (seen.system) return real_.attributes(path);
    if (seen.kind == Kind::Folder) return kAttributeDirectory;
    if (seen.kind == Kind::Missing || place->given.trailingSeparator()) return std::nullopt;
    return seen.record->attributes;
}

std::optional<std::string> PlanFiles::readFile(const std::string& path) {
    const std::optional<Place> place = locate(path);
    if (!place) return real_.readFile(path);
    const Seen seen = look(*place);
    if (seen.system) return real_.readFile(path);
    if (seen.kind != Kind::File || place->given.trailingSeparator()) return std::nullopt;
    return seen.record->bytes;
}

Status PlanFiles::writeFile(const std::string& path, const std::string& bytes, bool append) {
    const std::optional<Place> place = locate(path);
    if (!place) return kErrorInvalidName;
    std::optional<std::uint32_t> systemAttributes;
    const Kind kind = kindOf(*place, &systemAttributes);
    std::uint32_t attributes = kAttributeArchive;
    if (kind == Kind::Folder) return kErrorAccessDenied;
    if (kind == Kind::Missing) {
        if (kindOf(ParentOf(*place)) != Kind::Folder) return kErrorPathNotFound;
        if (place->given.trailingSeparator()) return kErrorInvalidName;
    } else {
        const Seen seen = look(*place);
        attributes =
            seen.system ? systemAttributes.value_or(kAttributeArchive) : seen.record->attributes;
        if ((attributes & kAttributeReadOnly) != 0) return kErrorAccessDenied;
    }
    const std::optional<std::string> before = bytesAt(*place);
    std::string after = append ? before.value_or("") + bytes : bytes;
    log_.add(append ? ChangeKind::AppendFile : ChangeKind::WriteFile, place->native.text(), "",
             before ? DescribeBytes(*before) : kNothing, DescribeBytes(after));
    record(*place, Kind::File, std::move(after), std::nullopt, attributes);
    return kSuccess;
}

Status PlanFiles::deleteFile(const std::string& path) {
    const std::optional<Place> place = locate(path);
    if (!place) return kErrorInvalidName;
    std::optional<std::uint32_t> systemAttributes;
    const Kind kind = kindOf(*place, &systemAttributes);
    if (kind == Kind::Missing) {
        return kindOf(ParentOf(*place)) == Kind::Folder ? kErrorFileNotFound : kErrorPathNotFound;
    }
    if (kind == Kind::Folder) return kErrorAccessDenied;
    if (place->given.trailingSeparator()) return kErrorPathNotFound;
    const Seen seen = look(*place);
    const std::uint32_t attributes =
        seen.system ? systemAttributes.value_or(0) : seen.record->attributes;
    if ((attributes & kAttributeReadOnly) != 0) return kErrorAccessDenied;
    const std::optional<std::string> before = bytesAt(*place);
    log_.add(ChangeKind::DeleteFile, place->native.text(), "",
             before ? DescribeBytes(*before) : "file", kNothing);
    record(*place, Kind::Missing);
    return kSuccess;
}

Status PlanFiles::createDirectory(const std::string& path) {
    const std::optional<Place> place = locate(path);
    if (!place) return kErrorInvalidName;
    if (kindOf(*place) != Kind::Missing) return kErrorAlreadyExists;
    if (place->native.isRoot() || kindOf(ParentOf(*place)) != Kind::Folder) {
        return kErrorPathNotFound;
    }
    log_.add(ChangeKind::CreateFolder, place->native.text(), "", kNothing, "folder");
    record(*place, Kind::Folder);
    return kSuccess;
}

Status PlanFiles::removeDirectory(const std::string& path) {
    const std::optional<Place> place = locate(path);
    if (!place) return kErrorInvalidName;
    const Kind kind = kindOf(*place);
    if (kind == Kind::Missing) {
        if (place->native.isRoot()) return kErrorPathNotFound;
        return kindOf(ParentOf(*place)) == Kind::Folder ? kErrorFileNotFound : kErrorPathNotFound;
    }
    if (kind == Kind::File) {
        return place->given.trailingSeparator() ? kErrorInvalidName : kErrorDirectory;
    }
    if (place->native.isRoot() || !isEmptyFolder(*place)) return kErrorDirNotEmpty;
    log_.add(ChangeKind::RemoveFolder, place->native.text(), "", "folder", kNothing);
    record(*place, Kind::Missing);
    return kSuccess;
}

int PlanFiles::shellCopy(const std::string& source, const std::string& destination) {
    const std::optional<Place> from = locate(source, Wildcards::AllowInLeaf);
    if (!from) return kShellSourceMissing;
    if (HasWildcards(from->given.leaf())) {
        log_.add(ChangeKind::CopyFile, destination, "", kNothing,
                 "the files matching " + source + " (not foreseen one by one)");
        return 0;
    }
    const Kind fromKind = kindOf(*from);
    if (fromKind == Kind::Missing) return kShellSourceMissing;
    if (fromKind == Kind::Folder) {
        log_.add(ChangeKind::CopyFile, destination, "", kNothing,
                 "the folder " + source + " (not foreseen file by file)");
        return 0;
    }
    std::optional<std::string> bytes = bytesAt(*from);
    if (!bytes) return kShellAccessDeniedSource;

    const std::optional<Place> to = locate(destination);
    if (!to) return kShellCancelled;
    // One file goes into a folder that is there (or named with a final separator), else it
    // becomes the destination.
    const bool intoFolder = to->given.trailingSeparator() || kindOf(*to) == Kind::Folder;
    const Place target = intoFolder ? ChildOf(*to, from->native.leaf()) : *to;
    if (target.native.key() == from->native.key()) return kShellSameFile;
    std::optional<std::uint32_t> systemAttributes;
    const Kind targetKind = kindOf(target, &systemAttributes);
    if (targetKind == Kind::Folder) return kShellCancelled;
    if (!ensureFolder(ParentOf(target))) return kShellCancelled;
    const std::optional<std::string> before = bytesAt(target);
    log_.add(ChangeKind::CopyFile, target.native.text(), "",
             before ? DescribeBytes(*before) : kNothing,
             DescribeBytes(*bytes) + " from " + from->native.text());
    std::uint32_t attributes = kAttributeArchive;
    if (targetKind == Kind::File) {
        const Seen seen = look(target);
        attributes = seen.system ? systemAttributes.value_or(attributes) : seen.record->attributes;
    }
    record(target, Kind::File, std::move(*bytes), std::nullopt, attributes);
    return 0;
}

std::optional<std::string> PlanFiles::firstListedName(const std::string& pattern) {
    const std::optional<Place> place = locate(pattern, Wildcards::AllowInLeaf);
    if (!place || place->native.isRoot() || place->given.trailingSeparator()) {
        return real_.firstListedName(pattern);
    }
    const std::string leaf = place->given.leaf();
    if (!HasWildcards(leaf)) {
        const Seen seen = look(*place);
        if (seen.system) return real_.firstListedName(pattern);
        if (seen.kind == Kind::Missing) return std::nullopt;
        return seen.record->path.leaf();
    }
    const Place folder = ParentOf(*place);
    if (kindOf(folder) != Kind::Folder) return std::nullopt;
    std::optional<std::string> first;
    const auto offer = [&first](const std::string& name) {
        // NTFS lists names in upper-case ordinal order.
        if (!first || UpperAscii(name) < UpperAscii(*first)) first = name;
    };
    for (const auto& [key, record] : records_) {
        if (record.kind != Kind::Missing && !record.path.isRoot() &&
            record.path.parent().key() == folder.native.key() &&
            MatchesWildcard(leaf, record.path.leaf())) {
            offer(record.path.leaf());
        }
    }
    if (realEntriesShow(folder)) {
        if (const std::optional<std::string> name = real_.firstListedName(pattern)) {
            if (find(folder.native.child(*name)) == nullptr) offer(*name);
        }
    }
    return first;
}

// ---- for the shell -------------------------------------------------------------------

bool PlanFiles::recordLink(const std::string& path, const ShellLinkData& data,
                           const std::string& bytes) {
    const std::optional<Place> place = locate(path);
    if (!place || place->given.trailingSeparator()) return false;
    std::optional<std::uint32_t> systemAttributes;
    const Kind kind = kindOf(*place, &systemAttributes);
    if (kind == Kind::Folder) return false;
    std::uint32_t attributes = kAttributeArchive;
    if (kind == Kind::File) {
        const Seen seen = look(*place);
        attributes = seen.system ? systemAttributes.value_or(attributes) : seen.record->attributes;
        if ((attributes & kAttributeReadOnly) != 0) return false;
    } else if (kindOf(ParentOf(*place)) != Kind::Folder) {
        return false;
    }
    const std::optional<std::string> before = bytesAt(*place);
    std::string after = "link to " + data.target;
    if (!data.arguments.empty()) after += " " + data.arguments;
    log_.add(ChangeKind::CreateLink, place->native.text(), "",
             before ? DescribeBytes(*before) : kNothing, after);
    record(*place, Kind::File, bytes, data, attributes);
    return true;
}

PlanFiles::LinkLookup PlanFiles::recordedLink(const std::string& path) const {
    const std::optional<Place> place = locate(path);
    if (!place) return {};
    const Seen seen = look(*place);
    if (seen.system) return {};
    if (seen.kind != Kind::File) return {true, std::nullopt};
    return {true, seen.record->link};
}

}  // namespace vx::platform::plan
