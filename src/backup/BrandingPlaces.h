#pragma once
// Every place of a system that Vexilla changes, named once: the factory backup records them,
// a restore writes nothing outside them, and the branding steps write into them.

#include <string>

namespace vx::backup {

// Where System Properties of Vista and later reads the OEM information (below HKLM).
inline constexpr const char* kOemInformationKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";

// The values of that key that Vexilla writes or deletes; no other value there is touched.
inline constexpr const char* kOemInformationValues[] = {
    "HelpCustomized", "Logo",       "Manufacturer",    "Model",        "SupportHours",
    "SupportPhone",   "SupportURL", "SupportProvider", "SupportAppURL"};

// The OEM link of the Windows XP Start menu: a shell folder class (below HKCR), recorded and
// restored as a whole tree.
inline constexpr const char* kOemLinkClassId = "{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}";
inline std::string OemLinkClassPath() { return std::string("CLSID\\") + kOemLinkClassId; }

// The program's own keys below HKLM: the files it placed, and the record of its factory backup.
inline constexpr const char* kProgramKey = "Software\\Vexilla";
inline constexpr const char* kPlacedFilesKey = "Software\\Vexilla\\PlacedFiles";
inline constexpr const char* kFactoryBackupKey = "Software\\Vexilla\\FactoryBackup";

// The files Vexilla replaces in the real System32 (the logo on every Windows, the support
// text on XP); both are part of the factory backup.
inline constexpr const char* kSystemFilesReplaced[] = {"oemlogo.bmp", "oeminfo.ini"};

}  // namespace vx::backup
