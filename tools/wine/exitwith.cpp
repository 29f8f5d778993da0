// exitwith CODE [SLEEP_MS]
// exitwith crash
//
// A stand-in child for process tests: waits SLEEP_MS milliseconds (default 0), then exits with
// CODE; "crash" executes an illegal instruction instead, a fault nothing handles. Built for the
// GUI subsystem so that starting it never opens a console window. Arguments that are not plain
// decimal numbers exit with 255 at once.

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::optional<DWORD> ParseNumber(const char* text) {
    const std::string digits(text);
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const unsigned long long value = std::strtoull(text, nullptr, 10);
    if (value > MAXDWORD) {
        return std::nullopt;
    }
    return static_cast<DWORD>(value);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        return 255;
    }
    if (argc == 2 && std::string(argv[1]) == "crash") {
        // An instruction the processor refuses (ud2): a fault nothing handles, which ends the
        // process with 0xC000001D. (A store through a null pointer does not fault everywhere:
        // under qemu's user-mode emulation page 0 may be mapped.)
        __builtin_trap();
    }
    const std::optional<DWORD> code = ParseNumber(argv[1]);
    const std::optional<DWORD> sleepMs = argc == 3 ? ParseNumber(argv[2]) : DWORD{0};
    if (!code || !sleepMs) {
        return 255;
    }
    Sleep(*sleepMs);
    ExitProcess(*code);
}
