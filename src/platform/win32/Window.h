#pragma once
// The base of every window and dialog whose messages a C++ object handles. The object is
// stored with the window (GWLP_USERDATA), each message goes to its onMessage, and no exception
// crosses the window procedure into the system's code that called it: a message whose handler
// threw gets the default handling instead.
//
// A window: registerClass (once per process; a second call finds the class there), then
// create. The object sees the window's messages from WM_NCCREATE on. A dialog: runModal. The
// object sees its messages from WM_INITDIALOG on. WM_NCDESTROY belongs to the base: it forgets
// the window (handle() is nullptr from then on) and the object sees no message after it.

#include <windows.h>

#include "platform/win32/Handles.h"

namespace vx::platform::win32 {

// A window class apart from its procedure, which is always the base's, and its cursor, the
// arrow.
struct WindowClass {
    const char* name = nullptr;
    UINT style = 0;
    // nullptr: the window paints its own background.
    HBRUSH background = nullptr;
};

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // nullptr before the window is made and after it is destroyed.
    [[nodiscard]] HWND handle() const noexcept { return window_.get(); }

protected:
    Window() = default;
    // A window that still exists here is destroyed after the derived object has gone: its last
    // messages get the default handling. A class that handles WM_DESTROY calls destroy() in its
    // own destructor.
    virtual ~Window();

    // ERROR_SUCCESS when the class is there afterwards (also when it was already), otherwise
    // the system's error.
    [[nodiscard]] static DWORD registerClass(HINSTANCE instance, const WindowClass& windowClass);

    // Creates the window of a class made with registerClass, at `bounds` in the parent's client
    // coordinates (the screen's for a top-level window). nullptr when it cannot be made (the
    // reason in GetLastError) or when this object already has a window.
    [[nodiscard]] HWND create(DWORD extendedStyle, const char* className, const char* caption,
                              DWORD style, const RECT& bounds, HWND parent, int controlId,
                              HINSTANCE instance);

    // Shows the dialog `layout` owned by `owner` and returns once it has ended: the value given
    // to EndDialog, or what DialogBoxIndirectParamA returns when the dialog cannot be made; -1
    // when this object already has a window.
    [[nodiscard]] INT_PTR runModal(HINSTANCE instance, const DLGTEMPLATE* layout, HWND owner);

    // Destroys the window now, while the derived object still handles its last messages.
    void destroy() noexcept;

    // A window returns the result the message asks for; a dialog TRUE when it handled the
    // message. A message left alone returns defaultProcedure's result. The handler may destroy
    // the window and this object: the base touches neither once it returns.
    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // DefWindowProcA for a window; FALSE for a dialog, which leaves the message to the dialog
    // manager.
    [[nodiscard]] LRESULT defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    enum class Kind { Ordinary, Dialog };

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static LRESULT deliver(Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT fallback(Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void attach(Kind kind, HWND window) noexcept;
    void detach(HWND window) noexcept;

    UniqueWindow window_;
    Kind kind_ = Kind::Ordinary;
};

}  // namespace vx::platform::win32
