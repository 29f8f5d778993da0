#include "platform/win32/Win32ShellLink.h"

#include <windows.h>
// Need <windows.h> before them in the Windows SDK.
#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "platform/win32/Handles.h"

namespace vx::platform::win32 {
namespace {

// INFOTIPSIZE: the longest description the shell keeps, and room for any path or
// argument list a link holds.
constexpr int kTextChars = 1024;

// The fixed header that opens every .lnk file: HeaderSize (0x4C) first, the show command
// as a 32-bit value at 0x3C.
constexpr DWORD kLinkHeaderSize = 0x4C;
constexpr std::size_t kShowCommandOffset = 0x3C;

// IPersistFile takes wide names; the link's name is in the ANSI code page like every
// other path of ours.
std::optional<std::wstring> WidePath(const std::string& path) {
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (chars <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(chars), L'\0');
    if (::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), chars) != chars) {
        return std::nullopt;
    }
    wide.resize(static_cast<std::size_t>(chars - 1));
    return wide;
}

ComPtr<IShellLinkA> NewShellLink() {
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(link.put())))) {
        link.reset();
    }
    return link;
}

ComPtr<IPersistFile> PersistenceOf(const ComPtr<IShellLinkA>& link) {
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) {
        file.reset();
    }
    return file;
}

// One string getter of IShellLinkA into a zeroed buffer; a getter that leaves the buffer
// without a terminator is cut at its end.
template <typename Getter>
std::optional<std::string> TextFrom(Getter get) {
    std::vector<char> buffer(kTextChars, '\0');
    if (FAILED(get(buffer.data(), kTextChars))) {
        return std::nullopt;
    }
    buffer.back() = '\0';
    return std::string(buffer.data());
}

// The show command comes from the file's header, not from GetShowCmd: Wine's Load leaves
// it at SW_SHOWNORMAL although Save writes the value that was set, and Windows fills
// GetShowCmd from this same header field.
std::optional<int> StoredShowCommand(const std::string& linkFile) {
    const UniqueFileHandle file(::CreateFileA(linkFile.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    unsigned char header[kLinkHeaderSize] = {};
    DWORD read = 0;
    if (!::ReadFile(file.get(), header, sizeof header, &read, nullptr) || read != sizeof header) {
        return std::nullopt;
    }
    DWORD headerSize = 0;
    DWORD showCommand = 0;
    std::memcpy(&headerSize, header, sizeof headerSize);
    std::memcpy(&showCommand, header + kShowCommandOffset, sizeof showCommand);
    if (headerSize != kLinkHeaderSize) {
        return std::nullopt;
    }
    return static_cast<int>(showCommand);
}

}  // namespace

bool CreateShellLink(const std::string& linkFile, const ShellLinkData& data) {
    // Declared first so that it ends last: the interfaces go before COM does.
    const ComApartment apartment;
    if (!apartment.usable()) {
        return false;
    }
    const std::optional<std::wstring> widePath = WidePath(linkFile);
    if (!widePath) {
        return false;
    }
    const ComPtr<IShellLinkA> link = NewShellLink();
    if (!link) {
        return false;
    }
    // SetPath gives S_FALSE for a target that does not exist (yet): the link is still made.
    if (FAILED(link->SetPath(data.target.c_str())) ||
        FAILED(link->SetIconLocation(data.iconFile.c_str(), data.iconIndex)) ||
        FAILED(link->SetShowCmd(data.showCommand)) || FAILED(link->SetHotkey(data.hotKey)) ||
        FAILED(link->SetWorkingDirectory(data.workingDirectory.c_str())) ||
        FAILED(link->SetArguments(data.arguments.c_str())) ||
        FAILED(link->SetDescription(data.description.c_str()))) {
        return false;
    }
    // With SLR_UPDATE the link refreshes what it stores about its target before the save;
    // SLR_NO_UI (and no window) keeps a missing target from opening the search dialog,
    // which nobody would answer in a headless run.
    if (FAILED(link->Resolve(nullptr, SLR_UPDATE | SLR_NO_UI))) {
        return false;
    }
    const ComPtr<IPersistFile> file = PersistenceOf(link);
    return file && SUCCEEDED(file->Save(widePath->c_str(), FALSE));
}

std::optional<ShellLinkData> ReadShellLink(const std::string& linkFile) {
    const ComApartment apartment;
    if (!apartment.usable()) {
        return std::nullopt;
    }
    const std::optional<std::wstring> widePath = WidePath(linkFile);
    if (!widePath) {
        return std::nullopt;
    }
    const ComPtr<IShellLinkA> link = NewShellLink();
    if (!link) {
        return std::nullopt;
    }
    const ComPtr<IPersistFile> file = PersistenceOf(link);
    if (!file || FAILED(file->Load(widePath->c_str(), STGM_READ))) {
        return std::nullopt;
    }

    // The raw path is the target as it was set: no environment strings expanded, no short
    // names. An empty target gives S_FALSE and an empty path.
    const auto target = TextFrom([&link](char* buffer, int chars) {
        return link->GetPath(buffer, chars, nullptr, SLGP_RAWPATH);
    });
    const auto arguments =
        TextFrom([&link](char* buffer, int chars) { return link->GetArguments(buffer, chars); });
    const auto workingDirectory = TextFrom(
        [&link](char* buffer, int chars) { return link->GetWorkingDirectory(buffer, chars); });
    const auto description =
        TextFrom([&link](char* buffer, int chars) { return link->GetDescription(buffer, chars); });
    int iconIndex = 0;
    const auto iconFile = TextFrom([&link, &iconIndex](char* buffer, int chars) {
        return link->GetIconLocation(buffer, chars, &iconIndex);
    });
    WORD hotKey = 0;
    const std::optional<int> showCommand = StoredShowCommand(linkFile);
    if (!target || !arguments || !workingDirectory || !description || !iconFile ||
        FAILED(link->GetHotkey(&hotKey)) || !showCommand) {
        return std::nullopt;
    }

    ShellLinkData data;
    data.target = *target;
    data.arguments = *arguments;
    data.workingDirectory = *workingDirectory;
    data.description = *description;
    data.iconFile = *iconFile;
    data.iconIndex = iconIndex;
    data.hotKey = hotKey;
    data.showCommand = *showCommand;
    return data;
}

}  // namespace vx::platform::win32
