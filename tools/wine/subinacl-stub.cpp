// subinacl-stub: stands in for the ownership tool "subinacl.exe" in Wine tests (copied under
// that name where a test wants the tool found). It changes nothing: it appends its whole
// command line, exactly as the system handed it over (GetCommandLineA), as one CRLF-ended
// line to "subinacl.log" in its own folder, then exits with the code in VX_SUBINACL_EXIT
// (decimal; 0 when the variable is not set). A variable that is not a plain decimal number
// gives 255, a log that cannot be written 254, so a broken setup never looks like a run.

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::optional<DWORD> ParseNumber(const std::string& digits) {
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 10);
    if (value > MAXDWORD) {
        return std::nullopt;
    }
    return static_cast<DWORD>(value);
}

// The configured exit code; 0 without the variable.
std::optional<DWORD> ExitCode() {
    char value[32] = {};
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableA("VX_SUBINACL_EXIT", value, sizeof value);
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
        return DWORD{0};
    }
    if (length >= sizeof value) {
        return std::nullopt;
    }
    return ParseNumber(std::string(value, length));
}

std::string LogPath() {
    char module[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    std::string path(module, length);
    const std::string::size_type slash = path.find_last_of("\\/");
    return path.substr(0, slash == std::string::npos ? 0 : slash + 1) + "subinacl.log";
}

bool AppendLine(const std::string& path, const std::string& line) {
    // FILE_APPEND_DATA alone makes every write land at the end, even when two runs share
    // the log.
    const HANDLE file =
        CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    const BOOL closed = CloseHandle(file);
    return ok && closed && written == line.size();
}

}  // namespace

int main() {
    const std::optional<DWORD> code = ExitCode();
    const std::string path = LogPath();
    const char* commandLine = GetCommandLineA();
    if (path.empty() ||
        !AppendLine(path, std::string(commandLine != nullptr ? commandLine : "") + "\r\n")) {
        ExitProcess(254);
    }
    ExitProcess(code ? *code : 255);
}
