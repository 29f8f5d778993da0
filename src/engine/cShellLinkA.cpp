#include "engine/cShellLinkA.h"

#include "common/DebugLog.h"
#include "common/ReportHeaders.h"
#include "platform/Platform.h"

namespace vx::engine {

void cShellLinkA::GetHotKeyInfo(std::uint16_t hotKey, std::uint8_t& keyCode,
                                std::uint8_t& modifiers) {
    keyCode = static_cast<std::uint8_t>(hotKey & 0xFF);
    modifiers = static_cast<std::uint8_t>(hotKey >> 8);
}

std::uint16_t cShellLinkA::MakeHotKey(std::uint8_t keyCode, std::uint8_t modifiers) {
    return static_cast<std::uint16_t>((modifiers << 8) | keyCode);
}

std::string cShellLinkA::GetSystemFolderPath(int folderId) {
    try {
        return platform::Current().shell().specialFolderPath(folderId).value_or("");
    } catch (...) {
        ReportError(report::kGetSystemFolderPath, CurrentError());
        return "";
    }
}

bool cShellLinkA::CreateLink(const std::string& description, const std::string& linkFile,
                             const std::string& targetFile, const std::string& workingFolder,
                             const std::string& arguments, int iconIndex, std::uint16_t hotKey,
                             int showCommand, std::string iconFile) {
    try {
        if (iconFile.empty()) {
            iconFile = targetFile;
        }
        if (linkFile.empty() || targetFile.empty()) {
            return false;
        }
        const platform::ShellLinkData data{targetFile, arguments, workingFolder, description,
                                           iconFile,   iconIndex, hotKey,        showCommand};
        return platform::Current().shell().createLink(linkFile, data);
    } catch (...) {
        ReportError(report::kCreateLink, CurrentError(), {{"sLinkFile", linkFile}});
        return false;
    }
}

bool cShellLinkA::GetLinkInfo(const std::string& linkFile) {
    try {
        const auto data = platform::Current().shell().readLink(linkFile);
        if (!data.has_value()) {
            return false;
        }
        exeName_ = data->target;
        exeArgs_ = data->arguments;
        workingDir_ = data->workingDirectory;
        description_ = data->description;
        iconFile_ = data->iconFile;
        iconIndex_ = data->iconIndex;
        showCommand_ = data->showCommand;
        return true;
    } catch (...) {
        ReportError(report::kGetLinkInfo, CurrentError(), {{"sLinkFile", linkFile}});
        return false;
    }
}

}  // namespace vx::engine
