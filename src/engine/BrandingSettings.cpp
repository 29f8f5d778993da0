#include "engine/BrandingSettings.h"

#include "common/AppSettings.h"
#include "common/AppState.h"
#include "common/Ini.h"

namespace vx::settings {

std::string Read(const Key& key) {
    return ReadIni(State().settingsFilePath, key.section, key.name);
}

void Write(const Key& key, const std::string& value) {
    WriteIni(State().settingsFilePath, key.section, key.name, value);
}

}  // namespace vx::settings

namespace vx::toolkit {

std::string SettingsFilePath() { return AppPath() + kSettingsFile; }

std::string Read(const settings::Key& key) {
    return ReadIni(SettingsFilePath(), key.section, key.name);
}

void Write(const settings::Key& key, const std::string& value) {
    WriteIni(SettingsFilePath(), key.section, key.name, value);
}

}  // namespace vx::toolkit
