// bare-branding SETTINGS LOGO copyfile|shellcopy
//
// The yardstick of tools/bench/headless-start.sh: the work of "vexilla.exe /autobrand" on a
// clean Vista-or-later system and nothing else. Reads Model, URL, Mfgr, Hours and Phone from
// [OSBranding] of the settings file SETTINGS, writes the seven values under
// HKLM\Software\Microsoft\Windows\CurrentVersion\OEMInformation in the 64-bit view (the same
// names, types and data as the program) and copies LOGO onto oemlogo.bmp in the real System32,
// with file-system redirection off around the copy:
//   copyfile   with CopyFileA (kernel32 only, the cheapest copy there is);
//   shellcopy  with SHFileOperationA and the flags the program's copy routine uses, shell32
//              loaded for the copy as the program loads it.
// Imports kernel32, advapi32 and the C runtime only. Exit status 0; 1 when a write or the copy
// failed (named on stderr); 2 on bad usage.

#include <windows.h>
// Needs <windows.h> before it in the Windows SDK.
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace {

using vx::platform::win32::UniqueKey;
using vx::platform::win32::UniqueModule;

constexpr const char* kOemInformationKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";
// As the program copies: no progress window, no question, no error dialog.
constexpr FILEOP_FLAGS kShellCopyFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI |
                                         FOF_NOCONFIRMMKDIR | FOF_NOCOPYSECURITYATTRIBS;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

bool Failed(const char* what, long status) {
    std::fprintf(stderr, "bare-branding: %s failed (%ld)\n", what, status);
    return false;
}

std::string Setting(const char* file, const char* key) {
    std::vector<char> text(1024, '\0');
    const DWORD length = GetPrivateProfileStringA("OSBranding", key, "", text.data(),
                                                  static_cast<DWORD>(text.size()), file);
    return std::string(text.data(), length);
}

bool WriteText(HKEY key, const char* name, const std::string& text) {
    const LONG status = RegSetValueExA(key, name, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>(text.size() + 1));
    return status == ERROR_SUCCESS || Failed(name, status);
}

bool WriteValues(const char* settings, const std::string& logo) {
    const std::string model = Setting(settings, "Model");
    const std::string url = Setting(settings, "URL");
    const std::string manufacturer = Setting(settings, "Mfgr");
    const std::string hours = Setting(settings, "Hours");
    const std::string phone = Setting(settings, "Phone");
    UniqueKey key;
    const LONG opened =
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOemInformationKey, 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, key.put(), nullptr);
    if (opened != ERROR_SUCCESS) {
        return Failed("opening the OEM information key", opened);
    }
    const DWORD zero = 0;
    const LONG help = RegSetValueExA(key.get(), "HelpCustomized", 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    return (help == ERROR_SUCCESS || Failed("HelpCustomized", help)) &&
           WriteText(key.get(), "Logo", logo) &&
           WriteText(key.get(), "Manufacturer", manufacturer) &&
           WriteText(key.get(), "SupportHours", hours) &&
           WriteText(key.get(), "SupportPhone", phone) &&
           WriteText(key.get(), "SupportURL", url) && WriteText(key.get(), "Model", model);
}

bool ShellCopy(const char* source, const std::string& destination) {
    using CopyFunction = int(WINAPI*)(SHFILEOPSTRUCTA*);
    const UniqueModule shell(LoadLibraryA("shell32.dll"));
    const auto copy = shell ? reinterpret_cast<CopyFunction>(reinterpret_cast<void (*)()>(
                                  GetProcAddress(shell.get(), "SHFileOperationA")))
                            : nullptr;
    if (copy == nullptr) {
        return Failed("finding SHFileOperationA", static_cast<long>(GetLastError()));
    }
    // Both lists end in two NULs.
    std::vector<char> from(std::strlen(source) + 2, '\0');
    std::vector<char> to(destination.size() + 2, '\0');
    std::memcpy(from.data(), source, std::strlen(source));
    std::memcpy(to.data(), destination.data(), destination.size());
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_COPY;
    operation.pFrom = from.data();
    operation.pTo = to.data();
    operation.fFlags = kShellCopyFlags;
    const int result = copy(&operation);
    return result == 0 || Failed("SHFileOperationA", result);
}

// The copy with redirection off, so that System32 is the 64-bit one on 64-bit Windows. The
// switch is looked up: Windows 2000 and 32-bit XP do not have it (and need it not).
bool CopyLogo(const char* source, const std::string& destination, bool shell) {
    using DisableFunction = BOOL(WINAPI*)(PVOID*);
    using RevertFunction = BOOL(WINAPI*)(PVOID);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto disable = reinterpret_cast<DisableFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
    const auto revert = reinterpret_cast<RevertFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
    PVOID saved = nullptr;
    const bool disabled = disable != nullptr && revert != nullptr && disable(&saved) != FALSE;
    const bool copied = shell ? ShellCopy(source, destination)
                              : (CopyFileA(source, destination.c_str(), FALSE) != FALSE ||
                                 Failed("CopyFileA", static_cast<long>(GetLastError())));
    if (disabled) {
        revert(saved);
    }
    return copied;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 4 ? argv[3] : "";
    if (mode != "copyfile" && mode != "shellcopy") {
        std::fprintf(stderr, "usage: bare-branding SETTINGS LOGO copyfile|shellcopy\n");
        return kExitUsage;
    }
    // The path the program writes: the Windows folder from "SystemRoot", then System32.
    char root[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("SystemRoot", root, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        Failed("reading SystemRoot", static_cast<long>(GetLastError()));
        return kExitFailed;
    }
    const std::string logo = std::string(root) + "\\System32\\oemlogo.bmp";
    const bool copied = CopyLogo(argv[2], logo, mode == "shellcopy");
    const bool written = WriteValues(argv[1], logo);
    return copied && written ? 0 : kExitFailed;
}
