#include "ui/win32/XPExplorerBar.h"

#include <algorithm>
#include <utility>

#include "platform/win32/Window.h"
#include "ui/ExplorerBarModel.h"
#include "ui/win32/ExplorerBarFonts.h"
#include "ui/win32/ExplorerBarGdi.h"
#include "ui/win32/ExplorerBarPainter.h"
#include "ui/win32/ExplorerBarTheme.h"

namespace vx::ui::win32 {

class XPExplorerBar::Impl final : public platform::win32::Window {
public:
    Impl() = default;
    // Destroyed here, not by the base, so that WM_DESTROY still closes the theme.
    ~Impl() override { destroy(); }

    HWND createWindow(HWND parent, RECT bounds, int controlId);
    int addGroup(const std::string& caption) {
        const int group = model_.addGroup(caption);
        changed();
        return group;
    }
    int addItem(const std::string& caption, int group) {
        const int item = model_.addItem(group, caption);
        changed();
        return item;
    }
    void show(bool visible) const {
        if (handle() != nullptr) {
            ::ShowWindow(handle(), visible ? SW_SHOW : SW_HIDE);
        }
    }
    [[nodiscard]] ExplorerBarClick lastClick() const { return lastClick_; }
    void onItemClick(std::function<void(int, int)> handler) { onItemClick_ = std::move(handler); }

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onPaint();
    void trackLeave() const;
    void onMouseMove(BarPoint point);
    void onMouseLeave();
    void onLButtonDown(BarPoint point);
    void onLButtonUp(BarPoint point);
    bool onSetCursor();
    LRESULT onGetDlgCode(const MSG* message) const;
    void onKeyDown(WPARAM key);
    void onSetFocus();
    void onSetFont(HFONT font, bool redrawNow);
    void onThemeChanged();

    void relayout();
    void changed();
    void redraw() const;
    void passFocusOn(bool backward) const;
    void perform(const ExplorerBarActivation& activation);

    HWND parent_ = nullptr;
    int controlId_ = 0;
    ExplorerBarModel model_;
    PaneFonts fonts_;
    ExplorerTheme theme_;
    bool keyboardCues_ = false;
    ExplorerBarClick lastClick_;
    std::function<void(int, int)> onItemClick_;
};

namespace {

constexpr const char* kClassName = "VexillaExplorerBar";

// No CS_DBLCLKS: a quick second click on a link is a second click, not a double click.
constexpr platform::win32::WindowClass kWindowClass{kClassName, CS_HREDRAW | CS_VREDRAW};

BarPoint PointOf(LPARAM lParam) {
    // Signed: with the mouse captured, positions left of or above the window are negative.
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

HWND XPExplorerBar::Impl::createWindow(HWND parent, RECT bounds, int controlId) {
    if (handle() != nullptr) {
        return nullptr;
    }
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    // Any failure but the class being there already shows as the window not being made.
    static_cast<void>(registerClass(instance, kWindowClass));
    parent_ = parent;
    controlId_ = controlId;
    const HWND window = create(0, kClassName, "", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, bounds,
                               parent, controlId, instance);
    if (window == nullptr) {
        return nullptr;
    }
    theme_.open(window);
    onSetFont(reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0)), false);
    return window;
}

LRESULT XPExplorerBar::Impl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers every pixel
        case WM_SIZE:
            relayout();
            return 0;
        case WM_MOUSEMOVE:
            onMouseMove(PointOf(lParam));
            return 0;
        case WM_MOUSELEAVE:
            onMouseLeave();
            return 0;
        case WM_LBUTTONDOWN:
            onLButtonDown(PointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            // May have destroyed the window and this object: nothing may follow.
            onLButtonUp(PointOf(lParam));
            return 0;
        case WM_CAPTURECHANGED:
            model_.cancelPress();
            // A pointer that left while captured is reported at once.
            trackLeave();
            redraw();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && onSetCursor()) {
                return TRUE;
            }
            break;
        case WM_GETDLGCODE:
            return onGetDlgCode(reinterpret_cast<const MSG*>(lParam));
        case WM_KEYDOWN:
            // Enter and Space may have destroyed the window and this object.
            onKeyDown(wParam);
            return 0;
        case WM_SETFOCUS:
            onSetFocus();
            return 0;
        case WM_KILLFOCUS:
            redraw();
            return 0;
        case WM_UPDATEUISTATE:
            static_cast<void>(defaultProcedure(message, wParam, lParam));
            keyboardCues_ = (::SendMessageA(handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
            redraw();
            return 0;
        case WM_SETFONT:
            onSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(fonts_.normal());
        case WM_THEMECHANGED:
            onThemeChanged();
            return 0;
        case WM_DESTROY:
            theme_.close();
            break;
        default:
            break;
    }
    return defaultProcedure(message, wParam, lParam);
}

void XPExplorerBar::Impl::onPaint() {
    PaintScope paint(handle());
    if (paint.dc() == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(handle(), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    PaintState state;
    state.hasFocus = ::GetFocus() == handle();
    state.showFocus = keyboardCues_;
    const Painter painter(model_, fonts_, theme_);

    // Drawn off screen and copied in one go, so hover changes do not flicker.
    const UniqueDc memory(::CreateCompatibleDC(paint.dc()));
    const UniqueBitmap bitmap(::CreateCompatibleBitmap(paint.dc(), width, height));
    if (!memory || !bitmap) {
        painter.paint(paint.dc(), client, state);
        return;
    }
    {
        Selection selected(memory.get(), bitmap.get());
        painter.paint(memory.get(), client, state);
        ::BitBlt(paint.dc(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

// Asks for WM_MOUSELEAVE unless the system is already watching for it. The system, not a flag
// of ours, says whether it watches: a capture ends the watch, and Wine drops the request when
// the pointer position it reads lags behind the WM_MOUSEMOVE being handled.
void XPExplorerBar::Impl::trackLeave() const {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_QUERY;
    if (::TrackMouseEvent(&track) && track.hwndTrack == handle() &&
        (track.dwFlags & TME_LEAVE) != 0) {
        return;
    }
    track = TRACKMOUSEEVENT{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = handle();
    static_cast<void>(::TrackMouseEvent(&track));
}

void XPExplorerBar::Impl::onMouseMove(BarPoint point) {
    trackLeave();
    if (model_.mouseMove(point)) {
        redraw();
    }
}

void XPExplorerBar::Impl::onMouseLeave() {
    if (model_.mouseLeave()) {
        redraw();
    }
}

void XPExplorerBar::Impl::onLButtonDown(BarPoint point) {
    model_.mouseDown(point);
    const ExplorerBarElement pressed = model_.pressed();
    if (pressed.isNone()) {
        return;
    }
    // Keeps the release coming here when the pointer leaves before it.
    ::SetCapture(handle());
    if (::GetFocus() == handle()) {
        static_cast<void>(model_.setFocus(pressed));
    }
    redraw();
}

void XPExplorerBar::Impl::onLButtonUp(BarPoint point) {
    const ExplorerBarActivation activation = model_.mouseUp(point);
    if (::GetCapture() == handle()) {
        ::ReleaseCapture();
    }
    perform(activation);
}

bool XPExplorerBar::Impl::onSetCursor() {
    POINT cursor{};
    if (!::GetCursorPos(&cursor) || !::ScreenToClient(handle(), &cursor)) {
        return false;
    }
    if (model_.hitTest({cursor.x, cursor.y}).isNone()) {
        return false;  // the class cursor, the arrow
    }
    HCURSOR hand = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    if (hand == nullptr) {
        hand = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    ::SetCursor(hand);
    return true;
}

// Under a dialog manager (IsDialogMessage) the keys reach the control only when it asks for
// them: Tab while there is somewhere to go inside, Enter always; arrows and Space are ordinary
// keys. Without one every key arrives and onKeyDown passes Tab on at the ends.
LRESULT XPExplorerBar::Impl::onGetDlgCode(const MSG* message) const {
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (message != nullptr && message->message == WM_KEYDOWN) {
        if (message->wParam == VK_TAB && model_.canMoveFocus(::GetKeyState(VK_SHIFT) >= 0)) {
            code |= DLGC_WANTTAB;
        }
        if (message->wParam == VK_RETURN) {
            code |= DLGC_WANTMESSAGE;
        }
    }
    return code;
}

void XPExplorerBar::Impl::onKeyDown(WPARAM key) {
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    keyboardCues_ = true;
    switch (key) {
        case VK_TAB:
            if (shift ? model_.focusPrevious() : model_.focusNext()) {
                redraw();
            } else {
                passFocusOn(shift);
            }
            return;
        case VK_UP:
            static_cast<void>(model_.focusPrevious());
            break;
        case VK_DOWN:
            static_cast<void>(model_.focusNext());
            break;
        case VK_LEFT:
        case VK_RIGHT: {
            // Left folds the group that holds the focus, right opens it.
            const ExplorerBarElement focus = model_.focus();
            if (!focus.isNone()) {
                model_.setCollapsed(focus.group, key == VK_LEFT);
                changed();
            }
            break;
        }
        case VK_RETURN:
        case VK_SPACE:
            perform(model_.activate());
            return;
        default:
            return;
    }
    redraw();
}

void XPExplorerBar::Impl::onSetFocus() {
    // Arriving by Tab starts at the first element, by Shift+Tab at the last; a click or a
    // return from another window keeps the element that had the focus.
    if (::GetKeyState(VK_TAB) < 0) {
        keyboardCues_ = true;
        if (::GetKeyState(VK_SHIFT) < 0) {
            model_.focusLast();
        } else {
            model_.focusFirst();
        }
    } else if (model_.focus().isNone()) {
        model_.focusFirst();
    }
    if (!keyboardCues_) {
        keyboardCues_ = (::SendMessageA(handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
    }
    redraw();
}

void XPExplorerBar::Impl::onSetFont(HFONT font, bool redrawNow) {
    fonts_.use(font);
    relayout();
    if (redrawNow) {
        redraw();
    }
}

void XPExplorerBar::Impl::onThemeChanged() {
    theme_.open(handle());
    relayout();
    redraw();
}

// Sizes follow the font: a header fits its bold caption with room around it, a row its link.
void XPExplorerBar::Impl::relayout() {
    if (handle() == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(handle(), &client);
    const WindowDc screen(handle());
    if (screen.dc() == nullptr) {
        return;
    }
    const HDC dc = screen.dc();
    ExplorerBarMetrics metrics;
    metrics.headerHeight = std::max(metrics.headerHeight, TextHeight(dc, fonts_.bold()) + 10);
    metrics.itemHeight = std::max(metrics.itemHeight, TextHeight(dc, fonts_.normal()) + 7);
    metrics.glyphSize = std::min(metrics.glyphSize, metrics.headerHeight - 4);
    // Width is measured with the regular font, which the underlined one matches.
    const HFONT normal = fonts_.normal();
    model_.layoutToFit(
        client.right - client.left, client.bottom - client.top, metrics,
        [dc, normal](const std::string& text, bool) { return TextWidth(dc, normal, text) + 1; });
}

void XPExplorerBar::Impl::changed() {
    relayout();
    redraw();
}

void XPExplorerBar::Impl::redraw() const {
    if (handle() != nullptr) {
        ::InvalidateRect(handle(), nullptr, FALSE);
    }
}

void XPExplorerBar::Impl::passFocusOn(bool backward) const {
    const HWND next = ::GetNextDlgTabItem(parent_, handle(), backward ? TRUE : FALSE);
    if (next != nullptr && next != handle()) {
        ::SetFocus(next);
    }
}

void XPExplorerBar::Impl::perform(const ExplorerBarActivation& activation) {
    switch (activation.kind) {
        case ExplorerBarActivation::Kind::None:
            redraw();
            return;
        case ExplorerBarActivation::Kind::Toggled:
            changed();
            return;
        case ExplorerBarActivation::Kind::ItemClicked:
            break;
    }
    lastClick_ = {activation.element.group, activation.element.item};
    redraw();
    // The owner may destroy the window, and this object with it, while it handles the click:
    // everything needed afterwards is copied first.
    const HWND window = handle();
    const HWND parent = parent_;
    const int controlId = controlId_;
    const std::function<void(int, int)> handler = onItemClick_;
    if (handler) {
        handler(lastClick_.group, lastClick_.item);
    }
    if (::IsWindow(window)) {
        ::SendMessageA(parent, WM_COMMAND,
                       MAKEWPARAM(static_cast<WORD>(controlId), kExplorerBarItemClicked),
                       reinterpret_cast<LPARAM>(window));
    }
}

// ---- the public face ----

XPExplorerBar::XPExplorerBar() : impl_(std::make_unique<Impl>()) {}
XPExplorerBar::~XPExplorerBar() = default;

HWND XPExplorerBar::create(HWND parent, RECT bounds, int controlId) {
    return impl_->createWindow(parent, bounds, controlId);
}
int XPExplorerBar::addGroup(const std::string& caption) { return impl_->addGroup(caption); }
int XPExplorerBar::addItem(const std::string& caption, int group) {
    return impl_->addItem(caption, group);
}
void XPExplorerBar::show(bool visible) { impl_->show(visible); }
ExplorerBarClick XPExplorerBar::lastClick() const { return impl_->lastClick(); }
void XPExplorerBar::onItemClick(std::function<void(int group, int item)> handler) {
    impl_->onItemClick(std::move(handler));
}
HWND XPExplorerBar::handle() const { return impl_->handle(); }

}  // namespace vx::ui::win32
