#include "engine/BrandingSettings.h"

#include "common/AppSettings.h"
#include "common/AppState.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/Ini.h"
#include "common/RunReport.h"

namespace vx::engine {

std::string ReadSetting(const SettingKey& key) {
    return ReadIni(State().settingsFilePath, key.section, key.name);
}

void WriteSetting(const SettingKey& key, const std::string& value) {
    WriteIni(State().settingsFilePath, key.section, key.name, value);
}

std::string ToolkitSettingsPath() { return AppPath() + toolkit::kSettingsFile; }

std::string ReadToolkitSetting(const SettingKey& key) {
    return ReadIni(ToolkitSettingsPath(), key.section, key.name);
}

void WriteToolkitSetting(const SettingKey& key, const std::string& value) {
    WriteIni(ToolkitSettingsPath(), key.section, key.name, value);
}

bool SettingsFilePresent(const char* header, const std::string& action) {
    bool present = false;
    Guarded(header, [&] { present = DoesFileExist(State().settingsFilePath, false); });
    if (!present) {
        Tally().settingsMissing = true;
        ReportSkipped(action + ": the settings file " + State().settingsFilePath + " is missing");
    }
    return present;
}

}  // namespace vx::engine
