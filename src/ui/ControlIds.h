#pragma once
// The control ids of the editor window. Every control is a direct child of the window, so
// GetDlgItem(window, id) reaches each one; the GUI tests drive the window by these numbers, so
// they never change meaning. The "panels" are groups of ids shown and hidden together.
//
// | id  | control                    | kind                | text                                |
// |-----|----------------------------|---------------------|-------------------------------------|
// | 100 | SideBar                    | task pane           | Config, Branding Actions, Close     |
// | 101 | Picture1                   | label sidebar frame |                                     |
// | 110 | Label21(0)                 | bold label          | Config:                             |
// | 111 | Label21(1)                 | bold label          | Branding Actions:                   |
// | 112 | Label21(2)                 | bold label          | Close:                              |
// | 120 | lblSideBar(0)              | link label          | Common Info                         |
// | 121 | lblSideBar(1)              | link label          | XP OEM Link                         |
// | 122 | lblSideBar(2)              | link label          | XP OEMINFO.INI                      |
// | 123 | lblSideBar(3)              | link label          | Vista/7/8 Specific                  |
// | 124 | lblSideBar(4)              | link label          | Vexilla Now                         |
// | 125 | lblSideBar(5)              | link label          | Remove OS Branding                  |
// | 126 | lblSideBar(6)              | link label          | Save && Close (shows Save & Close)  |
// | 127 | lblSideBar(7)              | link label          | Restore Factory Branding            |
// | 200 | picCommon heading          | bold label          | System Properties Dialog Text:      |
// | 201 |                            | label               | Manufacturer:                       |
// | 202 | txtMfgr                    | edit                |                                     |
// | 203 |                            | label               | PC Model:                           |
// | 204 | txtModel                   | edit                |                                     |
// | 205 | picCommon heading          | bold label          | Custom URL Desktop Shortcut:        |
// | 206 |                            | label               | URL:                                |
// | 207 | txtDropDesktopShortcutURL  | edit                |                                     |
// | 208 |                            | label               | Shortcut Name:                      |
// | 209 | txtDropDesktopShortcutName | edit                |                                     |
// | 210 |                            | label               | Icon Name:                          |
// | 211 | txtDropDesktopShortcutIcon | edit                |                                     |
// | 212 |                            | hint                | Optional:  Put your icon in ...     |
// | 213 | optDDSUseDefBrowser        | radio button        | Use Default Browser (.URL Shortcut) |
// | 214 | optDDSUseIE                | radio button        | Use Internet Explorer (.LNK ...)    |
// | 300 | picXP heading              | bold label          | Fixed OEM Start Menu Link:          |
// | 301 |                            | label               | Button Name:                        |
// | 302 | txtButtonName              | edit                |                                     |
// | 303 |                            | label               | Info Tip:                           |
// | 304 | txtButtonTip               | edit                |                                     |
// | 305 |                            | label               | Icon File Name:                     |
// | 306 | txtIconName                | edit                |                                     |
// | 307 |                            | hint                | Icon must reside in the ...         |
// | 308 |                            | label               | Icon Preview:                       |
// | 309 | Image2                     | picture (icon)      |                                     |
// | 310 |                            | label               | Button Action:                      |
// | 311 | txtButtonAction            | edit                |                                     |
// | 312 |                            | hint                | three example actions               |
// | 313 |                            | label               | Alternate Action for right-click... |
// | 314 | txtAltAction               | edit                |                                     |
// | 315 |                            | label               | Alternate Action Name:              |
// | 316 | txtAltActionName           | edit                |                                     |
// | 400 | picXPINI heading           | bold label          | Support Information Button Text ... |
// | 401 | Text1                      | multi-line edit     | the support lines, CR LF between    |
// | 500 | pic7 heading               | bold label          | Additional Info for the System ...  |
// | 501 |                            | label               | Phone Number:                       |
// | 502 | txtPhoneNumber             | edit                |                                     |
// | 503 |                            | label               | Support Hours:                      |
// | 504 | txtSupportHours            | edit                |                                     |
// | 505 |                            | label               | Support URL:                        |
// | 506 | txtSupportURL              | edit                |                                     |
// | 507 | pic7 heading               | bold label          | Windows 10 and 11 (the Get Help ... |
// | 508 |                            | label               | Support provider:                   |
// | 509 | txtSupportProvider         | edit                |                                     |
// | 510 |                            | label               | Support app URL:                    |
// | 511 | txtSupportAppURL           | edit                |                                     |
// | 600 | logo column heading        | bold centred label  | OEMLOGO.BMP                         |
// | 601 | Image1 (click: System ...) | picture (bitmap)    |                                     |
// | 602 |                            | centred hint        | Your OEMLOGO.BMP must be in ...     |
// | 603 |                            | centred hint        | the logo check's warnings, or empty |
//
// Link labels and Image1 are static controls with SS_NOTIFY: a WM_LBUTTONDOWN on one clicks it.
// The task pane reports an item click as WM_COMMAND with code kExplorerBarItemClicked; its
// keyboard (Up, Down, Enter) reaches every item.

namespace vx::ui::ids {

inline constexpr int kSideBar = 100;
inline constexpr int kPicture1 = 101;
inline constexpr int kLabel21First = 110;     // Label21(0..2) are 110..112
inline constexpr int kLblSideBarFirst = 120;  // lblSideBar(0..7) are 120..127
inline constexpr int kLblSideBarCount = 8;

inline constexpr int kCommonHeading = 200;
inline constexpr int kMfgrLabel = 201;
inline constexpr int kMfgr = 202;
inline constexpr int kModelLabel = 203;
inline constexpr int kModel = 204;
inline constexpr int kShortcutHeading = 205;
inline constexpr int kShortcutUrlLabel = 206;
inline constexpr int kShortcutUrl = 207;
inline constexpr int kShortcutNameLabel = 208;
inline constexpr int kShortcutName = 209;
inline constexpr int kShortcutIconLabel = 210;
inline constexpr int kShortcutIcon = 211;
inline constexpr int kShortcutIconHint = 212;
inline constexpr int kUseDefBrowser = 213;
inline constexpr int kUseIE = 214;

inline constexpr int kXPHeading = 300;
inline constexpr int kButtonNameLabel = 301;
inline constexpr int kButtonName = 302;
inline constexpr int kButtonTipLabel = 303;
inline constexpr int kButtonTip = 304;
inline constexpr int kIconNameLabel = 305;
inline constexpr int kIconName = 306;
inline constexpr int kIconNameHint = 307;
inline constexpr int kIconPreviewLabel = 308;
inline constexpr int kImage2 = 309;
inline constexpr int kButtonActionLabel = 310;
inline constexpr int kButtonAction = 311;
inline constexpr int kButtonActionHint = 312;
inline constexpr int kAltActionLabel = 313;
inline constexpr int kAltAction = 314;
inline constexpr int kAltActionNameLabel = 315;
inline constexpr int kAltActionName = 316;

inline constexpr int kXPINIHeading = 400;
inline constexpr int kText1 = 401;

inline constexpr int kSevenHeading = 500;
inline constexpr int kPhoneLabel = 501;
inline constexpr int kPhone = 502;
inline constexpr int kHoursLabel = 503;
inline constexpr int kHours = 504;
inline constexpr int kSupportUrlLabel = 505;
inline constexpr int kSupportUrl = 506;
inline constexpr int kWindows10Heading = 507;
inline constexpr int kSupportProviderLabel = 508;
inline constexpr int kSupportProvider = 509;
inline constexpr int kSupportAppUrlLabel = 510;
inline constexpr int kSupportAppUrl = 511;

inline constexpr int kLogoHeading = 600;
inline constexpr int kImage1 = 601;
inline constexpr int kLogoHint = 602;
inline constexpr int kLogoWarning = 603;

}  // namespace vx::ui::ids
