// lnkinfo FILE.lnk
//
// Loads a shell link through IPersistFile::Load and prints what IShellLinkA gives back, one
// field a line, "name=value", in this order:
//   Path, Arguments, Description, WorkingDirectory, IconFile, IconIndex, ShowCommand, HotKey,
//   StoredShowCommand
// Path is the stored target as written (SLGP_RAWPATH: no environment expansion, no lookup).
// StoredShowCommand is the show command field of the file's own header (offset 0x3C), which
// Windows hands out through GetShowCmd. Wine 8's Load does not: its GetShowCmd answers
// SW_SHOWNORMAL (1) whatever the file holds, so a test of the show command reads this line.
// Exit status: 0 when every field was read; 1 when the link cannot be loaded or a getter
// fails (one "lnkinfo:" line on stderr); 2 on bad usage.

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/Handles.h"

namespace {

using vx::platform::win32::ComApartment;
using vx::platform::win32::ComPtr;
using vx::platform::win32::UniqueFileHandle;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kTextCapacity = 1024;

struct Failed {
    std::string what;
    HRESULT result;
};

void Check(HRESULT result, const char* what) {
    if (FAILED(result)) {
        throw Failed{what, result};
    }
}

void Print(const char* name, const std::string& value) {
    std::printf("%s=%s\n", name, value.c_str());
}

std::string Text(char (&buffer)[kTextCapacity]) {
    buffer[kTextCapacity - 1] = '\0';
    return buffer;
}

std::wstring Wide(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    }
    return wide;
}

// The fixed 0x4C-byte header that opens every .lnk file; the show command is a DWORD at 0x3C.
constexpr DWORD kHeaderSize = 0x4C;
constexpr std::size_t kShowCommandOffset = 0x3C;

void PrintStoredShowCommand(const char* file) {
    const UniqueFileHandle handle(
        CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle) {
        throw Failed{"CreateFileA", HRESULT_FROM_WIN32(GetLastError())};
    }
    unsigned char header[kHeaderSize] = {};
    DWORD got = 0;
    const BOOL read = ReadFile(handle.get(), header, kHeaderSize, &got, nullptr);
    DWORD size = 0;
    std::memcpy(&size, header, sizeof size);
    if (read == 0 || got != kHeaderSize || size != kHeaderSize) {
        throw Failed{"reading the .lnk header", E_FAIL};
    }
    DWORD showCommand = 0;
    std::memcpy(&showCommand, header + kShowCommandOffset, sizeof showCommand);
    Print("StoredShowCommand", std::to_string(showCommand));
}

void PrintLink(const char* file) {
    ComPtr<IShellLinkA> link;
    Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                           reinterpret_cast<void**>(link.put())),
          "CoCreateInstance(ShellLink)");
    ComPtr<IPersistFile> persist;
    Check(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put())),
          "QueryInterface(IPersistFile)");
    const std::wstring path = Wide(file);
    Check(persist->Load(path.c_str(), STGM_READ), "IPersistFile::Load");

    char buffer[kTextCapacity] = {};
    Check(link->GetPath(buffer, kTextCapacity, nullptr, SLGP_RAWPATH), "GetPath");
    Print("Path", Text(buffer));
    Check(link->GetArguments(buffer, kTextCapacity), "GetArguments");
    Print("Arguments", Text(buffer));
    Check(link->GetDescription(buffer, kTextCapacity), "GetDescription");
    Print("Description", Text(buffer));
    Check(link->GetWorkingDirectory(buffer, kTextCapacity), "GetWorkingDirectory");
    Print("WorkingDirectory", Text(buffer));
    int iconIndex = -1;
    Check(link->GetIconLocation(buffer, kTextCapacity, &iconIndex), "GetIconLocation");
    Print("IconFile", Text(buffer));
    Print("IconIndex", std::to_string(iconIndex));
    int showCommand = -1;
    Check(link->GetShowCmd(&showCommand), "GetShowCmd");
    Print("ShowCommand", std::to_string(showCommand));
    WORD hotKey = 0xFFFF;
    Check(link->GetHotkey(&hotKey), "GetHotkey");
    Print("HotKey", std::to_string(hotKey));
    PrintStoredShowCommand(file);
}

}  // namespace

int main(int argc, char** argv) {
    // Wine gives a console program text-mode output: every LF would become CRLF.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 2) {
        std::fprintf(stderr, "usage: lnkinfo FILE.lnk\n");
        return kExitUsage;
    }
    const ComApartment apartment;
    if (!apartment.usable()) {
        std::fprintf(stderr, "lnkinfo: CoInitialize failed\n");
        return kExitFailed;
    }
    try {
        PrintLink(argv[1]);
    } catch (const Failed& failed) {
        std::fflush(stdout);
        std::fprintf(stderr, "lnkinfo: %s failed for %s (0x%08lx)\n", failed.what.c_str(), argv[1],
                     static_cast<unsigned long>(failed.result));
        return kExitFailed;
    }
    return 0;
}
