#include "backup/FactoryBackup.h"

#include <optional>
#include <string>
#include <vector>

#include "backup/BrandingPlaces.h"
#include "backup/FileList.h"
#include "backup/PlacedFiles.h"
#include "backup/RegFile.h"
#include "backup/RegistryState.h"
#include "common/DebugLog.h"
#include "common/RunReport.h"
#include "common/FileTests.h"
#include "common/Sha256.h"
#include "common/SystemFolders.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryPaths.h"

namespace vx::backup {
namespace {

using platform::Status;

constexpr int kCsidlCommonAppData = 0x23;
constexpr std::uint32_t kAttributeReparsePoint = 0x400;
constexpr const char* kRegistryList = "factory.reg";
constexpr const char* kFileList = "files.ini";
constexpr const char* kLog = "FactoryBackup: ";

void Log(const std::string& text) { DPrint(std::string(kLog) + text); }

platform::FileSystem& Files() { return platform::Current().files(); }


std::vector<std::string> OemValueNames() {
    return {std::begin(kOemInformationValues), std::end(kOemInformationValues)};
}

// --- the record in HKLM ---------------------------------------------------------------

struct BackupRecord {
    std::string folder;
    std::string taken;
    std::string digest;
};

std::optional<std::string> ReadText(platform::RegistryHandle key, const std::string& name) {
    std::uint32_t type = 0, size = 0;
    std::string data;
    if (platform::Current().registry().queryValue(key, name, 1024, type, data, size) !=
            platform::kSuccess ||
        type != platform::kRegString) {
        return std::nullopt;
    }
    return std::string(data.c_str());
}

std::optional<BackupRecord> ReadBackupRecord() {
    registry::RegistryKey key;
    if (key.open(platform::kLocalMachine, kFactoryBackupKey,
                 platform::kKeyQueryValue | registry::NativeViewFlag()) != platform::kSuccess) {
        return std::nullopt;
    }
    const auto digest = ReadText(key.handle(), "Digest");
    if (!digest) return std::nullopt;
    return BackupRecord{ReadText(key.handle(), "Folder").value_or(""),
                        ReadText(key.handle(), "Taken").value_or(""), *digest};
}

bool WriteBackupRecord(const BackupRecord& record) {
    registry::RegistryKey key;
    Status status = key.create(platform::kLocalMachine, kFactoryBackupKey,
                               platform::kKeySetValue | registry::NativeViewFlag());
    auto& registry = platform::Current().registry();
    // The digest last: without it there is no backup.
    for (const auto& [name, text] :
         {std::pair<const char*, const std::string*>{"Folder", &record.folder},
          {"Taken", &record.taken},
          {"Digest", &record.digest}}) {
        if (status == platform::kSuccess)
            status = registry.setValue(key.handle(), name, platform::kRegString, *text);
    }
    if (status != platform::kSuccess) Log("recording the backup failed with " + ToText(status));
    return status == platform::kSuccess;
}

void DeleteBackupRecord() {
    registry::RegistryKey parent;
    if (parent.open(platform::kLocalMachine, kProgramKey,
                    platform::kKeyQueryValue | platform::kKeyEnumerateSubKeys | registry::NativeViewFlag()) !=
        platform::kSuccess) {
        return;
    }
    auto& registry = platform::Current().registry();
    static_cast<void>(registry.deleteKey(parent.handle(), "FactoryBackup"));
    std::string name;
    {
        registry::RegistryKey placed;
        const bool none =
            placed.open(platform::kLocalMachine, kPlacedFilesKey,
                        platform::kKeyQueryValue | registry::NativeViewFlag()) == platform::kSuccess &&
            registry.enumValue(placed.handle(), 0, name) == platform::kErrorNoMoreItems;
        static_cast<void>(placed.close());
        if (none) static_cast<void>(registry.deleteKey(parent.handle(), "PlacedFiles"));
    }
    const bool empty = registry.enumKey(parent.handle(), 0, name) == platform::kErrorNoMoreItems &&
                       registry.enumValue(parent.handle(), 0, name) == platform::kErrorNoMoreItems;
    static_cast<void>(parent.close());
    if (empty) {
        registry::RegistryKey software;
        if (software.open(platform::kLocalMachine, "Software",
                          platform::kKeyEnumerateSubKeys | registry::NativeViewFlag()) == platform::kSuccess) {
            static_cast<void>(registry.deleteKey(software.handle(), "Vexilla"));
        }
    }
}

// --- the folder -----------------------------------------------------------------------

bool IsReparsePoint(const std::string& path) {
    const auto attributes = Files().attributes(path);
    return attributes && (*attributes & kAttributeReparsePoint) != 0;
}

// <all users' application data>\Vexilla\FactoryBackup, made when missing. A folder on the way
// that is a junction or link is refused: the backup never lands somewhere else.
std::optional<std::string> PrepareFolder() {
    const auto appData = platform::Current().shell().specialFolderPath(kCsidlCommonAppData);
    if (!appData || appData->empty()) {
        Log("the all-users application data folder is unknown");
        return std::nullopt;
    }
    std::string folder = WithoutTrailingBackslash(*appData);
    for (const char* name : {"Vexilla", "FactoryBackup"}) {
        folder += std::string("\\") + name;
        if (!DoesDirExist(folder, false)) {
            const Status status = Files().createDirectory(folder);
            if (status != platform::kSuccess) {
                Log("creating " + folder + " failed with " + ToText(status));
                return std::nullopt;
            }
        }
        if (IsReparsePoint(folder)) {
            Log(folder + " is a link to another place: no backup is kept there");
            return std::nullopt;
        }
    }
    return folder;
}

bool WriteChecked(const std::string& path, const std::string& bytes) {
    const Status status = Files().writeFile(path, bytes, false);
    if (status != platform::kSuccess || Files().readFile(path) != bytes) {
        Log("writing " + path + " failed (" + ToText(status) + ")");
        return false;
    }
    return true;
}

// --- taking ---------------------------------------------------------------------------

std::optional<std::vector<KeyRecord>> RecordRegistry() {
    std::vector<KeyRecord> keys;
    for (const RegistryView view : ViewsOfThisSystem()) {
        const auto values =
            ReadValueSet("HKEY_LOCAL_MACHINE", kOemInformationKey, view, OemValueNames());
        if (!values) return std::nullopt;
        keys.push_back(*values);
    }
    for (const RegistryView view : ViewsOfThisSystem()) {
        const auto tree = ReadTree("HKEY_CLASSES_ROOT", OemLinkClassPath(), view);
        if (!tree) return std::nullopt;
        // A present tree is written after a [-key] line, so that importing the file clears
        // what was added below the class since.
        if (tree->front().present)
            keys.push_back({"HKEY_CLASSES_ROOT", OemLinkClassPath(), view, false, {}});
        keys.insert(keys.end(), tree->begin(), tree->end());
    }
    return keys;
}

std::optional<std::vector<FileRecord>> RecordFiles(const std::string& folder) {
    std::vector<FileRecord> files;
    for (const char* name : kSystemFilesReplaced) {
        FileRecord record;
        record.path = SystemFolder() + "\\" + name;
        DisableFSRedir();
        const auto bytes = Files().readFile(record.path);
        const bool exists = DoesFileExist(record.path, false);
        RevertFSRedir();
        if (!bytes && exists) {
            Log(record.path + " cannot be read");
            return std::nullopt;
        }
        if (bytes) {
            record = {record.path, true, name, bytes->size(), Sha256Hex(*bytes)};
            if (!WriteChecked(folder + "\\" + name, *bytes)) return std::nullopt;
        }
        files.push_back(record);
    }
    return files;
}

// --- restoring ------------------------------------------------------------------------

bool IsLinkClassPath(const std::string& path) {
    const std::string top = OemLinkClassPath();
    return EqualsNoCase(path, top) || StartsWithNoCase(path, top + "\\");
}

// Every record must name a place the backup takes; anything else means the lists were not
// written by Vexilla.
bool OnlyKnownPlaces(const std::vector<KeyRecord>& keys, const std::vector<FileRecord>& files) {
    for (const KeyRecord& key : keys) {
        if (key.root == "HKEY_CLASSES_ROOT" && IsLinkClassPath(key.path)) continue;
        if (key.root != "HKEY_LOCAL_MACHINE" || !EqualsNoCase(key.path, kOemInformationKey))
            return false;
        for (const ValueRecord& value : key.values) {
            bool known = false;
            for (const char* name : kOemInformationValues)
                known = known || EqualsNoCase(value.name, name);
            if (!known) return false;
        }
    }
    for (const FileRecord& file : files) {
        bool known = false;
        for (const char* name : kSystemFilesReplaced) {
            known = known || EqualsNoCase(file.path, SystemFolder() + "\\" + name);
        }
        if (!known) return false;
    }
    return true;
}

bool BringBackRegistry(const std::vector<KeyRecord>& keys) {
    bool complete = true;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const KeyRecord& top = keys[i];
        if (top.root == "HKEY_LOCAL_MACHINE") {
            complete = BringBackValueSet(top, OemValueNames()) && complete;
            continue;
        }
        // The link class of one view: a [-class] line alone when it was not there, else its
        // keys (after a [-class] line that clears it), parents first, up to the next class.
        std::vector<KeyRecord> tree;
        if (top.present) tree.push_back(top);
        while (i + 1 < keys.size() && keys[i + 1].root == top.root &&
               keys[i + 1].view == top.view && keys[i + 1].present &&
               !(EqualsNoCase(keys[i + 1].path, OemLinkClassPath()) && !tree.empty())) {
            tree.push_back(keys[++i]);
        }
        if (tree.empty()) tree.push_back(top);
        complete = BringBackTree(tree) && complete;
    }
    return complete;
}

bool BringBackFiles(const std::string& folder, const std::vector<FileRecord>& files) {
    bool complete = true;
    for (const FileRecord& file : files) {
        DisableFSRedir();
        const auto current = Files().readFile(file.path);
        RevertFSRedir();
        if (!file.present) {
            if (!current) continue;
            DisableFSRedir();
            const Status status = Files().deleteFile(file.path);
            RevertFSRedir();
            if (status != platform::kSuccess) {
                Log("deleting " + file.path + " failed with " + ToText(status));
                complete = false;
            } else {
                ReportChange("deleted " + file.path + ": the factory state had none",
                             "delete " + file.path + ": the factory state had none",
                             file.path + " exists");
            }
            continue;
        }
        if (current && Sha256Hex(*current) == file.sha256) continue;
        const auto copy = Files().readFile(folder + "\\" + file.copy);
        if (!copy || Sha256Hex(*copy) != file.sha256 || copy->size() != file.size) {
            Log("the copy of " + file.path + " is missing or changed");
            complete = false;
            continue;
        }
        DisableFSRedir();
        const Status status = Files().writeFile(file.path, *copy, false);
        RevertFSRedir();
        if (status != platform::kSuccess) {
            Log("putting back " + file.path + " failed with " + ToText(status));
            complete = false;
        } else {
            ReportChange("put back " + file.path + " from the backup (" + ByteCount(copy->size()) + ")",
                         "put back " + file.path + " from the backup (" + ByteCount(copy->size()) + ")",
                         file.path + " differs");
        }
    }
    return complete;
}

void DeleteBackup(const std::string& folder, const std::vector<FileRecord>& files) {
    for (const FileRecord& file : files) {
        if (file.present) static_cast<void>(Files().deleteFile(folder + "\\" + file.copy));
    }
    static_cast<void>(Files().deleteFile(folder + "\\" + kRegistryList));
    static_cast<void>(Files().deleteFile(folder + "\\" + kFileList));
    static_cast<void>(Files().removeDirectory(folder));
    const std::size_t slash = folder.find_last_of('\\');
    if (slash != std::string::npos)
        static_cast<void>(Files().removeDirectory(folder.substr(0, slash)));
    DeleteBackupRecord();
}

}  // namespace

void EnsureFactoryBackup() {
    if (const auto record = ReadBackupRecord()) {
        Log("found the backup taken " + record->taken + " in " + record->folder);
        return;
    }
    const auto folder = PrepareFolder();
    const auto keys = folder ? RecordRegistry() : std::nullopt;
    const auto files = keys ? RecordFiles(*folder) : std::nullopt;
    std::optional<std::string> registryList;
    if (files) {
        registryList = WriteRegFile(
            *keys,
            {"Vexilla factory backup: the OEM branding of this system before Vexilla first changed "
             "it.",
             "Put back with \"vexilla.exe /restore\", which also removes what Vexilla placed."});
    }
    const std::string fileList = files ? WriteFileList(*files) : "";
    if (!registryList || !WriteChecked(*folder + "\\" + kRegistryList, *registryList) ||
        !WriteChecked(*folder + "\\" + kFileList, fileList)) {
        Log("no backup could be taken; the change goes ahead without one");
        ReportFailed("take the factory backup: the change goes ahead without one");
        return;
    }
    const BackupRecord record{*folder, platform::Current().environment().localDateTimeText(),
                              Sha256Hex(*registryList + fileList)};
    if (WriteBackupRecord(record)) {
        Log("taken in " + *folder);
        ReportChange("took the factory backup in " + *folder,
                     "take the factory backup in " + *folder, "there is no factory backup");
    }
}

RestoreOutcome RestoreFactoryState() {
    const auto record = ReadBackupRecord();
    if (!record) {
        Log("there is no backup; nothing was restored");
        Tally().noFactoryBackup = true;
        ReportSkipped("restore: there is no factory backup; nothing was restored");
        return RestoreOutcome::NoBackup;
    }
    const auto registryText = Files().readFile(record->folder + "\\" + kRegistryList);
    const auto fileText = Files().readFile(record->folder + "\\" + kFileList);
    const auto keys = registryText ? ReadRegFile(*registryText) : std::nullopt;
    const auto files = fileText ? ReadFileList(*fileText) : std::nullopt;
    if (!keys || !files || Sha256Hex(*registryText + *fileText) != record->digest ||
        !OnlyKnownPlaces(*keys, *files)) {
        Log("the backup in " + record->folder +
            " is missing or was changed since it was taken; nothing was restored");
        ReportFailed("restore: the backup in " + record->folder +
                     " is missing or was changed since it was taken; nothing was restored");
        return RestoreOutcome::Refused;
    }
    bool complete = BringBackRegistry(*keys);
    complete = BringBackFiles(record->folder, *files) && complete;
    complete = RemoveEveryPlacedFile() && complete;
    if (!complete) {
        Log("the restore is incomplete; the backup stays in " + record->folder);
        ReportFailed("restore: incomplete; the backup stays in " + record->folder);
        return RestoreOutcome::Incomplete;
    }
    DeleteBackup(record->folder, *files);
    Log("the factory state is back; the backup was removed");
    ReportChange("restored the factory state taken " + record->taken + "; the backup was removed",
                 "restore the factory state taken " + record->taken + " and remove the backup",
                 "the factory state differs");
    return RestoreOutcome::Restored;
}

}  // namespace vx::backup
