#include "platform/win32/Win32Processes.h"

#include <windows.h>
// Needs <windows.h> before it in the Windows SDK.
#include <mmsystem.h>

#include <vector>

#include "platform/TextMode.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace vx::platform::win32 {
namespace {

class Win32Process final : public Process {
public:
    Win32Process(UniqueHandle process, std::uint32_t id) : process_(std::move(process)), id_(id) {}

    std::uint32_t id() const override { return id_; }

    bool hasExited() override { return ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }

    std::optional<std::uint32_t> exitCode() override {
        DWORD code = 0;
        if (!::GetExitCodeProcess(process_.get(), &code)) {
            return std::nullopt;
        }
        return code;
    }

private:
    UniqueHandle process_;
    std::uint32_t id_;
};

// CreateProcess of either family; it may write into the command line, so it gets a private
// copy. With no application name the system takes the program from the command line and
// looks for it along the search path when it names no folder.
template <typename Char, typename StartupInfo, typename Create>
bool StartProcess(const std::basic_string<Char>& commandLine, int showWindow, Create create,
                  PROCESS_INFORMATION& started) {
    std::vector<Char> line(commandLine.begin(), commandLine.end());
    line.push_back(Char{});
    StartupInfo startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showWindow);
    return create(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                  &started) != FALSE;
}

}  // namespace

std::unique_ptr<Process> Win32Processes::start(const std::string& commandLine, int showWindow) {
    PROCESS_INFORMATION started{};
    const bool made =
        TextIsUtf8()
            ? StartProcess<wchar_t, STARTUPINFOW>(WideFromUtf8(commandLine), showWindow,
                                                  ::CreateProcessW, started)
            : StartProcess<char, STARTUPINFOA>(commandLine, showWindow, ::CreateProcessA,
                                               started);
    if (!made) {
        return nullptr;  // the last error still says why
    }
    const UniqueHandle thread(started.hThread);
    return std::make_unique<Win32Process>(UniqueHandle(started.hProcess), started.dwProcessId);
}

void Win32Processes::pumpMessages() {
    MSG message{};
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // A wait must not swallow the request to end: leave it for the main loop.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void Win32Processes::sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint32_t Win32Processes::tickMilliseconds() {
    // Counts from system start like GetTickCount; setting the clock does not move it.
    return ::timeGetTime();
}

}  // namespace vx::platform::win32
