#include "engine/BrandingSettings.h"

#include "common/AppSettings.h"
#include "common/AppState.h"
#include "common/Ini.h"

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

}  // namespace vx::engine
