// first-call SERVICE
//
// One first call into one of the services a headless run of vexilla.exe may reach, then exit:
// tools/bench/headless-start.sh times each against "nothing" and so shows what the first use
// of each costs. A DLL other than kernel32 and advapi32 is loaded by the call itself, through
// LoadLibraryA and GetProcAddress, as the program's delay-loading stubs load it.
//   nothing      no call: the process start alone
//   registry     open, read and close HKLM\Software\Microsoft\Windows\CurrentVersion (advapi32)
//   debugstr     ten lines on the debugger channel (OutputDebugStringA, kernel32)
//   tick         timeGetTime, the clock of the waits for a launched tool (winmm)
//   pump         one round of the message pump of the waits (PeekMessageA, user32)
//   refresh      FindWindowA of the desktop refresh (user32)
//   shellfolder  the all-users application data folder (SHGetSpecialFolderLocation,
//                SHGetPathFromIDListA, CoTaskMemFree: shell32, ole32)
//   shelllink    a shell link object made and released (CoInitializeEx, CoCreateInstance of
//                CLSID_ShellLink: ole32, and shell32 as its server)
// Imports kernel32, advapi32 and the C runtime only. Exit status 0; 1 when the call failed;
// 2 on bad usage.

#include <windows.h>
// Needs <windows.h> before it in the Windows SDK.
#include <shlobj.h>

#include <string>

#include "platform/win32/Handles.h"

namespace {

using vx::platform::win32::UniqueKey;
using vx::platform::win32::UniqueModule;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The export `name` of `module`, typed as `Function`; nullptr when missing.
template <typename Function>
Function Export(const UniqueModule& module, const char* name) {
    if (!module) {
        return nullptr;
    }
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(module.get(), name)));
}

bool Registry() {
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return false;
    }
    char text[MAX_PATH] = {};
    DWORD size = sizeof text;
    return RegQueryValueExA(key.get(), "ProgramFilesDir", nullptr, nullptr,
                            reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS;
}

bool DebugLines() {
    for (int line = 0; line < 10; ++line) {
        OutputDebugStringA("\tfirst-call: a line on the debugger channel");
    }
    return true;
}

bool Tick() {
    const UniqueModule winmm(LoadLibraryA("winmm.dll"));
    const auto tick = Export<DWORD(WINAPI*)()>(winmm, "timeGetTime");
    if (tick == nullptr) {
        return false;
    }
    static_cast<void>(tick());
    return true;
}

bool Pump() {
    const UniqueModule user(LoadLibraryA("user32.dll"));
    const auto peek = Export<BOOL(WINAPI*)(MSG*, HWND, UINT, UINT, UINT)>(user, "PeekMessageA");
    if (peek == nullptr) {
        return false;
    }
    MSG message{};
    while (peek(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    return true;
}

bool Refresh() {
    const UniqueModule user(LoadLibraryA("user32.dll"));
    const auto find = Export<HWND(WINAPI*)(const char*, const char*)>(user, "FindWindowA");
    if (find == nullptr) {
        return false;
    }
    // Without a desktop (no display) there is nothing to find: the call is what counts.
    static_cast<void>(find("Progman", "Program Manager"));
    return true;
}

bool FindShellFolder() {
    const UniqueModule shell(LoadLibraryA("shell32.dll"));
    const UniqueModule ole(LoadLibraryA("ole32.dll"));
    const auto location = Export<HRESULT(WINAPI*)(HWND, int, PIDLIST_ABSOLUTE*)>(
        shell, "SHGetSpecialFolderLocation");
    const auto path = Export<BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, char*)>(shell, "SHGetPathFromIDListA");
    const auto release = Export<void(WINAPI*)(void*)>(ole, "CoTaskMemFree");
    if (location == nullptr || path == nullptr || release == nullptr) {
        return false;
    }
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(location(nullptr, CSIDL_COMMON_APPDATA, &items)) || items == nullptr) {
        return false;
    }
    char folder[MAX_PATH] = {};
    const bool found = path(items, folder) != FALSE;
    release(items);
    return found;
}

bool MakeShellLink() {
    const UniqueModule ole(LoadLibraryA("ole32.dll"));
    const auto initialize = Export<HRESULT(WINAPI*)(void*, DWORD)>(ole, "CoInitializeEx");
    const auto create =
        Export<HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**)>(ole, "CoCreateInstance");
    const auto uninitialize = Export<void(WINAPI*)()>(ole, "CoUninitialize");
    if (initialize == nullptr || create == nullptr || uninitialize == nullptr ||
        FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED))) {
        return false;
    }
    IShellLinkA* link = nullptr;
    const bool made = SUCCEEDED(create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkA, reinterpret_cast<void**>(&link))) &&
                      link != nullptr;
    if (link != nullptr) {
        link->Release();
    }
    uninitialize();
    return made;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string service = argc == 2 ? argv[1] : "";
    bool done = false;
    if (service == "nothing") {
        done = true;
    } else if (service == "registry") {
        done = Registry();
    } else if (service == "debugstr") {
        done = DebugLines();
    } else if (service == "tick") {
        done = Tick();
    } else if (service == "pump") {
        done = Pump();
    } else if (service == "refresh") {
        done = Refresh();
    } else if (service == "shellfolder") {
        done = FindShellFolder();
    } else if (service == "shelllink") {
        done = MakeShellLink();
    } else {
        return kExitUsage;
    }
    return done ? 0 : kExitFailed;
}
