// A program that imports what vexilla.exe must not, or binds a delay-loaded call the way that
// leaves it without its loading stub, built only to prove that the import_table check rejects
// it. Never run.
#undef _WIN32_WINNT
#undef WINVER
#define _WIN32_WINNT 0x0602
#define WINVER 0x0602
#include <windows.h>
// Needs <windows.h> before it in the Windows SDK.
#include <uxtheme.h>

int main() {
#if defined(VEXILLA_FIXTURE_uxtheme)
    return ::IsThemeActive() ? 1 : 0;
#elif defined(VEXILLA_FIXTURE_dllimport_delayed)
    return ::GetSystemMetrics(SM_CXSCREEN) > 0 ? 1 : 0;
#else
    return static_cast<int>(::GetTickCount64() & 1u);
#endif
}
