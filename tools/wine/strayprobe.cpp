// strayprobe [SWITCH...]
//
// A stand-in for vexilla.exe that writes where Vexilla never may, to prove that the hostile-kit
// runner (tools/hostile/run.sh) sees it: given "/desklnk" it creates C:\strayprobe.txt, given
// "/rem" it sets HKEY_LOCAL_MACHINE\Software\StrayProbe "Switch" = "rem"; any other command line
// writes nothing. Exits 0 when it wrote what its switches ask (or nothing was asked), 1 when a
// write failed. Built for the GUI subsystem, as vexilla.exe is.

#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"

namespace {

using vx::platform::win32::UniqueFileHandle;
using vx::platform::win32::UniqueKey;

bool HasSwitch(const std::string& commandLine, const char* name) {
    return commandLine.find(name) != std::string::npos;
}

bool WriteStrayFile() {
    const UniqueFileHandle file(CreateFileA("C:\\strayprobe.txt", GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

bool WriteStrayValue() {
    UniqueKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\StrayProbe", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    static const char kValue[] = "rem";
    return RegSetValueExA(key.get(), "Switch", 0, REG_SZ, reinterpret_cast<const BYTE*>(kValue),
                          sizeof kValue) == ERROR_SUCCESS;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const std::string line(commandLine);
    bool written = true;
    if (HasSwitch(line, "/desklnk")) {
        written = WriteStrayFile() && written;
    }
    if (HasSwitch(line, "/rem")) {
        written = WriteStrayValue() && written;
    }
    return written ? 0 : 1;
}
