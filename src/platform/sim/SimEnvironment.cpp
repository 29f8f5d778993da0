#include "platform/sim/SimEnvironment.h"

#include "platform/TextRules.h"

namespace vx::platform::sim {

std::string SimEnvironment::variable(const std::string& name) const {
    const auto it = variables_.find(UpperAscii(name));
    return it == variables_.end() ? std::string() : it->second.second;
}

void SimEnvironment::set(const std::string& name, const std::string& value) {
    variables_[UpperAscii(name)] = {name, value};
}

void SimEnvironment::remove(const std::string& name) { variables_.erase(UpperAscii(name)); }

std::string SimEnvironment::errorText(std::uint32_t code) const {
    if (const char* text = SystemMessage(code)) return text;
    return "Error " + std::to_string(code);
}

void SetDefaultVariables(SimEnvironment& environment, Bitness bitness) {
    const bool wow64 = bitness == Bitness::Windows64;
    // A 32-bit process on 64-bit Windows is handed the x86 program folders under the
    // usual names and the native ones under the W6432 names.
    const std::string programFiles = wow64 ? "C:\\Program Files (x86)" : "C:\\Program Files";
    const std::pair<const char*, std::string> common[] = {
        {"ALLUSERSPROFILE", "C:\\ProgramData"},
        {"APPDATA", "C:\\Users\\tech\\AppData\\Roaming"},
        {"CommonProgramFiles", programFiles + "\\Common Files"},
        {"COMPUTERNAME", "SIMPC"},
        {"ComSpec", "C:\\Windows\\system32\\cmd.exe"},
        {"HOMEDRIVE", "C:"},
        {"HOMEPATH", "\\Users\\tech"},
        {"LOCALAPPDATA", "C:\\Users\\tech\\AppData\\Local"},
        {"NUMBER_OF_PROCESSORS", "2"},
        {"OS", "Windows_NT"},
        {"Path", "C:\\Windows\\system32;C:\\Windows;C:\\Windows\\System32\\Wbem"},
        {"PATHEXT", ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC"},
        {"PROCESSOR_ARCHITECTURE", "x86"},
        {"ProgramData", "C:\\ProgramData"},
        {"ProgramFiles", programFiles},
        {"PUBLIC", "C:\\Users\\Public"},
        {"SystemDrive", "C:"},
        {"SystemRoot", "C:\\Windows"},
        {"TEMP", "C:\\Users\\tech\\AppData\\Local\\Temp"},
        {"TMP", "C:\\Users\\tech\\AppData\\Local\\Temp"},
        {"USERDOMAIN", "SIMPC"},
        {"USERNAME", "tech"},
        {"USERPROFILE", "C:\\Users\\tech"},
        {"windir", "C:\\Windows"},
    };
    for (const auto& [name, value] : common) environment.set(name, value);
    if (!wow64) return;
    environment.set("CommonProgramFiles(x86)", "C:\\Program Files (x86)\\Common Files");
    environment.set("CommonProgramW6432", "C:\\Program Files\\Common Files");
    environment.set("PROCESSOR_ARCHITEW6432", "AMD64");
    environment.set("ProgramFiles(x86)", "C:\\Program Files (x86)");
    environment.set("ProgramW6432", "C:\\Program Files");
}

}  // namespace vx::platform::sim
