#include "engine/SystemFiles.h"

#include "backup/PlacedFiles.h"

#include "common/AppState.h"
#include "common/DebugLog.h"
#include "common/FSO.h"
#include "common/FileTests.h"
#include "common/ReportHeaders.h"
#include "common/RunReport.h"
#include "common/SystemFolders.h"
#include "engine/SafeNames.h"
#include "engine/StepReport.h"
#include "platform/Platform.h"

namespace vx::engine {
bool CopyFileSilently(const std::string& source, const std::string& destination) {
    if (DoesDirExist(destination, false)) {
        DPrint("modBranding\\CopyFile: the destination is a folder; nothing is copied");
        DPrint("\t- sSource=" + source);
        DPrint("\t- sDestination=" + destination);
        return false;
    }
    DisableFSRedir();
    int result = -1;
    try {
        result = platform::Current().files().shellCopy(source, destination);
    } catch (...) {
        ReportError(report::kCopyFile, CurrentError(), {{"sSource", source}});
    }
    RevertFSRedir();
    if (result != 0) {
        DPrint("modBranding\\CopyFile: the shell copy failed with " + ToText(result));
        DPrint("\t- sSource=" + source);
        DPrint("\t- sDestination=" + destination);
    }
    return result == 0;
}

void PlaceFile(const std::string& source, const std::string& destination) {
    if (DoesFileExist(destination, false) &&
        backup::StateOfPlacedFile(destination) != backup::PlacedState::Unchanged) {
        DPrint("modBranding\\PlaceFile: " + destination +
               " was not placed by Vexilla: it is not replaced and is used as it is");
        ReportSkipped(destination + " was not placed by Vexilla: it is kept and used as it is");
        return;
    }
    const auto kitBytes = ReadFileForReport(source);
    const bool same = kitBytes && ReadFileForReport(destination) == kitBytes;
    const std::string copy = source + " -> " + destination;
    if (!CopyFileSilently(source, destination)) {
        ReportFailed("copy " + copy);
        return;
    }
    if (same) {
        ReportKept(destination + " is the kit's file " + source);
    } else {
        ReportChange("copied " + copy, "copy " + copy, destination + " is not the kit's " + source);
    }
    static_cast<void>(backup::RecordPlacedFile(destination));
}

std::optional<std::string> KitIconPlace(const std::string& setting, const std::string& name) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (!AcceptFileName(setting, name)) {
        ReportSkipped(setting + " " + Quoted(name) + " is not a plain file name: no icon is copied");
        return std::nullopt;
    }
    if (!DoesFileExist(State().brandingFolder + name, false)) {
        return std::nullopt;
    }
    std::string place = WindowsFolderFile(name);
    if (DoesDirExist(place, false)) {
        DPrint("modBranding: " + setting + " names a folder of Windows; the icon is left out");
        DPrint("\t- " + setting + "=" + name);
        ReportSkipped(setting + " " + Quoted(name) + ": " + place +
                      " is a folder: no icon is copied");
        return std::nullopt;
    }
    return place;
}

void DeleteSystemFile(const std::string& path) {
    DisableFSRedir();
    clsFSO().KillFile(path);
    RevertFSRedir();
}

std::string System32File(const std::string& name) { return SystemFolder() + "\\" + name; }

std::string WindowsFolderFile(const std::string& name) { return WindowsFolder() + "\\" + name; }

}  // namespace vx::engine
