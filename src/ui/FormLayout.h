#pragma once
// Where every control of the editor window sits, what it shows and how it behaves, in twips
// (1440 to the inch) of the window's client area: the window converts them for the screen's
// DPI. The order of the table is the order of creation, which is also the tab order and the
// Z order (a child created later lies below the ones created before it).

#include <span>

#include "ui/Editor.h"

namespace vx::ui {

enum class ControlKind {
    SidebarFrame,    // Picture1: the plain box behind the label links
    Heading,         // bold label
    CentredHeading,  // bold label, centred
    Label,           // caption of the box beside or below it
    Hint,            // explanatory text
    CentredHint,
    Link,           // lblSideBar: clickable label with the hand cursor
    Edit,           // single-line text box
    MultiLineEdit,  // Text1
    FirstRadio,     // the first option button of a group
    Radio,          // a further option button of the same group
    Picture,        // Image1 / Image2: drawn by the window
};

// The label sidebar, one of the four panels (only one is visible), or the logo column.
enum class ControlGroup { LabelSidebar, Common, XP, XPINI, Seven, LogoColumn };

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlSpec {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    ControlGroup group = ControlGroup::LogoColumn;
    const char* text = "";
    TwipRect bounds;
};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kClientWidthTwips = 10890;
inline constexpr int kClientHeightTwips = 4935;
// The task pane and Picture1 share this place; only one of them is visible.
inline constexpr TwipRect kSidebarBounds{0, 0, 3255, 4935};

// Every control but the task pane, in creation order.
std::span<const ControlSpec> FormControls();

// nullptr when no control has that id.
const ControlSpec* FindControl(int id);

// How many characters the user may type or paste into a control; 0 for no limit. Every
// single-line box is saved to the settings file, and every reader of that file (reload,
// /autobrand, the shortcut) takes at most the first 254 characters of a value: a box holds
// no more, so what is saved is what is applied. Text1 goes to oeminfo.ini, whose lines the
// panel reads back whole, and is not limited.
inline constexpr int kSettingTextMax = 254;
int TextLimit(const ControlSpec& control);

// The panel group that shows `panel`.
ControlGroup GroupOf(Panel panel);
bool IsPanel(ControlGroup group);

}  // namespace vx::ui
