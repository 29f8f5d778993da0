#include "ui/FormLayout.h"

#include "ui/ControlIds.h"

namespace vx::ui {
namespace {

using K = ControlKind;
using G = ControlGroup;

// The four panels are stacked at (3240, 0), 5175 x 4935; their controls are placed relative
// to the panel, like the children of a picture box.
constexpr int kPanelLeft = 3240;
constexpr TwipRect P(int left, int top, int width, int height) {
    return {kPanelLeft + left, top, width, height};
}

// Panel rows: a label on the left, its box on the right, 390 twips apart. A label sits 45
// twips lower than its box so that the text lines up with the text inside the box.
constexpr int kMargin = 120;
constexpr int kPanelInner = 4935;  // the panel's width less both margins
constexpr int kLabelHeight = 255;
constexpr int kBoxHeight = 300;
constexpr int kLabelDrop = 45;
constexpr int kBoxLeft = 1500;    // picCommon and pic7
constexpr int kXPBoxLeft = 1860;  // picXP has the longer captions
constexpr int kBoxWidth = kMargin + kPanelInner - kBoxLeft;
constexpr int kXPBoxWidth = kMargin + kPanelInner - kXPBoxLeft;

constexpr TwipRect RowLabel(int boxTop, int boxLeft) {
    return P(kMargin, boxTop + kLabelDrop, boxLeft - kMargin - 45, kLabelHeight);
}
constexpr TwipRect RowBox(int top, int left, int width) { return P(left, top, width, kBoxHeight); }
constexpr TwipRect PanelHeading(int top) { return P(kMargin, top, kPanelInner, kLabelHeight); }

constexpr ControlSpec kControls[] = {
    // ---- the label sidebar (Picture1 last, so that it lies below its labels) ----
    {ids::kLabel21First + 0, K::Heading, G::LabelSidebar, "Config:", {120, 120, 2895, 255}},
    {ids::kLblSideBarFirst + 0, K::Link, G::LabelSidebar, "Common Info", {360, 480, 2775, 255}},
    {ids::kLblSideBarFirst + 1, K::Link, G::LabelSidebar, "XP OEM Link", {360, 840, 2775, 255}},
    {ids::kLblSideBarFirst + 2, K::Link, G::LabelSidebar, "XP OEMINFO.INI", {360, 1200, 2775, 255}},
    {ids::kLblSideBarFirst + 3,
     K::Link,
     G::LabelSidebar,
     "Vista/7/8 Specific",
     {360, 1560, 2775, 255}},
    {ids::kLabel21First + 1,
     K::Heading,
     G::LabelSidebar,
     "Branding Actions:",
     {120, 2160, 2895, 255}},
    {ids::kLblSideBarFirst + 4, K::Link, G::LabelSidebar, "Vexilla Now", {360, 2520, 2775, 255}},
    {ids::kLblSideBarFirst + 5,
     K::Link,
     G::LabelSidebar,
     "Remove OS Branding",
     {360, 2880, 2775, 255}},
    // The newest action keeps the next free index; the "Close:" group moves down a row for it.
    {ids::kLblSideBarFirst + 7,
     K::Link,
     G::LabelSidebar,
     "Restore Factory Branding",
     {360, 3240, 2775, 255}},
    {ids::kLabel21First + 2, K::Heading, G::LabelSidebar, "Close:", {120, 3840, 2895, 255}},
    // "&&" is an escaped ampersand: the label shows "Save & Close".
    {ids::kLblSideBarFirst + 6, K::Link, G::LabelSidebar, "Save && Close", {360, 4200, 2775, 255}},
    {ids::kPicture1, K::SidebarFrame, G::LabelSidebar, "", kSidebarBounds},

    // ---- picCommon ----
    {ids::kCommonHeading, K::Heading, G::Common,
     "System Properties Dialog Text:", PanelHeading(120)},
    {ids::kMfgrLabel, K::Label, G::Common, "Manufacturer:", RowLabel(480, kBoxLeft)},
    {ids::kMfgr, K::Edit, G::Common, "", RowBox(480, kBoxLeft, kBoxWidth)},
    {ids::kModelLabel, K::Label, G::Common, "PC Model:", RowLabel(870, kBoxLeft)},
    {ids::kModel, K::Edit, G::Common, "", RowBox(870, kBoxLeft, kBoxWidth)},
    {ids::kShortcutHeading, K::Heading, G::Common,
     "Custom URL Desktop Shortcut:", PanelHeading(1380)},
    {ids::kShortcutUrlLabel, K::Label, G::Common, "URL:", RowLabel(1740, kBoxLeft)},
    {ids::kShortcutUrl, K::Edit, G::Common, "", RowBox(1740, kBoxLeft, kBoxWidth)},
    {ids::kShortcutNameLabel, K::Label, G::Common, "Shortcut Name:", RowLabel(2130, kBoxLeft)},
    {ids::kShortcutName, K::Edit, G::Common, "", RowBox(2130, kBoxLeft, kBoxWidth)},
    {ids::kShortcutIconLabel, K::Label, G::Common, "Icon Name:", RowLabel(2520, kBoxLeft)},
    {ids::kShortcutIcon, K::Edit, G::Common, "", RowBox(2520, kBoxLeft, kBoxWidth)},
    {ids::kShortcutIconHint, K::Hint, G::Common, "Optional:  Put your icon in the Branding dir.",
     P(kBoxLeft, 2865, kBoxWidth, kLabelHeight)},
    {ids::kUseDefBrowser, K::FirstRadio, G::Common, "Use Default Browser (.URL Shortcut)",
     P(kBoxLeft, 3255, kBoxWidth, 285)},
    {ids::kUseIE, K::Radio, G::Common, "Use Internet Explorer (.LNK Shortcut)",
     P(kBoxLeft, 3570, kBoxWidth, 285)},

    // ---- picXP ----
    {ids::kXPHeading, K::Heading, G::XP, "Fixed OEM Start Menu Link:", PanelHeading(120)},
    {ids::kButtonNameLabel, K::Label, G::XP, "Button Name:", RowLabel(480, kXPBoxLeft)},
    {ids::kButtonName, K::Edit, G::XP, "", RowBox(480, kXPBoxLeft, kXPBoxWidth)},
    {ids::kButtonTipLabel, K::Label, G::XP, "Info Tip:", RowLabel(870, kXPBoxLeft)},
    {ids::kButtonTip, K::Edit, G::XP, "", RowBox(870, kXPBoxLeft, kXPBoxWidth)},
    {ids::kIconNameLabel, K::Label, G::XP, "Icon File Name:", RowLabel(1260, kXPBoxLeft)},
    // Narrower, leaving the right-hand column to the icon preview.
    {ids::kIconName, K::Edit, G::XP, "", RowBox(1260, kXPBoxLeft, 1950)},
    {ids::kIconNameHint, K::Hint, G::XP,
     "Icon must reside in the Branding subdirectory.  Leave blank for default.",
     P(kXPBoxLeft, 1605, 1950, 645)},
    {ids::kIconPreviewLabel, K::Label, G::XP, "Icon Preview:", P(3960, 1305, 1095, kLabelHeight)},
    {ids::kImage2, K::Picture, G::XP, "", P(3960, 1590, 975, 855)},
    {ids::kButtonActionLabel, K::Label, G::XP, "Button Action:", RowLabel(2565, kXPBoxLeft)},
    {ids::kButtonAction, K::Edit, G::XP, "", RowBox(2565, kXPBoxLeft, kXPBoxWidth)},
    {ids::kButtonActionHint, K::Hint, G::XP,
     "e.g.  mailto:support@example.com\r\n"
     "or  http://www.example.com/support\r\n"
     "or  C:\\Program Files\\Support\\help.exe",
     P(kXPBoxLeft, 2910, kXPBoxWidth, 585)},
    {ids::kAltActionLabel, K::Label, G::XP,
     "Alternate Action for right-click menu:  (Leave blank for no alternate action.)",
     // Narrow enough to break the line after "menu:", wide enough for the rest.
     P(kMargin, 3555, 2850, 390)},
    {ids::kAltAction, K::Edit, G::XP, "", RowBox(3960, kMargin, kPanelInner)},
    {ids::kAltActionNameLabel, K::Label, G::XP,
     "Alternate Action Name:", RowLabel(4380, kXPBoxLeft)},
    {ids::kAltActionName, K::Edit, G::XP, "", RowBox(4380, kXPBoxLeft, kXPBoxWidth)},

    // ---- picXPINI ----
    {ids::kXPINIHeading, K::Heading, G::XPINI,
     "Support Information Button Text (from the OEMLOGO.INI)", PanelHeading(120)},
    {ids::kText1, K::MultiLineEdit, G::XPINI, "", P(120, 480, 4935, 4215)},

    // ---- pic7 ----
    {ids::kSevenHeading, K::Heading, G::Seven,
     "Additional Info for the System Properties Dialog:", PanelHeading(120)},
    {ids::kPhoneLabel, K::Label, G::Seven, "Phone Number:", RowLabel(480, kBoxLeft)},
    {ids::kPhone, K::Edit, G::Seven, "", RowBox(480, kBoxLeft, kBoxWidth)},
    {ids::kHoursLabel, K::Label, G::Seven, "Support Hours:", RowLabel(870, kBoxLeft)},
    {ids::kHours, K::Edit, G::Seven, "", RowBox(870, kBoxLeft, kBoxWidth)},
    {ids::kSupportUrlLabel, K::Label, G::Seven, "Support URL:", RowLabel(1260, kBoxLeft)},
    {ids::kSupportUrl, K::Edit, G::Seven, "", RowBox(1260, kBoxLeft, kBoxWidth)},
    // Read by the Get Help app of Windows 10 and later only; their captions are longer, so their
    // boxes start where picXP's do.
    {ids::kWindows10Heading, K::Heading, G::Seven,
     "Windows 10 and 11 (the Get Help app):", PanelHeading(1770)},
    {ids::kSupportProviderLabel, K::Label, G::Seven,
     "Support provider:", RowLabel(2130, kXPBoxLeft)},
    {ids::kSupportProvider, K::Edit, G::Seven, "", RowBox(2130, kXPBoxLeft, kXPBoxWidth)},
    {ids::kSupportAppUrlLabel, K::Label, G::Seven, "Support app URL:", RowLabel(2520, kXPBoxLeft)},
    {ids::kSupportAppUrl, K::Edit, G::Seven, "", RowBox(2520, kXPBoxLeft, kXPBoxWidth)},

    // ---- the logo column, always visible ----
    {ids::kLogoHeading, K::CentredHeading, G::LogoColumn, "OEMLOGO.BMP", {8760, 120, 1815, 255}},
    {ids::kImage1, K::Picture, G::LogoColumn, "", {8760, 480, 1815, 1815}},
    {ids::kLogoHint,
     K::CentredHint,
     G::LogoColumn,
     "Your OEMLOGO.BMP must be in the \\Branding subdirectory.",
     {8520, 2400, 2295, 495}},
    // Filled when the window loads: what the logo check warns of.
    {ids::kLogoWarning, K::CentredHint, G::LogoColumn, "", {8520, 3015, 2295, 1800}},
};

}  // namespace

std::span<const ControlSpec> FormControls() { return kControls; }

const ControlSpec* FindControl(int id) {
    for (const ControlSpec& spec : kControls) {
        if (spec.id == id) {
            return &spec;
        }
    }
    return nullptr;
}

int TextLimit(const ControlSpec& control) {
    return control.kind == ControlKind::Edit ? kSettingTextMax : 0;
}

ControlGroup GroupOf(Panel panel) {
    switch (panel) {
        case Panel::XP:
            return ControlGroup::XP;
        case Panel::XPINI:
            return ControlGroup::XPINI;
        case Panel::Seven:
            return ControlGroup::Seven;
        case Panel::Common:
            break;
    }
    return ControlGroup::Common;
}

bool IsPanel(ControlGroup group) {
    return group == ControlGroup::Common || group == ControlGroup::XP ||
           group == ControlGroup::XPINI || group == ControlGroup::Seven;
}

}  // namespace vx::ui
