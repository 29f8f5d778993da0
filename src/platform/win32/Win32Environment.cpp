#include "platform/win32/Win32Environment.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/TextMode.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace vx::platform::win32 {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// GetDateFormatA / GetTimeFormatA into a buffer of the size the call asks for; "" on failure.
template <typename Format>
std::string FormattedText(Format format) {
    const int needed = format(nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(needed), '\0');
    const int written = format(buffer.data(), needed);
    if (written <= 0) {
        return {};
    }
    return std::string(buffer.data(), static_cast<std::size_t>(written - 1));
}

// GetEnvironmentVariable of either family: what the call copied.
template <typename Char, typename Get>
std::basic_string<Char> VariableText(Get get) {
    std::vector<Char> buffer(256, Char{});
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD result = get(buffer.data(), size);
        // 0 is both "not set" and "set to nothing"; both read as "".
        if (result < size) {
            return std::basic_string<Char>(buffer.data(), result);
        }
        // Too small: `result` is the size needed, terminator included. The value can grow
        // between the two calls, so ask again rather than trust the first answer.
        buffer.assign(result, Char{});
    }
}

// GetModuleFileName of either family for this program.
template <typename Char, typename Get>
std::basic_string<Char> ModuleText(Get get) {
    std::vector<Char> buffer(MAX_PATH, Char{});
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = get(buffer.data(), size);
        if (length == 0) {
            return {};
        }
        // A cut path fills the whole buffer (and on XP is not even terminated).
        if (length < size) {
            return std::basic_string<Char>(buffer.data(), length);
        }
        buffer.assign(buffer.size() * 2, Char{});
    }
}

// Text the system gives in its ANSI code page, as seam text.
std::string SeamTextOfAnsi(std::string text) {
    return TextIsUtf8() ? Utf8FromAnsiCodePage(text) : text;
}

}  // namespace

std::string Win32Environment::variable(const std::string& name) const {
    if (TextIsUtf8()) {
        const std::wstring wideName = WideFromUtf8(name);
        return Utf8FromWide(VariableText<wchar_t>([&wideName](wchar_t* buffer, DWORD size) {
            return ::GetEnvironmentVariableW(wideName.c_str(), buffer, size);
        }));
    }
    return VariableText<char>([&name](char* buffer, DWORD size) {
        return ::GetEnvironmentVariableA(name.c_str(), buffer, size);
    });
}

std::string Win32Environment::moduleFileName() const {
    if (TextIsUtf8()) {
        return Utf8FromWide(ModuleText<wchar_t>([](wchar_t* buffer, DWORD size) {
            return ::GetModuleFileNameW(nullptr, buffer, size);
        }));
    }
    return ModuleText<char>(
        [](char* buffer, DWORD size) { return ::GetModuleFileNameA(nullptr, buffer, size); });
}

std::string Win32Environment::commandArguments() const {
    if (TextIsUtf8()) {
        return ArgumentsAfterProgramName(Utf8FromWide(::GetCommandLineW()).c_str());
    }
    return ArgumentsAfterProgramName(::GetCommandLineA());
}

std::string ArgumentsAfterProgramName(const char* commandLine) {
    const std::string line = commandLine == nullptr ? std::string() : std::string(commandLine);
    std::size_t at = 0;
    if (at < line.size() && line[at] == '"') {
        const std::size_t closing = line.find('"', at + 1);
        at = closing == std::string::npos ? line.size() : closing + 1;
    } else {
        while (at < line.size() && !IsBlank(line[at])) {
            ++at;
        }
    }
    while (at < line.size() && IsBlank(line[at])) {
        ++at;
    }
    return line.substr(at);
}

std::string Win32Environment::localDateTimeText() const {
    // One reading of the clock for both halves, so the text cannot mix the date before
    // midnight with the time after it.
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::string date = FormattedText([&now](char* buffer, int size) {
        return ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, buffer, size);
    });
    const std::string time = FormattedText([&now](char* buffer, int size) {
        return ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, buffer, size);
    });
    return SeamTextOfAnsi(date + " " + time);
}

std::string Win32Environment::errorText(std::uint32_t code) const {
    // Callers format a failure and then still read the failing call's last error.
    const DWORD lastError = ::GetLastError();
    char* message = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
    const UniqueLocal owner(message);
    std::string text = length == 0 ? std::string() : std::string(message, length);
    const std::size_t end = text.find_last_not_of("\r\n \t");
    text.erase(end == std::string::npos ? 0 : end + 1);
    if (text.empty()) {
        text = "Error " + std::to_string(code);
    }
    ::SetLastError(lastError);
    return SeamTextOfAnsi(text);
}

}  // namespace vx::platform::win32
