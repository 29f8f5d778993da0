// headless-handles SWITCHES...
//
// Runs the program's headless start (engine::Main, as vexilla.exe runs it, with the real
// backend) several times in this one process with SWITCHES as its command line (the program
// reads it as vexilla.exe does): 3 runs, or as many as the environment's VX_RUNS says (1 to
// 100). The settings and the branding kit are the ones beside this program, as for vexilla.exe;
// the run's report lines are not printed. Prints first
//     GetProcessHandleCount RESULT COUNT     (what the system's own count says; Wine 8: 0)
// then per run the handles of the process before and after it, those left open by it, and of
// these the ones Wine keeps for itself (see below), then one line per other handle it left open:
//     run N  before B  after A  kept K  wine W  exit E
//       kept HANDLE TYPE NAME                (type and name as NtQueryObject gives them)
// The handles are found by asking GetHandleInformation about every handle value (a multiple of
// 4) up to 0x10000: Wine 8's GetProcessHandleCount answers 0.
//
// Wine 8 opens a new handle to \REGISTRY\Machine\Software\Classes for every call below
// HKEY_CLASSES_ROOT made in the 64-bit view (KEY_WOW64_64KEY) and never closes it; those are
// counted as "wine", the rest as "kept". Exit status 0; 2 without switches or with a bad VX_RUNS.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/StartUp.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kDefaultRuns = 3;
// Far above what a process of this kind holds; the walk stops here.
constexpr ULONG_PTR kHighestHandleValue = 0x10000;
constexpr int kObjectName = 1;
constexpr int kObjectType = 2;
constexpr const char* kWineClassesRoot = "Key \\REGISTRY\\Machine\\Software\\Classes";

std::vector<ULONG_PTR> OpenHandles() {
    std::vector<ULONG_PTR> open;
    for (ULONG_PTR value = 4; value < kHighestHandleValue; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0) {
            open.push_back(value);
        }
    }
    return open;
}

// The object's name or type as NtQueryObject gives it, in UTF-8 ("?" when it gives none).
std::string ObjectText(HANDLE handle, int infoClass) {
    using QueryFunction = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<QueryFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    // Both answers start with a UNICODE_STRING that points into the same buffer.
    struct Text {
        USHORT length;
        USHORT maximum;
        const wchar_t* chars;
    };
    alignas(8) static unsigned char buffer[4096];
    if (query == nullptr || query(handle, infoClass, buffer, sizeof(buffer), nullptr) != 0) {
        return "?";
    }
    const auto* text = reinterpret_cast<const Text*>(buffer);
    char narrow[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text->chars, text->length / 2, narrow, sizeof(narrow) - 1,
                        nullptr, nullptr);
    return narrow;
}

std::string Describe(ULONG_PTR value) {
    const auto handle = reinterpret_cast<HANDLE>(value);
    return ObjectText(handle, kObjectType) + " " + ObjectText(handle, kObjectName);
}

// Newer than Windows 2000 (XP SP1): looked up.
void PrintSystemCount() {
    using HandleCountFunction = BOOL(WINAPI*)(HANDLE, PDWORD);
    const auto count = reinterpret_cast<HandleCountFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcessHandleCount")));
    if (count == nullptr) {
        std::printf("GetProcessHandleCount missing\n");
        return;
    }
    DWORD handles = 0;
    const BOOL result = count(GetCurrentProcess(), &handles);
    std::printf("GetProcessHandleCount %d %lu\n", result, static_cast<unsigned long>(handles));
}

int Runs() {
    char text[16] = {};
    const DWORD length = GetEnvironmentVariableA("VX_RUNS", text, sizeof(text));
    if (length == 0) {
        return kDefaultRuns;
    }
    const int runs = length < sizeof(text) ? std::atoi(text) : 0;
    return runs >= 1 && runs <= 100 ? runs : 0;
}

}  // namespace

int main(int argc, char**) {
    _setmode(_fileno(stdout), _O_BINARY);
    const int runs = Runs();
    if (argc < 2 || runs == 0) {
        std::fprintf(stderr, "usage: [VX_RUNS=1..100] headless-handles SWITCHES...\n");
        return kExitUsage;
    }
    vx::platform::win32::Win32Platform backend;
    vx::platform::Install(backend);
    PrintSystemCount();
    for (int run = 1; run <= runs; ++run) {
        const std::vector<ULONG_PTR> before = OpenHandles();
        const int exitCode = vx::engine::Main({}, [](const std::string&) {});
        const std::vector<ULONG_PTR> after = OpenHandles();
        std::vector<std::string> kept;
        int wine = 0;
        for (const ULONG_PTR value : after) {
            if (std::find(before.begin(), before.end(), value) != before.end()) {
                continue;
            }
            const std::string description = Describe(value);
            if (description == kWineClassesRoot) {
                ++wine;
            } else {
                char handle[16] = {};
                std::snprintf(handle, sizeof(handle), "0x%04lx", static_cast<unsigned long>(value));
                kept.push_back(std::string("  kept ") + handle + " " + description);
            }
        }
        std::printf("run %d  before %u  after %u  kept %u  wine %d  exit %d\n", run,
                    static_cast<unsigned>(before.size()), static_cast<unsigned>(after.size()),
                    static_cast<unsigned>(kept.size()), wine, exitCode);
        for (const std::string& line : kept) {
            std::printf("%s\n", line.c_str());
        }
        std::fflush(stdout);
    }
    return 0;
}
