#pragma once
// Every section and key of Vexilla.INI, named once. Values are read from the file each time
// (no cache) and written straight through; each value holds at most 254 characters.

#include <string>

namespace vx::settings {

struct Key {
    const char* section;
    const char* name;
};

inline constexpr Key kMfgr{"OSBranding", "Mfgr"};
inline constexpr Key kModel{"OSBranding", "Model"};
inline constexpr Key kPhone{"OSBranding", "Phone"};
inline constexpr Key kHours{"OSBranding", "Hours"};
inline constexpr Key kUrl{"OSBranding", "URL"};
inline constexpr Key kButtonName{"OSBranding", "ButtonName"};
inline constexpr Key kButtonToolTip{"OSBranding", "ButtonToolTip"};
inline constexpr Key kButtonAction{"OSBranding", "ButtonAction"};
inline constexpr Key kButtonAltAction{"OSBranding", "ButtonAltAction"};
inline constexpr Key kButtonAltName{"OSBranding", "ButtonAltName"};
inline constexpr Key kButtonIcon{"OSBranding", "ButtonIcon"};
inline constexpr Key kShortcutUrl{"DesktopShortcut", "ShortcutURL"};
inline constexpr Key kShortcutName{"DesktopShortcut", "ShortcutName"};
inline constexpr Key kShortcutIcon{"DesktopShortcut", "ShortcutIcon"};
inline constexpr Key kUseIE{"DesktopShortcut", "UseIE"};
inline constexpr Key kDropDesktopShortcutIcon{"Config", "DropDesktopShortcutIcon"};

// The order in which the editor saves every key.
inline constexpr Key kSaveOrder[] = {
    kMfgr,       kModel,         kPhone,        kHours,           kUrl,
    kButtonName, kButtonToolTip, kButtonAction, kButtonAltAction, kButtonAltName,
    kButtonIcon, kShortcutUrl,   kShortcutName, kShortcutIcon,    kUseIE,
};

// Fixed names of what the actions install from the branding folder.
inline constexpr const char* kLogoFile = "oemlogo.bmp";
inline constexpr const char* kSupportTextFile = "oeminfo.ini";

// Read from / write to the active settings file.
std::string Read(const Key& key);
void Write(const Key& key, const std::string& value);

}  // namespace vx::settings

namespace vx::toolkit {

// The toolkit's own settings file, read only apart from the launch password switch.
inline constexpr const char* kSettingsFile = "..\\config\\corvid.ini";
inline constexpr const char* kExecutable = "..\\CORVID.EXE";
inline constexpr const char* kBrandingFolder = "..\\Config\\Vexilla\\";
inline constexpr const char* kAppIcon = "..\\config\\applogo.ico";

inline constexpr settings::Key kPasswordProtectedLaunch{"General", "PasswordProtectedLaunch"};
inline constexpr settings::Key kLaunchPassword{"General", "LaunchPassword"};
inline constexpr settings::Key kDisableSideBarThemes{"Config", "DisableSideBarThemes"};
inline constexpr settings::Key kUseAltIcon{"Reg", "UseAltIcon"};

inline constexpr const char* kRegistryKey = "Software\\Tallowbyte\\Corvid";
inline constexpr const char* kRegistrySidebarValue = "DisableSidebarThemes";

// AppPath() + the toolkit's settings file.
std::string SettingsFilePath();
std::string Read(const settings::Key& key);
void Write(const settings::Key& key, const std::string& value);

}  // namespace vx::toolkit
