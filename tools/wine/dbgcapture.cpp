// dbgcapture [--exit-code CODEFILE] OUTFILE TARGET.exe [args...]
//
// Starts TARGET as a debuggee and writes every OutputDebugString line it sends to OUTFILE, raw,
// each followed by one LF: TABs and bytes above 127 are kept as sent. Exits with the target's exit
// code; Wine hands a Unix parent only its low byte, so with --exit-code the whole 32-bit code is
// also written to CODEFILE as "0x%08x" (a crash shows there as its exception code, 0xC0000005 and
// the like: the debuggee's second chance goes unhandled and ends it with that code). Its own
// failures (bad usage, cannot create OUTFILE or CODEFILE, cannot start TARGET) print one line
// starting with "dbgcapture:" on stderr and exit with 125 (usage, output file) or 126 (start).
//
// Wine's own +debugstr channel escapes and truncates the strings, which is why the harness reads
// them through the debugger API instead.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace {

using vx::platform::win32::UniqueFileHandle;
using vx::platform::win32::UniqueHandle;

constexpr int kExitUsage = 125;
constexpr int kExitStart = 126;

// Quotes one argument so that the C runtime's parser of the target gives it back unchanged:
// backslashes are literal unless they precede a quote, so those runs are doubled.
std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) {
        return arg;
    }
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, '\\');
    out.push_back('"');
    return out;
}

std::string BuildCommandLine(int argc, char** argv, int first) {
    std::string line;
    for (int i = first; i < argc; ++i) {
        if (!line.empty()) {
            line.push_back(' ');
        }
        line += QuoteArgument(argv[i]);
    }
    return line;
}

// The event gives the length in characters including the terminator; a debuggee may also hand
// over a partly unreadable buffer, so whatever can be read up to the first NUL is the line.
std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    const SIZE_T charSize = info.fUnicode != 0 ? sizeof(WCHAR) : 1;
    std::vector<char> raw(static_cast<std::size_t>(info.nDebugStringLength) * charSize);
    SIZE_T got = 0;
    if (!raw.empty() &&
        ReadProcessMemory(process, info.lpDebugStringData, raw.data(), raw.size(), &got) == 0) {
        got = 0;
        // A short read fails as a whole; fall back to one character at a time.
        SIZE_T one = 0;
        while (got + charSize <= raw.size() &&
               ReadProcessMemory(process, static_cast<const char*>(info.lpDebugStringData) + got,
                                 raw.data() + got, charSize, &one) != 0 &&
               one == charSize) {
            got += charSize;
        }
    }
    if (info.fUnicode == 0) {
        std::string text(raw.data(), got);
        return text.substr(0, text.find('\0'));
    }
    std::wstring wide(got / sizeof(WCHAR), L'\0');
    if (!wide.empty()) {
        std::memcpy(wide.data(), raw.data(), wide.size() * sizeof(WCHAR));
    }
    wide = wide.substr(0, wide.find(L'\0'));
    if (wide.empty()) {
        return {};
    }
    const int wideLength = static_cast<int>(wide.size());
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, text.data(), bytes, nullptr,
                            nullptr);
    }
    return text;
}

[[nodiscard]] bool WriteLine(HANDLE file, std::string line) {
    line.push_back('\n');
    DWORD written = 0;
    return WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != 0 &&
           written == line.size();
}

// What the debug loop learns from the events of one debuggee.
struct Debuggee {
    HANDLE process;
    HANDLE out;
    bool initialBreakpointSeen = false;
    bool writeFailed = false;
    DWORD exitCode = 0;

    // Returns how the debuggee continues after the event.
    DWORD onEvent(const DEBUG_EVENT& event) {
        switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT: {
                // The image file handle is the debugger's to close; process and thread are not.
                const UniqueHandle image(event.u.CreateProcessInfo.hFile);
                break;
            }
            case LOAD_DLL_DEBUG_EVENT: {
                const UniqueHandle image(event.u.LoadDll.hFile);
                break;
            }
            case OUTPUT_DEBUG_STRING_EVENT:
                if (!WriteLine(out, ReadDebugString(process, event.u.DebugString))) {
                    writeFailed = true;
                }
                break;
            case EXCEPTION_DEBUG_EVENT:
                // The loader's breakpoint is raised for the debugger; every other exception
                // goes back to the debuggee's own handlers as if no debugger were attached.
                if (initialBreakpointSeen ||
                    event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    return DBG_EXCEPTION_NOT_HANDLED;
                }
                initialBreakpointSeen = true;
                break;
            case EXIT_PROCESS_DEBUG_EVENT:
                exitCode = event.u.ExitProcess.dwExitCode;
                break;
            default:
                break;
        }
        return DBG_CONTINUE;
    }
};

int Fail(int code, const char* what, const std::string& object) {
    std::fprintf(stderr, "dbgcapture: %s %s (error %lu)\n", what, object.c_str(), GetLastError());
    return code;
}

[[nodiscard]] bool WriteExitCode(const char* path, DWORD code) {
    const UniqueFileHandle file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    char text[16] = {};
    std::snprintf(text, sizeof(text), "0x%08lx", static_cast<unsigned long>(code));
    return file && WriteLine(file.get(), text);
}

}  // namespace

int main(int argc, char** argv) {
    const char* codeFile = nullptr;
    if (argc >= 3 && std::strcmp(argv[1], "--exit-code") == 0) {
        codeFile = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: dbgcapture [--exit-code CODEFILE] OUTFILE TARGET.exe [args...]\n");
        return kExitUsage;
    }
    const UniqueFileHandle out(CreateFileA(argv[1], GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        return Fail(kExitUsage, "cannot create", argv[1]);
    }

    std::string commandLine = BuildCommandLine(argc, argv, 2);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    // No application name: the first word is looked up the way a shell would (with ".exe" added,
    // the system folders and PATH searched).
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, DEBUG_ONLY_THIS_PROCESS,
                       nullptr, nullptr, &startup, &started) == 0) {
        return Fail(kExitStart, "cannot start", argv[2]);
    }
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);

    Debuggee debuggee{process.get(), out.get()};
    for (;;) {
        DEBUG_EVENT event{};
        if (WaitForDebugEvent(&event, INFINITE) == 0) {
            return Fail(kExitStart, "lost the debuggee", argv[2]);
        }
        const DWORD continueStatus = debuggee.onEvent(event);
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            break;
        }
    }
    if (debuggee.writeFailed) {
        std::fprintf(stderr, "dbgcapture: cannot write %s (some lines are missing)\n", argv[1]);
    }
    if (codeFile != nullptr && !WriteExitCode(codeFile, debuggee.exitCode)) {
        return Fail(kExitUsage, "cannot write", codeFile);
    }
    return static_cast<int>(debuggee.exitCode);
}
