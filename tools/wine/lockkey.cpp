// lockkey [--view 32|64] KEY [SDDL]     sets the DACL of KEY
// lockkey [--view 32|64] --print KEY    prints the DACL of KEY as one SDDL line
//
// KEY is ROOT\path with ROOT one of HKCR, HKLM, HKCU, HKU (or their long names). The view is the
// 64-bit one unless told otherwise (a 32-bit prefix has only one, and ignores the flag). Without
// SDDL the DACL denies Everyone enumerate, query and delete (0x10009) and allows everything else:
// under Wine that makes the parent's RegDeleteKeyA fail with 5 while the key stays readable for
// its security, which is how the tests make a refused deletion real.
//
// Exit status: 0 done; 1 the key cannot be opened or its DACL read or set (one "lockkey:" line on
// stderr with the Win32 error); 2 bad usage.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace {

using vx::platform::win32::UniqueKey;
using vx::platform::win32::UniqueLocal;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr const char* kDefaultLock = "D:(D;;0x10009;;;WD)(A;;KA;;;WD)";
constexpr DWORD kSddlRevision1 = 1;

using StringToDescriptor = BOOL(WINAPI*)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
using DescriptorToString = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, DWORD, SECURITY_INFORMATION, LPSTR*,
                                         PULONG);

struct Failed {
    std::string what;
    DWORD error;
};

UniqueKey OpenKey(HKEY root, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(root, path.c_str(), 0, access, &key);
    if (status != ERROR_SUCCESS) {
        throw Failed{"RegOpenKeyExA", static_cast<DWORD>(status)};
    }
    return UniqueKey(key);
}

// Both conversions came with Windows 2000's advapi32; they are looked up rather than imported
// so that this tool runs wherever the program under test runs.
template <typename Function>
Function Advapi32Export(const char* name) {
    HMODULE advapi32 = GetModuleHandleA("advapi32.dll");
    FARPROC address = advapi32 != nullptr ? GetProcAddress(advapi32, name) : nullptr;
    if (address == nullptr) {
        throw Failed{std::string("GetProcAddress ") + name, GetLastError()};
    }
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

HKEY Root(const std::string& name) {
    if (name == "HKCR" || name == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
    if (name == "HKLM" || name == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
    if (name == "HKCU" || name == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (name == "HKU" || name == "HKEY_USERS") return HKEY_USERS;
    return nullptr;
}

void PrintDacl(HKEY root, const std::string& path, REGSAM view) {
    const UniqueKey key = OpenKey(root, path, READ_CONTROL | view);
    DWORD size = 0;
    LONG status = RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> descriptor(size > 0 ? size : 1);
    status = RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.data(), &size);
    if (status != ERROR_SUCCESS) {
        throw Failed{"RegGetKeySecurity", static_cast<DWORD>(status)};
    }
    const auto toString =
        Advapi32Export<DescriptorToString>("ConvertSecurityDescriptorToStringSecurityDescriptorA");
    LPSTR text = nullptr;
    if (toString(descriptor.data(), kSddlRevision1, DACL_SECURITY_INFORMATION, &text, nullptr) ==
        0) {
        throw Failed{"ConvertSecurityDescriptorToStringSecurityDescriptorA", GetLastError()};
    }
    const UniqueLocal owner(text);
    std::printf("%s\n", text);
}

void SetDacl(HKEY root, const std::string& path, REGSAM view, const char* sddl) {
    const auto toDescriptor =
        Advapi32Export<StringToDescriptor>("ConvertStringSecurityDescriptorToSecurityDescriptorA");
    // The conversion hands out local memory.
    UniqueLocal descriptor;
    if (toDescriptor(sddl, kSddlRevision1, descriptor.put(), nullptr) == 0) {
        throw Failed{std::string("ConvertStringSecurityDescriptorToSecurityDescriptorA ") + sddl,
                     GetLastError()};
    }
    const UniqueKey key = OpenKey(root, path, WRITE_DAC | view);
    const LONG status = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.get());
    if (status != ERROR_SUCCESS) {
        throw Failed{"RegSetKeySecurity", static_cast<DWORD>(status)};
    }
}

int Usage() {
    std::fprintf(stderr,
                 "usage: lockkey [--view 32|64] KEY [SDDL]\n"
                 "       lockkey [--view 32|64] --print KEY\n");
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    // Wine gives a console program text-mode output: every LF would become CRLF.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args(argv + 1, argv + argc);
    REGSAM view = KEY_WOW64_64KEY;
    if (args.size() >= 2 && args[0] == "--view") {
        if (args[1] == "32") {
            view = KEY_WOW64_32KEY;
        } else if (args[1] != "64") {
            return Usage();
        }
        args.erase(args.begin(), args.begin() + 2);
    }
    const bool print = !args.empty() && args[0] == "--print";
    if (print) {
        args.erase(args.begin());
    }
    if (args.empty() || args.size() > (print ? 1U : 2U)) {
        return Usage();
    }
    const std::string& key = args[0];
    const std::size_t separator = key.find('\\');
    const HKEY root = Root(key.substr(0, separator));
    if (root == nullptr || separator == std::string::npos || separator + 1 == key.size()) {
        std::fprintf(stderr, "lockkey: not ROOT\\path: %s\n", key.c_str());
        return kExitUsage;
    }
    const std::string path = key.substr(separator + 1);
    try {
        if (print) {
            PrintDacl(root, path, view);
        } else {
            SetDacl(root, path, view, args.size() == 2 ? args[1].c_str() : kDefaultLock);
        }
    } catch (const Failed& failed) {
        std::fprintf(stderr, "lockkey: %s failed for %s (error %lu)\n", failed.what.c_str(),
                     key.c_str(), failed.error);
        return kExitFailed;
    }
    return 0;
}
