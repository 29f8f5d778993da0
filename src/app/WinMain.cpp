// The Windows entry point: the real backend, the start-up, and while the main window is open
// its message loop.

#include <windows.h>

#include <memory>

#include "app/MainWindow.h"
#include "engine/StartUp.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // An exception that escapes here would end the process through the C++ runtime's
    // terminate handler instead of with an exit code a caller can read. Start-up traps its
    // own failures, so reaching the handler is a fault of this program.
    try {
        vx::platform::win32::Win32Platform backend;
        vx::platform::Install(backend);
        std::unique_ptr<vx::app::MainWindow> window;
        // With switches on the command line (or a refused launch password) the launcher is
        // never called and the process ends here.
        vx::engine::Main([&] { window = vx::app::MainWindow::Open(instance, showCommand); });
        if (window) {
            vx::app::RunUntilClosed(*window);
        }
        return 0;
    } catch (...) {
        return 1;
    }
}
