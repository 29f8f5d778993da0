#include "engine/SafeNames.h"

#include <array>
#include <string_view>

#include "common/DebugLog.h"
#include "common/Text.h"

namespace vx::engine {

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') {
        return false;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    // Device names stay devices whatever extension follows them.
    static constexpr std::array<const char*, 22> kDevices{
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    const std::string stem = UCase(Trim(name.substr(0, name.find('.'))));
    for (const char* device : kDevices) {
        if (stem == device) {
            return false;
        }
    }
    // Windows reads the superscript digits 1, 2 and 3 as digits there too ("COM\xB9" is a
    // port): in the ANSI code page and in UTF-8.
    if (stem.size() > 3 && (stem.starts_with("COM") || stem.starts_with("LPT"))) {
        const std::string_view digit = std::string_view(stem).substr(3);
        for (const std::string_view superscript :
             {"\xB9", "\xB2", "\xB3", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"}) {
            if (digit == superscript) {
                return false;
            }
        }
    }
    return true;
}

bool AcceptFileName(const std::string& setting, const std::string& name) {
    if (name.empty() || IsPlainFileName(name)) {
        return true;
    }
    DPrint("modBranding: " + setting + " is not a plain file name; step skipped");
    DPrint("\t- " + setting + "=" + name);
    return false;
}

}  // namespace vx::engine
