#pragma once
// The header of every error report, one per procedure: "<module>\<procedure> VB ERROR: " (the
// registry and permission procedures put " -" before "VB"). ReportError (common/DebugLog.h)
// writes it, then the error's number and text. A procedure that traps failures names its
// header here, once, whichever files report for it.

namespace vx::report {

// CommonModule
inline constexpr const char* kAppPath = "CommonModule\\AppPath VB ERROR: ";
inline constexpr const char* kDelay = "CommonModule\\Delay VB ERROR: ";
inline constexpr const char* kInitAppSettings = "CommonModule\\InitAppSettings VB ERROR: ";
inline constexpr const char* kSaveTextToFile = "CommonModule\\SaveTextToFile VB ERROR: ";
inline constexpr const char* kShellAndWaitForTermination =
    "CommonModule\\ShellAndWaitForTermination VB ERROR: ";
inline constexpr const char* kShellX = "CommonModule\\ShellX VB ERROR: ";

// modRegistry
inline constexpr const char* kTopKey = "modRegistry\\fTopKey - VB ERROR: ";
inline constexpr const char* kReadValue = "modRegistry\\fReadValue - VB ERROR: ";
inline constexpr const char* kWriteValue = "modRegistry\\fWriteValue - VB ERROR: ";
inline constexpr const char* kDeleteValue = "modRegistry\\fDeleteValue - VB ERROR: ";
inline constexpr const char* kDeleteKey = "modRegistry\\fDeleteKey - VB ERROR: ";
inline constexpr const char* kDeleteSubkeys = "modRegistry\\fDeleteSubkeys - VB ERROR: ";

// SetPerm
inline constexpr const char* kGetRegKeyPermissions = "SetPerm\\GetRegKeyPermissions - VB ERROR: ";
inline constexpr const char* kRegSetKeyPermission = "SetPerm\\RegSetKeyPermission - VB ERROR: ";
inline constexpr const char* kConstructAndAddAce = "SetPerm\\ConstructAndAddAce - VB ERROR: ";
inline constexpr const char* kIsEqual = "SetPerm\\IsEqual - VB ERROR: ";

// modMain
inline constexpr const char* kMain = "modMain\\Main VB ERROR: ";
inline constexpr const char* kGetCmdLine = "modMain\\GetCmdLine VB ERROR: ";
inline constexpr const char* kSetAppIcon = "modMain\\SetAppIcon VB ERROR: ";

// modBranding
inline constexpr const char* kApplyBranding = "modBranding\\ApplyBranding VB ERROR: ";
inline constexpr const char* kCopyFile = "modBranding\\CopyFile VB ERROR: ";
inline constexpr const char* kRegisterOemLink = "modBranding\\RegisterOemLink VB ERROR: ";
inline constexpr const char* kRemoveBranding = "modBranding\\RemoveBranding VB ERROR: ";
inline constexpr const char* kDropDesktopShortcut = "modBranding\\DropDesktopShortcut VB ERROR: ";
inline constexpr const char* kRemoveDesktopShortcut =
    "modBranding\\RemoveDesktopShortcut VB ERROR: ";
inline constexpr const char* kRefreshDesktop = "modBranding\\RefreshDesktop VB ERROR: ";
inline constexpr const char* kRestoreFactoryBranding =
    "modBranding\\RestoreFactoryBranding VB ERROR: ";
inline constexpr const char* kFactoryBackup = "modBranding\\FactoryBackup VB ERROR: ";

// cShellLinkA
inline constexpr const char* kGetSystemFolderPath = "cShellLinkA\\GetSystemFolderPath VB ERROR: ";
inline constexpr const char* kCreateLink = "cShellLinkA\\CreateLink VB ERROR: ";
inline constexpr const char* kGetLinkInfo = "cShellLinkA\\GetLinkInfo VB ERROR: ";

// frmVexilla
inline constexpr const char* kFormLoad = "frmVexilla\\Form_Load VB ERROR: ";
inline constexpr const char* kLoadFields = "frmVexilla\\LoadFields VB ERROR: ";
inline constexpr const char* kSaveFields = "frmVexilla\\SaveFields VB ERROR: ";
inline constexpr const char* kLoadSupportText = "frmVexilla\\LoadSupportText VB ERROR: ";
inline constexpr const char* kSaveSupportText = "frmVexilla\\SaveSupportText VB ERROR: ";
inline constexpr const char* kTell = "frmVexilla\\Tell VB ERROR: ";
inline constexpr const char* kOpenSystemProperties = "frmVexilla\\OpenSystemProperties VB ERROR: ";
inline constexpr const char* kEditorApply = "frmVexilla\\EditorApply VB ERROR: ";
inline constexpr const char* kEditorRegisterOemLink =
    "frmVexilla\\EditorRegisterOemLink VB ERROR: ";
inline constexpr const char* kBrandNow = "frmVexilla\\BrandNow VB ERROR: ";

}  // namespace vx::report
