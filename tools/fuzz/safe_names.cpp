// The plain-file-name check that guards every name joined to a system folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "engine/SafeNames.h"

using vx::fuzz::Check;

namespace {

std::string Upper(std::string text) {
    for (auto& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// Windows' reserved device names, with the superscript digits ¹ ² ³ that it reads as digits
// after COM and LPT (in the ANSI code page and in UTF-8).
bool IsDeviceName(const std::string& upperStem) {
    for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
        if (upperStem == device) {
            return true;
        }
    }
    for (const char* port : {"COM", "LPT"}) {
        if (upperStem.rfind(port, 0) != 0) {
            continue;
        }
        const std::string digit = upperStem.substr(3);
        if ((digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xB9" ||
            digit == "\xB2" || digit == "\xB3" || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
            digit == "\xC2\xB3") {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (!vx::engine::IsPlainFileName(name)) {
        return 0;
    }
    Check(!name.empty() && name != "." && name != "..", "not empty, \".\" or \"..\"", name);
    for (const char c : name) {
        Check(c != '\\' && c != '/' && c != ':', "no folder separator or drive", name);
        Check(static_cast<unsigned char>(c) >= 32, "no control byte", name);
    }
    Check(name.back() != '.' && name.back() != ' ', "no trailing dot or blank", name);
    // Windows cuts the blanks after a device name's stem ("CON .txt" is CON).
    std::string stem = name.substr(0, name.find('.'));
    const auto last = stem.find_last_not_of(' ');
    stem = last == std::string::npos ? std::string() : stem.substr(0, last + 1);
    Check(!IsDeviceName(Upper(stem)), "no device name stem", name);
    return 0;
}
