#pragma once
// What the editor window does, apart from drawing itself: the values of its boxes, loading
// and saving them, the XP support text, the sidebar's actions, and "Vexilla Now". Portable:
// the window (ui/win32) only moves text between its controls and these procedures, and every
// user interaction goes through the platform seam.

#include <string>

namespace vx::ui {

// The text of every box of the window, as the user sees it.
struct EditorFields {
    // picCommon
    std::string mfgr;                     // txtMfgr
    std::string model;                    // txtModel
    std::string dropDesktopShortcutURL;   // txtDropDesktopShortcutURL
    std::string dropDesktopShortcutName;  // txtDropDesktopShortcutName
    std::string dropDesktopShortcutIcon;  // txtDropDesktopShortcutIcon
    bool useIE = false;                   // optDDSUseIE selected (else optDDSUseDefBrowser)
    // picXP
    std::string buttonName;     // txtButtonName
    std::string buttonTip;      // txtButtonTip
    std::string iconName;       // txtIconName
    std::string buttonAction;   // txtButtonAction
    std::string altAction;      // txtAltAction
    std::string altActionName;  // txtAltActionName
    // picXPINI
    std::string supportText;  // Text1, lines separated by CR LF
    // pic7
    std::string phoneNumber;   // txtPhoneNumber
    std::string supportHours;  // txtSupportHours
    std::string supportURL;    // txtSupportURL
    // pic7, read by the Get Help app of Windows 10 and later
    std::string supportProvider;  // txtSupportProvider
    std::string supportAppURL;    // txtSupportAppURL
    // Pictures to show: full paths, "" for none.
    std::string iconPreviewFile;  // Image2
    std::string logoPreviewFile;  // Image1
    // What the check of the branding folder's oemlogo.bmp warns of, one line each ("" for
    // nothing), shown under Image1.
    std::string logoWarning;
};

enum class Panel { Common, XP, XPINI, Seven };

enum class SidebarAction {
    None,
    ShowCommon,
    ShowXP,
    ShowXPINI,
    ShowSeven,
    BrandNow,
    RemoveBranding,
    RestoreFactoryBranding,
    SaveAndClose,
};

// Label links lblSideBar(0..7) and task-pane items (group and item numbered from 1). The
// labels 0..6 and the first two groups' items follow the window's first layout; lblSideBar(7)
// and item 2 / 3 are "Restore Factory Branding".
SidebarAction ActionForLabel(int index);
SidebarAction ActionForTaskItem(int group, int item);

// Fills every box from the settings file and the branding folder (the support text and its
// manufacturer and model from the branding folder's oeminfo.ini when there is one).
EditorFields LoadFields();
// Writes every box to the settings file, then the branding folder's oeminfo.ini. The two boxes
// for Windows 10 and later are written only when one has text or the file already has a value,
// so that a settings file without them stays without them.
void SaveFields(const EditorFields& fields);

// The XP support-text panel: read from / written to the branding folder's oeminfo.ini.
void LoadSupportText(EditorFields& fields);
void SaveSupportText(const EditorFields& fields);

// A support address as it is written, without the blanks (spaces, tabs) around it: one with a
// scheme ("https:", "mailto:", "ftp:", "file:", "tel:", any letter, then letters, digits, "+",
// "-" or ".", then ":") keeps it; one without gets "http://". A host with a port is not a
// scheme: a ":" followed by 1 to 5 digits and then the end, "/", "?" or "#" ("localhost:8080",
// "www.example.com:8080/help") gets "http://" too. An empty or blank one gives "".
std::string NormaliseSupportUrl(const std::string& url);

// "Control Panel > System": control.exe on Vista and later, the RUNDLL32 applet before.
void OpenSystemProperties();

// "Remove OS Branding": the engine's removal, System Properties, "Done".
void RemoveBrandingFromEditor();
// "Restore Factory Branding": asks first (Yes / No); on Yes the engine puts back the branding
// it recorded before its first change and removes what it placed, then System Properties and
// "Done". No, or a question that could not be asked, changes nothing.
void RestoreFactoryBrandingFromEditor();
// "Vexilla Now": save, remove, apply and register from the boxes, offer the shortcut, show
// System Properties, "Completed!".
void BrandNow(const EditorFields& fields);
void EditorApply(const EditorFields& fields);
void EditorRegisterOemLink(const EditorFields& fields);

}  // namespace vx::ui
