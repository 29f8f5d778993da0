// The Windows entry point: the real backend, the start-up, and while the editor window is open
// its message loop.

#include <windows.h>

#include <memory>

#include "app/AppIcon.h"
#include "app/ConsoleReport.h"
#include "engine/StartUp.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/frmVexilla.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // An exception that escapes here would end the process through the C++ runtime's
    // terminate handler instead of with an exit code a caller can read. Start-up traps its
    // own failures, so reaching the handler is a fault of this program (exit code 7).
    try {
        vx::platform::win32::Win32Platform backend;
        vx::platform::Install(backend);
        // The window only borrows its icons: declared before the editor, they are released
        // after it.
        vx::app::WindowIcons icons;
        std::unique_ptr<vx::ui::win32::frmVexilla> editor;
        // With switches on the command line (or a refused launch password) the launcher is
        // never called and the process ends here.
        const int exitCode = vx::engine::Main(
            [&] {
                editor = vx::ui::win32::frmVexilla::open(
                    instance, showCommand,
                    [&](HWND window) { icons = vx::app::SetAppIcon(window); });
            },
            vx::app::ParentConsoleWriter());
        if (editor) {
            vx::ui::win32::RunUntilClosed(*editor);
        }
        return exitCode;
    } catch (...) {
        return static_cast<int>(vx::engine::ExitCode::InternalFault);
    }
}
