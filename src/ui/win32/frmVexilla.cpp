#include "ui/win32/frmVexilla.h"

#include <string>

#include "common/AppSettings.h"
#include "common/AppState.h"
#include "common/DebugLog.h"
#include "common/Guarded.h"
#include "common/ReportHeaders.h"
#include "platform/TextMode.h"
#include "platform/win32/WideText.h"
#include "ui/ControlIds.h"
#include "ui/FormLayout.h"

namespace vx::ui::win32 {
namespace {

constexpr const char* kClassName = "VexillaMainWindow";
// A fixed-size tool window: no sizing border, no maximise box.
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// IDC_HAND in its "A" form, whatever UNICODE says.
const auto kHandCursor = MAKEINTRESOURCEA(32649);

// Which text box holds which value. The shortcut boxes are filled only when the settings file
// has a value for them.
struct BoxBinding {
    int id;
    std::string EditorFields::*field;
    bool onlyWhenSet;
};

constexpr BoxBinding kBoxes[] = {
    {ids::kMfgr, &EditorFields::mfgr, false},
    {ids::kModel, &EditorFields::model, false},
    {ids::kShortcutUrl, &EditorFields::dropDesktopShortcutURL, true},
    {ids::kShortcutName, &EditorFields::dropDesktopShortcutName, true},
    {ids::kShortcutIcon, &EditorFields::dropDesktopShortcutIcon, true},
    {ids::kButtonName, &EditorFields::buttonName, false},
    {ids::kButtonTip, &EditorFields::buttonTip, false},
    {ids::kIconName, &EditorFields::iconName, false},
    {ids::kButtonAction, &EditorFields::buttonAction, false},
    {ids::kAltAction, &EditorFields::altAction, false},
    {ids::kAltActionName, &EditorFields::altActionName, false},
    {ids::kText1, &EditorFields::supportText, false},
    {ids::kPhone, &EditorFields::phoneNumber, false},
    {ids::kHours, &EditorFields::supportHours, false},
    {ids::kSupportUrl, &EditorFields::supportURL, false},
    {ids::kSupportProvider, &EditorFields::supportProvider, false},
    {ids::kSupportAppUrl, &EditorFields::supportAppURL, false},
};

// The task pane's groups and items, in the order they are added (numbered from 1 in that order).
constexpr const char* kConfigItems[] = {"Common Info", "XP OEM Link", "XP OEMINFO.INI",
                                        "Vista/7/8 Specific"};
constexpr const char* kActionItems[] = {"Vexilla Now", "Remove OS Branding",
                                        "Restore Factory Branding"};
constexpr const char* kCloseItems[] = {"Save and Close"};

// The system's hot-tracking colour, unless it can hardly be read on the sidebar's background
// (Wine's default scheme makes it light grey); then the usual link blue.
COLORREF LinkColour() {
    const auto luma = [](COLORREF colour) {
        return (299 * GetRValue(colour) + 587 * GetGValue(colour) + 114 * GetBValue(colour)) / 1000;
    };
    const COLORREF hot = GetSysColor(COLOR_HOTLIGHT);
    const int contrast = luma(hot) - luma(GetSysColor(COLOR_WINDOW));
    constexpr int kReadable = 96;
    return contrast >= kReadable || contrast <= -kReadable ? hot : RGB(0, 102, 204);
}

bool IsLink(int id) {
    return id >= ids::kLblSideBarFirst && id < ids::kLblSideBarFirst + ids::kLblSideBarCount;
}

struct ControlClass {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

// Every control starts its own group unless it continues a group of option buttons, so that
// the arrow keys move only between the option buttons of one group.
ControlClass ClassFor(ControlKind kind) {
    constexpr DWORD kTabStop = WS_TABSTOP | WS_GROUP;
    switch (kind) {
        case ControlKind::SidebarFrame:
            return {"STATIC", WS_GROUP, WS_EX_STATICEDGE};
        case ControlKind::Heading:
        case ControlKind::Label:
        case ControlKind::Hint:
            return {"STATIC", SS_LEFT | WS_GROUP, 0};
        case ControlKind::CentredHeading:
        case ControlKind::CentredHint:
            return {"STATIC", SS_CENTER | WS_GROUP, 0};
        case ControlKind::Link:
            return {"STATIC", SS_LEFT | SS_NOTIFY | WS_GROUP, 0};
        case ControlKind::Picture:
            return {"STATIC", SS_OWNERDRAW | SS_NOTIFY | WS_GROUP, 0};
        case ControlKind::Edit:
            return {"EDIT", ES_AUTOHSCROLL | kTabStop, WS_EX_CLIENTEDGE};
        case ControlKind::MultiLineEdit:
            return {"EDIT",
                    ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL |
                        WS_HSCROLL | kTabStop,
                    WS_EX_CLIENTEDGE};
        case ControlKind::FirstRadio:
            return {"BUTTON", BS_AUTORADIOBUTTON | kTabStop, 0};
        case ControlKind::Radio:
            return {"BUTTON", BS_AUTORADIOBUTTON, 0};
    }
    return {"STATIC", SS_LEFT, 0};
}

bool IsBold(ControlKind kind) {
    return kind == ControlKind::Heading || kind == ControlKind::CentredHeading;
}

bool IsBox(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit ||
           kind == ControlKind::FirstRadio;
}

// The boxes hold the kit's text: in the UTF-8 mode they are Unicode windows, read and written
// through the W calls, so a name outside the code page shows and saves whole.
bool IsTextBox(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit;
}

void PutText(HWND control, const std::string& text) {
    if (platform::TextIsUtf8()) {
        SetWindowTextW(control, platform::win32::WideFromUtf8(text).c_str());
    } else {
        SetWindowTextA(control, text.c_str());
    }
}

std::string TextOf(HWND control) {
    if (platform::TextIsUtf8()) {
        const int length = GetWindowTextLengthW(control);
        if (length <= 0) {
            return {};
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const int copied = GetWindowTextW(control, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        return platform::win32::Utf8FromWide(text);
    }
    const int length = GetWindowTextLengthA(control);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

// The primary monitor's work area, i.e. the screen less the taskbar.
POINT CentredOrigin(int width, int height) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    static_cast<void>(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    return {area.left + (area.right - area.left - width) / 2,
            area.top + (area.bottom - area.top - height) / 2};
}

}  // namespace

// ---- creation and load ----------------------------------------------------------------------

std::unique_ptr<frmVexilla> frmVexilla::open(HINSTANCE instance, int showCommand,
                                             const IconApplier& applyIcon) {
    const platform::win32::WindowClass windowClass{kClassName, 0,
                                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    if (const DWORD error = registerClass(instance, windowClass); error != ERROR_SUCCESS) {
        ThrowSystemError(error);
    }
    std::unique_ptr<frmVexilla> self(new frmVexilla());
    HDC screen = GetDC(nullptr);
    if (screen != nullptr) {
        self->dpi_ = {GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
        ReleaseDC(nullptr, screen);
    }
    RECT frame = self->toPixels(0, 0, kClientWidthTwips, kClientHeightTwips);
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const POINT origin = CentredOrigin(width, height);
    if (self->create(0, kClassName, kAppTitle, kWindowStyle,
                     {origin.x, origin.y, origin.x + width, origin.y + height}, nullptr, 0,
                     instance) == nullptr) {
        ThrowSystemError(GetLastError());
    }
    self->fonts_ = MakeFormFonts(self->dpi_.y);
    self->createControls(instance);
    self->load(applyIcon);
    ShowWindow(self->handle(), showCommand);
    UpdateWindow(self->handle());
    self->focusFirstBox(self->panel_);
    return self;
}

// Destroyed here, not by the base, so that WM_DESTROY still ends the message loop.
frmVexilla::~frmVexilla() { destroy(); }

RECT frmVexilla::toPixels(int left, int top, int width, int height) const {
    // Both edges are converted, not the size, so that neighbours stay flush after rounding.
    return {MulDiv(left, dpi_.x, kTwipsPerInch), MulDiv(top, dpi_.y, kTwipsPerInch),
            MulDiv(left + width, dpi_.x, kTwipsPerInch),
            MulDiv(top + height, dpi_.y, kTwipsPerInch)};
}

void frmVexilla::createControls(HINSTANCE instance) {
    const auto setFont = [](HWND target, const UniqueFont& font) {
        if (target != nullptr && font) {
            SendMessageA(target, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        }
    };
    // First in the tab order; hidden until the load decides on the sidebar.
    const TwipRect& bar = kSidebarBounds;
    setFont(sideBar_.create(handle(), toPixels(bar.left, bar.top, bar.width, bar.height),
                            ids::kSideBar),
            fonts_.regular);
    for (const ControlSpec& spec : FormControls()) {
        const ControlClass kind = ClassFor(spec.kind);
        const RECT box =
            toPixels(spec.bounds.left, spec.bounds.top, spec.bounds.width, spec.bounds.height);
        // WS_CLIPSIBLINGS: Picture1 lies under its labels and must not paint over them.
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
        const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id));
        const HWND created =
            platform::TextIsUtf8() && IsTextBox(spec.kind)
                ? CreateWindowExW(kind.exStyle, platform::win32::WideFromUtf8(kind.className).c_str(),
                                  platform::win32::WideFromUtf8(spec.text).c_str(), style, box.left,
                                  box.top, box.right - box.left, box.bottom - box.top, handle(),
                                  menu, instance, nullptr)
                : CreateWindowExA(kind.exStyle, kind.className, spec.text, style, box.left,
                                  box.top, box.right - box.left, box.bottom - box.top, handle(),
                                  menu, instance, nullptr);
        setFont(created, IsBold(spec.kind) ? fonts_.bold : fonts_.regular);
        if (const int limit = TextLimit(spec); created != nullptr && limit > 0) {
            SendMessageA(created, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
        }
    }
}

void frmVexilla::load(const IconApplier& applyIcon) {
    Guarded(report::kFormLoad, [&] {
        if (applyIcon) {
            applyIcon(handle());
        }
    });
    Guarded(report::kFormLoad, [&] { showPanel(Panel::Common); });
    Guarded(report::kFormLoad, [&] { putFields(LoadFields()); });
    Guarded(report::kFormLoad, [&] {
        if (!State().sidebarThemesDisabled) {
            showTaskPane();
        }
    });
}

void frmVexilla::showTaskPane() {
    sideBar_.show(true);
    for (const ControlSpec& spec : FormControls()) {
        if (spec.group == ControlGroup::LabelSidebar) {
            ShowWindow(control(spec.id), SW_HIDE);
        }
    }
    const auto addGroup = [this](const char* caption, const auto& items) {
        const int group = sideBar_.addGroup(caption);
        for (const char* item : items) {
            static_cast<void>(sideBar_.addItem(item, group));
        }
    };
    addGroup("Config", kConfigItems);
    addGroup("Branding Actions", kActionItems);
    addGroup("Close", kCloseItems);
}

void frmVexilla::showPanel(Panel panel) {
    panel_ = panel;
    const ControlGroup shown = GroupOf(panel);
    for (const ControlSpec& spec : FormControls()) {
        if (IsPanel(spec.group)) {
            ShowWindow(control(spec.id), spec.group == shown ? SW_SHOWNA : SW_HIDE);
        }
    }
    // A hidden control keeps the focus unless it is moved: Tab would then start nowhere.
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(handle(), focus) && IsWindowVisible(focus) == 0) {
        focusFirstBox(panel);
    }
}

void frmVexilla::focusFirstBox(Panel panel) {
    const ControlGroup shown = GroupOf(panel);
    for (const ControlSpec& spec : FormControls()) {
        if (spec.group == shown && IsBox(spec.kind)) {
            SetFocus(control(spec.id));
            return;
        }
    }
}

// ---- the boxes ------------------------------------------------------------------------------

void frmVexilla::putFields(const EditorFields& fields) {
    for (const BoxBinding& box : kBoxes) {
        const std::string& text = fields.*box.field;
        if (!box.onlyWhenSet || !text.empty()) {
            PutText(control(box.id), text);
        }
    }
    CheckRadioButton(handle(), ids::kUseDefBrowser, ids::kUseIE,
                     fields.useIE ? ids::kUseIE : ids::kUseDefBrowser);
    logo_.loadBitmapFile(fields.logoPreviewFile);
    PutText(control(ids::kLogoWarning), fields.logoWarning);
    RECT iconBox{};
    GetClientRect(control(ids::kImage2), &iconBox);
    icon_.loadIconFile(fields.iconPreviewFile, {iconBox.right, iconBox.bottom});
    InvalidateRect(control(ids::kImage1), nullptr, TRUE);
    InvalidateRect(control(ids::kImage2), nullptr, TRUE);
}

EditorFields frmVexilla::collectFields() const {
    EditorFields fields;
    for (const BoxBinding& box : kBoxes) {
        fields.*box.field = TextOf(control(box.id));
    }
    fields.useIE = IsDlgButtonChecked(handle(), ids::kUseIE) == BST_CHECKED;
    return fields;
}

// ---- actions --------------------------------------------------------------------------------

void frmVexilla::run(SidebarAction action) {
    if (busy_) {
        return;
    }
    // Cleared however the action ends: one that failed half-way leaves the window usable.
    struct BusyScope {
        bool& busy;
        ~BusyScope() { busy = false; }
    } scope{busy_};
    busy_ = true;
    switch (action) {
        case SidebarAction::ShowCommon:
            showPanel(Panel::Common);
            break;
        case SidebarAction::ShowXP:
            showPanel(Panel::XP);
            break;
        case SidebarAction::ShowXPINI:
            showPanel(Panel::XPINI);
            break;
        case SidebarAction::ShowSeven:
            showPanel(Panel::Seven);
            break;
        case SidebarAction::BrandNow:
            BrandNow(collectFields());
            break;
        case SidebarAction::RemoveBranding:
            RemoveBrandingFromEditor();
            break;
        case SidebarAction::RestoreFactoryBranding:
            RestoreFactoryBrandingFromEditor();
            break;
        case SidebarAction::SaveAndClose:
            SaveFields(collectFields());
            DestroyWindow(handle());
            break;
        case SidebarAction::None:
            break;
    }
}

// ---- messages -------------------------------------------------------------------------------

LRESULT frmVexilla::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_SETCURSOR:
            if (onSetCursor(reinterpret_cast<HWND>(wParam))) {
                return TRUE;
            }
            break;
        case WM_CTLCOLORSTATIC:
            return onCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DRAWITEM:
            if (onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            onActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return defaultProcedure(message, wParam, lParam);
}

void frmVexilla::onCommand(int id, int code) {
    if (IsLink(id) && code == STN_CLICKED) {
        run(ActionForLabel(id - ids::kLblSideBarFirst));
    } else if (id == ids::kSideBar && code == kExplorerBarItemClicked) {
        const ExplorerBarClick click = sideBar_.lastClick();
        run(ActionForTaskItem(click.group, click.item));
    } else if (id == ids::kImage1 && code == STN_CLICKED) {
        OpenSystemProperties();
    }
    // Enter and Esc arrive as IDOK and IDCANCEL from IsDialogMessage: this window has neither.
}

bool frmVexilla::onSetCursor(HWND target) const {
    if (target == nullptr || !IsLink(GetDlgCtrlID(target))) {
        return false;
    }
    SetCursor(LoadCursorA(nullptr, kHandCursor));
    return true;
}

// The label sidebar is a white box with blue links; everything else keeps the dialog colours.
LRESULT frmVexilla::onCtlColorStatic(HDC dc, HWND target) {
    const int id = GetDlgCtrlID(target);
    const ControlSpec* spec = FindControl(id);
    if (spec == nullptr || spec->group != ControlGroup::LabelSidebar) {
        return defaultProcedure(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(target));
    }
    SetTextColor(dc, IsLink(id) ? LinkColour() : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

bool frmVexilla::onDrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_STATIC) {
        return false;
    }
    if (item.CtlID == ids::kImage1) {
        logo_.paint(item.hDC, item.rcItem);
        return true;
    }
    if (item.CtlID == ids::kImage2) {
        icon_.paint(item.hDC, item.rcItem);
        return true;
    }
    return false;
}

// A plain window does not remember which control had the focus when it is deactivated, as a
// dialog box does: without this, the focus is lost after every message box.
void frmVexilla::onActivate(bool active) {
    if (!active) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(handle(), focus)) {
            lastFocus_ = focus;
        }
        return;
    }
    if (lastFocus_ != nullptr && IsChild(handle(), lastFocus_) &&
        IsWindowVisible(lastFocus_) != 0) {
        SetFocus(lastFocus_);
    } else {
        focusFirstBox(panel_);
    }
}

void RunUntilClosed(const frmVexilla& editor) {
    MSG message{};
    while (editor.isOpen()) {
        // 0 is WM_QUIT, -1 a failure that would repeat forever.
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            break;
        }
        if (editor.isOpen() && IsDialogMessageA(editor.handle(), &message) != 0) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace vx::ui::win32
