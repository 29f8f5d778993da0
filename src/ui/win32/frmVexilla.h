#pragma once
// The editor window "Vexilla": a sidebar (the task pane, or the label links when the toolkit
// asks for plain drawing), one of four panels of text boxes, and the logo column. What the
// boxes hold, and what the sidebar's entries do, is ui/Editor.h; this class only moves text
// between the controls and those procedures.
//
// Window class "VexillaMainWindow" (the tests wait for it), caption "Vexilla". Every control is
// a direct child of the window with a fixed id: the table is in ui/ControlIds.h.
// Keyboard: Tab / Shift+Tab go through the visible controls when the message loop passes each
// message through IsDialogMessage (RunUntilClosed does).

#include <windows.h>

#include <functional>
#include <memory>

#include "platform/win32/Window.h"
#include "ui/Editor.h"
#include "ui/win32/FormFonts.h"
#include "ui/win32/PicturePreview.h"
#include "ui/win32/XPExplorerBar.h"

namespace vx::ui::win32 {

class frmVexilla final : public platform::win32::Window {
public:
    // Puts the program's icon on the window; called first thing while the window loads.
    using IconApplier = std::function<void(HWND)>;

    // Registers the class (once), creates the window centred on the work area, loads it
    // (icon, panel, the boxes from the settings file, the sidebar) and shows it. Throws Failure
    // with the system's error when the window itself cannot be created; any later step that
    // fails leaves its part empty and the window opens anyway.
    static std::unique_ptr<frmVexilla> open(HINSTANCE instance, int showCommand,
                                            const IconApplier& applyIcon);

    ~frmVexilla() override;

    // False once the window is gone ("Save and Close", or the close box, which does not save).
    [[nodiscard]] bool isOpen() const { return handle() != nullptr; }

private:
    struct Dpi {
        int x = 96;
        int y = 96;
    };

    frmVexilla() = default;

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // One handler per message.
    void onCommand(int id, int code);
    bool onSetCursor(HWND target) const;
    LRESULT onCtlColorStatic(HDC dc, HWND control);
    bool onDrawItem(const DRAWITEMSTRUCT& item) const;
    void onActivate(bool active);

    void createControls(HINSTANCE instance);
    void load(const IconApplier& applyIcon);
    void showPanel(Panel panel);
    void showTaskPane();
    void putFields(const EditorFields& fields);
    [[nodiscard]] EditorFields collectFields() const;
    void run(SidebarAction action);
    void focusFirstBox(Panel panel);

    [[nodiscard]] RECT toPixels(int left, int top, int width, int height) const;
    [[nodiscard]] HWND control(int id) const { return GetDlgItem(handle(), id); }

    // Released after the window and its controls, which only borrow them.
    FormFonts fonts_;
    PicturePreview logo_;  // Image1
    PicturePreview icon_;  // Image2
    XPExplorerBar sideBar_;
    Dpi dpi_;
    Panel panel_ = Panel::Common;
    HWND lastFocus_ = nullptr;
    // Set while an action runs: its message boxes and waits let clicks through to this window.
    bool busy_ = false;
};

// Dispatches messages, through IsDialogMessage for the keyboard, until `editor` is gone (or
// WM_QUIT arrives).
void RunUntilClosed(const frmVexilla& editor);

}  // namespace vx::ui::win32
