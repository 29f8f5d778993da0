// holdfile PATH EVENT MS       opens the existing file PATH with no sharing and holds it until
//                              the named event EVENT is signalled or MS milliseconds pass
// holdfile --release EVENT     signals EVENT: the holder closes the file and ends
//
// While the file is held, every other open of it fails with a sharing violation (32): a
// deletion, and a copy onto it, are refused, which is how the tests make a refused copy real.
// The holder prints "held" once the file is open and the event exists, so a script can wait for
// that line before it starts the program under test. MS is multiplied by the environment's
// VX_TIME_SCALE (a whole number, default 1), as every wait of the harness is.
//
// Exit status: 0 released through the event (or, with --release, the event signalled); 1 the
// file or the event cannot be opened (one "holdfile:" line on stderr with the Win32 error); 2 bad
// usage; 3 MS passed before the release (the file was held that long, then closed).

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/win32/Handles.h"

namespace {

using vx::platform::win32::UniqueFileHandle;
using vx::platform::win32::UniqueHandle;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitTimedOut = 3;

std::optional<DWORD> ParseNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
}

DWORD Scaled(DWORD ms) {
    char text[16] = {};
    const DWORD length = GetEnvironmentVariableA("VX_TIME_SCALE", text, sizeof(text));
    const auto scale = length > 0 && length < sizeof(text) ? ParseNumber(text) : std::nullopt;
    return scale && *scale >= 1 && *scale <= 100 ? ms * *scale : ms;
}

int Failed(const std::string& what, const std::string& name) {
    std::fprintf(stderr, "holdfile: %s failed for %s (error %lu)\n", what.c_str(), name.c_str(),
                 GetLastError());
    return kExitFailed;
}

int Release(const std::string& eventName) {
    const UniqueHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName.c_str()));
    if (!event) {
        return Failed("OpenEventA", eventName);
    }
    if (SetEvent(event.get()) == 0) {
        return Failed("SetEvent", eventName);
    }
    return 0;
}

int Hold(const std::string& path, const std::string& eventName, DWORD ms) {
    // Share mode 0: no other open, for reading, writing or deleting, succeeds while this lasts.
    const UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return Failed("CreateFileA", path);
    }
    // Manual reset: a release before the wait starts is not lost.
    const UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    if (!event) {
        return Failed("CreateEventA", eventName);
    }
    std::printf("held\n");
    std::fflush(stdout);
    const DWORD waited = WaitForSingleObject(event.get(), Scaled(ms));
    if (waited == WAIT_TIMEOUT) {
        std::fprintf(stderr, "holdfile: no release of %s after %lu ms\n", path.c_str(), Scaled(ms));
        return kExitTimedOut;
    }
    return waited == WAIT_OBJECT_0 ? 0 : Failed("WaitForSingleObject", eventName);
}

}  // namespace

int main(int argc, char** argv) {
    // Wine gives a console program text-mode output: every LF would become CRLF.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc == 3 && std::string(argv[1]) == "--release") {
        return Release(argv[2]);
    }
    const std::optional<DWORD> ms = argc == 4 ? ParseNumber(argv[3]) : std::nullopt;
    if (!ms) {
        std::fprintf(stderr,
                     "usage: holdfile PATH EVENT MS\n"
                     "       holdfile --release EVENT\n");
        return kExitUsage;
    }
    return Hold(argv[1], argv[2], *ms);
}
