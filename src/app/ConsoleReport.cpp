#include "app/ConsoleReport.h"

#include <windows.h>

#include <memory>

#include "platform/TextMode.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace vx::app {
namespace {

using platform::win32::UniqueFileHandle;

// AttachConsole came with Windows XP: looked up, so that Windows 2000 still starts the program.
bool AttachToParentConsole() {
    using AttachConsoleFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) {
        return false;
    }
    const auto attach = reinterpret_cast<AttachConsoleFunction>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "AttachConsole")));
    constexpr DWORD kParentProcess = static_cast<DWORD>(-1);
    return attach != nullptr && attach(kParentProcess) != FALSE;
}

class ConsoleOutput {
public:
    void write(const std::string& line) {
        if (!opened_) {
            open();
        }
        const HANDLE target = owned_ ? owned_.get() : given_;
        if (target == nullptr || target == INVALID_HANDLE_VALUE) {
            return;
        }
        const std::string text = line + "\r\n";
        DWORD written = 0;
        DWORD mode = 0;
        // UTF-8 text shows whole on a console through the W call; a file or a pipe gets the
        // bytes as they are.
        if (platform::TextIsUtf8() && ::GetConsoleMode(target, &mode)) {
            const std::wstring wide = platform::win32::WideFromUtf8(text);
            static_cast<void>(::WriteConsoleW(target, wide.data(), static_cast<DWORD>(wide.size()),
                                              &written, nullptr));
            return;
        }
        static_cast<void>(::WriteFile(target, text.data(), static_cast<DWORD>(text.size()),
                                      &written, nullptr));
    }

private:
    void open() {
        opened_ = true;
        // A caller that redirected the output handed its handle over at the start.
        const HANDLE standard = ::GetStdHandle(STD_OUTPUT_HANDLE);
        if (standard != nullptr && standard != INVALID_HANDLE_VALUE &&
            ::GetFileType(standard) != FILE_TYPE_UNKNOWN) {
            given_ = standard;
            return;
        }
        if (AttachToParentConsole()) {
            owned_ = UniqueFileHandle(::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                    OPEN_EXISTING, 0, nullptr));
        }
    }

    bool opened_ = false;
    HANDLE given_ = nullptr;  // the standard handle: the process owns it, not this object
    UniqueFileHandle owned_;
};

}  // namespace

ReportWriter ParentConsoleWriter() {
    auto output = std::make_shared<ConsoleOutput>();
    return [output](const std::string& line) { output->write(line); };
}

}  // namespace vx::app
