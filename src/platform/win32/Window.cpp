#include "platform/win32/Window.h"

namespace vx::platform::win32 {

Window::~Window() {
    if (window_) {
        // Detached first: the messages of its destruction must not reach a half-gone object.
        ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
        window_.reset();
    }
}

DWORD Window::registerClass(HINSTANCE instance, const WindowClass& windowClass) {
    WNDCLASSEXA registered{};
    registered.cbSize = sizeof(registered);
    registered.style = windowClass.style;
    registered.lpfnWndProc = windowProcedure;
    registered.hInstance = instance;
    // IDC_ARROW in its "A" form, whatever UNICODE says.
    registered.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    registered.hbrBackground = windowClass.background;
    registered.lpszClassName = windowClass.name;
    if (::RegisterClassExA(&registered) != 0) {
        return ERROR_SUCCESS;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_CLASS_ALREADY_EXISTS ? ERROR_SUCCESS : error;
}

HWND Window::create(DWORD extendedStyle, const char* className, const char* caption, DWORD style,
                    const RECT& bounds, HWND parent, int controlId, HINSTANCE instance) {
    if (window_) {
        return nullptr;
    }
    // The window procedure attaches this object during WM_NCCREATE, before the call returns.
    return ::CreateWindowExA(extendedStyle, className, caption, style, bounds.left, bounds.top,
                             bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance,
                             this);
}

INT_PTR Window::runModal(HINSTANCE instance, const DLGTEMPLATE* layout, HWND owner) {
    if (window_) {
        return -1;
    }
    const INT_PTR result = ::DialogBoxIndirectParamA(instance, layout, owner, dialogProcedure,
                                                     reinterpret_cast<LPARAM>(this));
    // The dialog is gone once the call returns, whether or not its WM_NCDESTROY came here.
    static_cast<void>(window_.release());
    return result;
}

void Window::destroy() noexcept {
    // Not window_.reset(): the handle stays valid for the handlers of WM_DESTROY, and
    // WM_NCDESTROY lets go of it.
    if (window_) {
        ::DestroyWindow(window_.get());
    }
}

LRESULT Window::defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam) const {
    return fallback(kind_, window_.get(), message, wParam, lParam);
}

LRESULT CALLBACK Window::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Window*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self != nullptr) {
            self->attach(Kind::Ordinary, window);
        }
    }
    return deliver(Kind::Ordinary, window, message, wParam, lParam);
}

INT_PTR CALLBACK Window::dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Window*>(lParam);
        if (self != nullptr) {
            self->attach(Kind::Dialog, dialog);
        }
    }
    return static_cast<INT_PTR>(deliver(Kind::Dialog, dialog, message, wParam, lParam));
}

LRESULT Window::deliver(Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_NCDESTROY) {
        self->detach(window);
        self = nullptr;
    }
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) or WM_INITDIALOG have no object yet.
    if (self == nullptr) {
        return fallback(kind, window, message, wParam, lParam);
    }
    // An exception must not unwind through the system's code that called us.
    try {
        return self->onMessage(message, wParam, lParam);
    } catch (...) {
        return fallback(kind, window, message, wParam, lParam);
    }
}

LRESULT Window::fallback(Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return kind == Kind::Dialog ? FALSE : ::DefWindowProcA(window, message, wParam, lParam);
}

void Window::attach(Kind kind, HWND window) noexcept {
    kind_ = kind;
    window_.reset(window);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Window::detach(HWND window) noexcept {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    static_cast<void>(window_.release());
}

}  // namespace vx::platform::win32
