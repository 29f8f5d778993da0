// The Windows entry point: choose the real backend, then hand over to the application.
// The one file outside platform/win32 that includes <windows.h>: WinMain's signature needs it.

#include <windows.h>

#include "app/Run.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // An exception that escapes here would end the process through the C++ runtime's
    // terminate handler instead of with an exit code a caller can read.
    try {
        vx::platform::win32::Win32Platform backend;
        vx::platform::Install(backend);
        return vx::app::Run();
    } catch (...) {
        return 1;
    }
}
