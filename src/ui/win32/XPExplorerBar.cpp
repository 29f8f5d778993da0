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

    HWND Create(HWND parent, RECT bounds, int controlId);
    int AddGroup(const std::string& caption) {
        const int group = model_.AddGroup(caption);
        Changed();
        return group;
    }
    int AddItem(const std::string& caption, int group) {
        const int item = model_.AddItem(group, caption);
        Changed();
        return item;
    }
    void Show(bool visible) const {
        if (handle() != nullptr) {
            ::ShowWindow(handle(), visible ? SW_SHOW : SW_HIDE);
        }
    }
    [[nodiscard]] ExplorerBarClick LastClick() const { return lastClick_; }
    void OnItemClick(std::function<void(int, int)> handler) { onItemClick_ = std::move(handler); }

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    void TrackLeave() const;
    void OnMouseMove(BarPoint point);
    void OnMouseLeave();
    void OnLButtonDown(BarPoint point);
    void OnLButtonUp(BarPoint point);
    bool OnSetCursor();
    LRESULT OnGetDlgCode(const MSG* message) const;
    void OnKeyDown(WPARAM key);
    void OnSetFocus();
    void OnSetFont(HFONT font, bool redraw);
    void OnThemeChanged();

    void Relayout();
    void Changed();
    void Redraw() const;
    void PassFocusOn(bool backward) const;
    void Perform(const ExplorerBarActivation& activation);

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

HWND XPExplorerBar::Impl::Create(HWND parent, RECT bounds, int controlId) {
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
    theme_.Open(window);
    OnSetFont(reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0)), false);
    return window;
}

LRESULT XPExplorerBar::Impl::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers every pixel
        case WM_SIZE:
            Relayout();
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(PointOf(lParam));
            return 0;
        case WM_MOUSELEAVE:
            OnMouseLeave();
            return 0;
        case WM_LBUTTONDOWN:
            OnLButtonDown(PointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            // May have destroyed the window and this object: nothing may follow.
            OnLButtonUp(PointOf(lParam));
            return 0;
        case WM_CAPTURECHANGED:
            model_.CancelPress();
            // A pointer that left while captured is reported at once.
            TrackLeave();
            Redraw();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && OnSetCursor()) {
                return TRUE;
            }
            break;
        case WM_GETDLGCODE:
            return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
        case WM_KEYDOWN:
            // Enter and Space may have destroyed the window and this object.
            OnKeyDown(wParam);
            return 0;
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_KILLFOCUS:
            Redraw();
            return 0;
        case WM_UPDATEUISTATE:
            static_cast<void>(defaultProcedure(message, wParam, lParam));
            keyboardCues_ = (::SendMessageA(handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
            Redraw();
            return 0;
        case WM_SETFONT:
            OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(fonts_.Normal());
        case WM_THEMECHANGED:
            OnThemeChanged();
            return 0;
        case WM_DESTROY:
            theme_.Close();
            break;
        default:
            break;
    }
    return defaultProcedure(message, wParam, lParam);
}

void XPExplorerBar::Impl::OnPaint() {
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
        painter.Paint(paint.dc(), client, state);
        return;
    }
    {
        Selection selected(memory.get(), bitmap.get());
        painter.Paint(memory.get(), client, state);
        ::BitBlt(paint.dc(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

// Asks for WM_MOUSELEAVE unless the system is already watching for it. The system, not a flag
// of ours, says whether it watches: a capture ends the watch, and Wine drops the request when
// the pointer position it reads lags behind the WM_MOUSEMOVE being handled.
void XPExplorerBar::Impl::TrackLeave() const {
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

void XPExplorerBar::Impl::OnMouseMove(BarPoint point) {
    TrackLeave();
    if (model_.MouseMove(point)) {
        Redraw();
    }
}

void XPExplorerBar::Impl::OnMouseLeave() {
    if (model_.MouseLeave()) {
        Redraw();
    }
}

void XPExplorerBar::Impl::OnLButtonDown(BarPoint point) {
    model_.MouseDown(point);
    const ExplorerBarElement pressed = model_.Pressed();
    if (pressed.IsNone()) {
        return;
    }
    // Keeps the release coming here when the pointer leaves before it.
    ::SetCapture(handle());
    if (::GetFocus() == handle()) {
        static_cast<void>(model_.SetFocus(pressed));
    }
    Redraw();
}

void XPExplorerBar::Impl::OnLButtonUp(BarPoint point) {
    const ExplorerBarActivation activation = model_.MouseUp(point);
    if (::GetCapture() == handle()) {
        ::ReleaseCapture();
    }
    Perform(activation);
}

bool XPExplorerBar::Impl::OnSetCursor() {
    POINT cursor{};
    if (!::GetCursorPos(&cursor) || !::ScreenToClient(handle(), &cursor)) {
        return false;
    }
    if (model_.HitTest({cursor.x, cursor.y}).IsNone()) {
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
// keys. Without one every key arrives and OnKeyDown passes Tab on at the ends.
LRESULT XPExplorerBar::Impl::OnGetDlgCode(const MSG* message) const {
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (message != nullptr && message->message == WM_KEYDOWN) {
        if (message->wParam == VK_TAB && model_.CanMoveFocus(::GetKeyState(VK_SHIFT) >= 0)) {
            code |= DLGC_WANTTAB;
        }
        if (message->wParam == VK_RETURN) {
            code |= DLGC_WANTMESSAGE;
        }
    }
    return code;
}

void XPExplorerBar::Impl::OnKeyDown(WPARAM key) {
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    keyboardCues_ = true;
    switch (key) {
        case VK_TAB:
            if (shift ? model_.FocusPrevious() : model_.FocusNext()) {
                Redraw();
            } else {
                PassFocusOn(shift);
            }
            return;
        case VK_UP:
            static_cast<void>(model_.FocusPrevious());
            break;
        case VK_DOWN:
            static_cast<void>(model_.FocusNext());
            break;
        case VK_LEFT:
        case VK_RIGHT: {
            // Left folds the group that holds the focus, right opens it.
            const ExplorerBarElement focus = model_.Focus();
            if (!focus.IsNone()) {
                model_.SetCollapsed(focus.group, key == VK_LEFT);
                Changed();
            }
            break;
        }
        case VK_RETURN:
        case VK_SPACE:
            Perform(model_.Activate());
            return;
        default:
            return;
    }
    Redraw();
}

void XPExplorerBar::Impl::OnSetFocus() {
    // Arriving by Tab starts at the first element, by Shift+Tab at the last; a click or a
    // return from another window keeps the element that had the focus.
    if (::GetKeyState(VK_TAB) < 0) {
        keyboardCues_ = true;
        if (::GetKeyState(VK_SHIFT) < 0) {
            model_.FocusLast();
        } else {
            model_.FocusFirst();
        }
    } else if (model_.Focus().IsNone()) {
        model_.FocusFirst();
    }
    if (!keyboardCues_) {
        keyboardCues_ = (::SendMessageA(handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
    }
    Redraw();
}

void XPExplorerBar::Impl::OnSetFont(HFONT font, bool redraw) {
    fonts_.Use(font);
    Relayout();
    if (redraw) {
        Redraw();
    }
}

void XPExplorerBar::Impl::OnThemeChanged() {
    theme_.Open(handle());
    Relayout();
    Redraw();
}

// Sizes follow the font: a header fits its bold caption with room around it, a row its link.
void XPExplorerBar::Impl::Relayout() {
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
    metrics.headerHeight = std::max(metrics.headerHeight, TextHeight(dc, fonts_.Bold()) + 10);
    metrics.itemHeight = std::max(metrics.itemHeight, TextHeight(dc, fonts_.Normal()) + 7);
    metrics.glyphSize = std::min(metrics.glyphSize, metrics.headerHeight - 4);
    // Width is measured with the regular font, which the underlined one matches.
    const HFONT normal = fonts_.Normal();
    model_.Layout(client.right - client.left, metrics, [dc, normal](const std::string& text, bool) {
        return TextWidth(dc, normal, text) + 1;
    });
}

void XPExplorerBar::Impl::Changed() {
    Relayout();
    Redraw();
}

void XPExplorerBar::Impl::Redraw() const {
    if (handle() != nullptr) {
        ::InvalidateRect(handle(), nullptr, FALSE);
    }
}

void XPExplorerBar::Impl::PassFocusOn(bool backward) const {
    const HWND next = ::GetNextDlgTabItem(parent_, handle(), backward ? TRUE : FALSE);
    if (next != nullptr && next != handle()) {
        ::SetFocus(next);
    }
}

void XPExplorerBar::Impl::Perform(const ExplorerBarActivation& activation) {
    switch (activation.kind) {
        case ExplorerBarActivation::Kind::None:
            Redraw();
            return;
        case ExplorerBarActivation::Kind::Toggled:
            Changed();
            return;
        case ExplorerBarActivation::Kind::ItemClicked:
            break;
    }
    lastClick_ = {activation.element.group, activation.element.item};
    Redraw();
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

HWND XPExplorerBar::Create(HWND parent, RECT bounds, int controlId) {
    return impl_->Create(parent, bounds, controlId);
}
int XPExplorerBar::AddGroup(const std::string& caption) { return impl_->AddGroup(caption); }
int XPExplorerBar::AddItem(const std::string& caption, int group) {
    return impl_->AddItem(caption, group);
}
void XPExplorerBar::Show(bool visible) { impl_->Show(visible); }
ExplorerBarClick XPExplorerBar::LastClick() const { return impl_->LastClick(); }
void XPExplorerBar::OnItemClick(std::function<void(int group, int item)> handler) {
    impl_->OnItemClick(std::move(handler));
}
HWND XPExplorerBar::Handle() const { return impl_->handle(); }

}  // namespace vx::ui::win32
