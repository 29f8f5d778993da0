#pragma once
// Every section and key of Vexilla.INI, named once. Values are read from the file each time
// (no cache) and written straight through; each value holds at most 254 characters.

#include <string>

namespace vx::engine {

// One key of an INI file: its section and its name.
struct SettingKey {
    const char* section;
    const char* name;
};

// Read from / write to the active settings file.
std::string ReadSetting(const SettingKey& key);
// Whether the settings file is there; when it is not, the run's report and tally say that
// `action` found none. Failures are reported under `header`.
bool SettingsFilePresent(const char* header, const std::string& action);
void WriteSetting(const SettingKey& key, const std::string& value);

// AppPath() + the toolkit's settings file.
std::string ToolkitSettingsPath();
// Read from / write to the toolkit's settings file.
std::string ReadToolkitSetting(const SettingKey& key);
void WriteToolkitSetting(const SettingKey& key, const std::string& value);

}  // namespace vx::engine

namespace vx::engine::settings {

inline constexpr SettingKey kMfgr{"OSBranding", "Mfgr"};
inline constexpr SettingKey kModel{"OSBranding", "Model"};
inline constexpr SettingKey kPhone{"OSBranding", "Phone"};
inline constexpr SettingKey kHours{"OSBranding", "Hours"};
inline constexpr SettingKey kUrl{"OSBranding", "URL"};
// Optional; read by the Get Help app of Windows 10 and later only.
inline constexpr SettingKey kSupportProvider{"OSBranding", "SupportProvider"};
inline constexpr SettingKey kSupportAppUrl{"OSBranding", "SupportAppURL"};
inline constexpr SettingKey kButtonName{"OSBranding", "ButtonName"};
inline constexpr SettingKey kButtonToolTip{"OSBranding", "ButtonToolTip"};
inline constexpr SettingKey kButtonAction{"OSBranding", "ButtonAction"};
inline constexpr SettingKey kButtonAltAction{"OSBranding", "ButtonAltAction"};
inline constexpr SettingKey kButtonAltName{"OSBranding", "ButtonAltName"};
inline constexpr SettingKey kButtonIcon{"OSBranding", "ButtonIcon"};
inline constexpr SettingKey kShortcutUrl{"DesktopShortcut", "ShortcutURL"};
inline constexpr SettingKey kShortcutName{"DesktopShortcut", "ShortcutName"};
inline constexpr SettingKey kShortcutIcon{"DesktopShortcut", "ShortcutIcon"};
inline constexpr SettingKey kUseIE{"DesktopShortcut", "UseIE"};
inline constexpr SettingKey kDropDesktopShortcutIcon{"Config", "DropDesktopShortcutIcon"};

// The order in which the editor saves every key.
inline constexpr SettingKey kSaveOrder[] = {
    kMfgr,       kModel,         kPhone,        kHours,           kUrl,
    kButtonName, kButtonToolTip, kButtonAction, kButtonAltAction, kButtonAltName,
    kButtonIcon, kShortcutUrl,   kShortcutName, kShortcutIcon,    kUseIE,
};

// Fixed names of what the actions install from the branding folder.
inline constexpr const char* kLogoFile = "oemlogo.bmp";
inline constexpr const char* kSupportTextFile = "oeminfo.ini";

}  // namespace vx::engine::settings

namespace vx::engine::toolkit {

// The toolkit's own settings file, read only apart from the launch password switch.
inline constexpr const char* kSettingsFile = "..\\config\\corvid.ini";
inline constexpr const char* kExecutable = "..\\CORVID.EXE";
inline constexpr const char* kBrandingFolder = "..\\Config\\Vexilla\\";
inline constexpr const char* kAppIcon = "..\\config\\applogo.ico";

inline constexpr SettingKey kPasswordProtectedLaunch{"General", "PasswordProtectedLaunch"};
inline constexpr SettingKey kLaunchPassword{"General", "LaunchPassword"};
inline constexpr SettingKey kDisableSideBarThemes{"Config", "DisableSideBarThemes"};
inline constexpr SettingKey kUseAltIcon{"Reg", "UseAltIcon"};

inline constexpr const char* kRegistryKey = "Software\\Tallowbyte\\Corvid";
inline constexpr const char* kRegistrySidebarValue = "DisableSidebarThemes";

}  // namespace vx::engine::toolkit
