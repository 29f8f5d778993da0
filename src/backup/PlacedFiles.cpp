#include "backup/PlacedFiles.h"

#include <optional>

#include "backup/BrandingPlaces.h"
#include "common/DebugLog.h"
#include "common/RunReport.h"
#include "common/FileTests.h"
#include "common/Sha256.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryPaths.h"

namespace vx::backup {
namespace {

using platform::Status;

constexpr const char* kLog = "PlacedFiles: ";


platform::Registry& Registry() { return platform::Current().registry(); }

// The file's bytes with redirection off (the real System32); nothing when it cannot be read.
std::optional<std::string> ReadSystemFile(const std::string& path) {
    DisableFSRedir();
    auto bytes = platform::Current().files().readFile(path);
    RevertFSRedir();
    return bytes;
}

std::string Fingerprint(const std::string& bytes) {
    return ToText(bytes.size()) + " " + Sha256Hex(bytes);
}

std::optional<std::string> RecordedFingerprint(const std::string& path) {
    registry::RegistryKey key;
    if (key.open(platform::kLocalMachine, kPlacedFilesKey,
                 platform::kKeyQueryValue | registry::NativeViewFlag()) != platform::kSuccess) {
        return std::nullopt;
    }
    std::uint32_t type = 0, size = 0;
    std::string data;
    if (Registry().queryValue(key.handle(), path, 256, type, data, size) != platform::kSuccess ||
        type != platform::kRegString) {
        return std::nullopt;
    }
    return std::string(data.c_str());
}

}  // namespace

bool RecordPlacedFile(const std::string& path) {
    const auto bytes = ReadSystemFile(path);
    registry::RegistryKey key;
    Status status = platform::kErrorFileNotFound;
    if (bytes) {
        status = key.create(platform::kLocalMachine, kPlacedFilesKey,
                            platform::kKeySetValue | registry::NativeViewFlag());
    }
    if (status == platform::kSuccess) {
        status = Registry().setValue(key.handle(), path, platform::kRegString, Fingerprint(*bytes));
    }
    if (status != platform::kSuccess) {
        DPrint(std::string(kLog) + "could not record " + path + " (" + ToText(status) + ")");
        return false;
    }
    return true;
}

PlacedState StateOfPlacedFile(const std::string& path) {
    const auto recorded = RecordedFingerprint(path);
    if (!recorded) return PlacedState::NotRecorded;
    const auto bytes = ReadSystemFile(path);
    if (!bytes) return PlacedState::Missing;
    return Fingerprint(*bytes) == *recorded ? PlacedState::Unchanged : PlacedState::Changed;
}

void ForgetPlacedFile(const std::string& path) {
    registry::RegistryKey key;
    if (key.open(platform::kLocalMachine, kPlacedFilesKey, platform::kKeySetValue | registry::NativeViewFlag()) ==
        platform::kSuccess) {
        static_cast<void>(Registry().deleteValue(key.handle(), path));
    }
}

bool RemovePlacedFile(const std::string& path, const std::string& kitFile) {
    const auto bytes = ReadSystemFile(path);
    const auto recorded = RecordedFingerprint(path);
    if (!bytes) {
        if (recorded) ForgetPlacedFile(path);
        return true;
    }
    bool ours = recorded && *recorded == Fingerprint(*bytes);
    if (!ours && !kitFile.empty()) {
        const auto kit = platform::Current().files().readFile(kitFile);
        ours = kit && *kit == *bytes;
    }
    if (!ours) {
        const std::string why = recorded ? " changed since Vexilla placed it: it stays"
                                         : " was not placed by Vexilla: it stays";
        DPrint(std::string(kLog) + path + why);
        ReportSkipped(path + why);
        return true;
    }
    DisableFSRedir();
    const Status status = platform::Current().files().deleteFile(path);
    RevertFSRedir();
    if (status != platform::kSuccess) {
        DPrint(std::string(kLog) + "deleting " + path + " failed with " + ToText(status));
        ReportFailed("delete " + path + " (error " + ToText(status) + ")");
        return false;
    }
    ReportChange("deleted " + path, "delete " + path, path + " exists");
    ForgetPlacedFile(path);
    return true;
}

std::vector<std::string> PlacedFilePaths() {
    std::vector<std::string> paths;
    registry::RegistryKey key;
    if (key.open(platform::kLocalMachine, kPlacedFilesKey,
                 platform::kKeyQueryValue | registry::NativeViewFlag()) != platform::kSuccess) {
        return paths;
    }
    std::string name;
    for (std::uint32_t index = 0;
         Registry().enumValue(key.handle(), index, name) == platform::kSuccess; ++index) {
        // The names come as UTF-8; the paths go to the A calls.
        paths.push_back(Registry().seamTextFromUtf8(name));
    }
    return paths;
}

bool RemoveEveryPlacedFile() {
    bool complete = true;
    for (const std::string& path : PlacedFilePaths()) {
        complete = RemovePlacedFile(path, "") && complete;
        // A file left because it changed is no longer Vexilla's: its record goes too.
        if (StateOfPlacedFile(path) == PlacedState::Changed) ForgetPlacedFile(path);
    }
    return complete;
}

}  // namespace vx::backup
