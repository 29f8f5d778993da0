#include "platform/win32/Win32ShellLink.h"

#include <windows.h>
// Need <windows.h> before them in the Windows SDK.
#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "platform/TextMode.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace vx::platform::win32 {
namespace {

// INFOTIPSIZE: the longest description the shell keeps, and room for any path or
// argument list a link holds.
constexpr int kTextChars = 1024;

// The fixed header that opens every .lnk file: HeaderSize (0x4C) first, the show command
// as a 32-bit value at 0x3C.
constexpr DWORD kLinkHeaderSize = 0x4C;
constexpr std::size_t kShowCommandOffset = 0x3C;

// IPersistFile takes wide names; the link's name is seam text like every other path of ours.
std::optional<std::wstring> WidePath(const std::string& path) {
    if (TextIsUtf8()) return WideFromUtf8(path);
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

// The link object of each call family: IShellLinkA for ANSI seam text, IShellLinkW for
// UTF-8, so that a path or description outside the code page keeps its characters.
template <typename Char>
struct LinkFamily;

template <>
struct LinkFamily<char> {
    using Interface = IShellLinkA;
    static const IID& id() { return IID_IShellLinkA; }
    static std::string in(const std::string& text) { return text; }
    static std::string out(const char* text) { return text; }
};

template <>
struct LinkFamily<wchar_t> {
    using Interface = IShellLinkW;
    static const IID& id() { return IID_IShellLinkW; }
    static std::wstring in(const std::string& text) { return WideFromUtf8(text); }
    static std::string out(const wchar_t* text) { return Utf8FromWide(text); }
};

template <typename Char>
ComPtr<typename LinkFamily<Char>::Interface> NewShellLink() {
    ComPtr<typename LinkFamily<Char>::Interface> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                  LinkFamily<Char>::id(), reinterpret_cast<void**>(link.put())))) {
        link.reset();
    }
    return link;
}

template <typename Link>
ComPtr<IPersistFile> PersistenceOf(const ComPtr<Link>& link) {
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) {
        file.reset();
    }
    return file;
}

// One string getter of the link into a zeroed buffer; a getter that leaves the buffer
// without a terminator is cut at its end.
template <typename Char, typename Getter>
std::optional<std::string> TextFrom(Getter get) {
    std::vector<Char> buffer(kTextChars, Char{});
    if (FAILED(get(buffer.data(), kTextChars))) {
        return std::nullopt;
    }
    buffer.back() = Char{};
    return LinkFamily<Char>::out(buffer.data());
}

// The show command comes from the file's header, not from GetShowCmd: Wine's Load leaves
// it at SW_SHOWNORMAL although Save writes the value that was set, and Windows fills
// GetShowCmd from this same header field.
std::optional<int> StoredShowCommand(const std::string& linkFile) {
    const UniqueFileHandle file(
        TextIsUtf8() ? ::CreateFileW(WideFromUtf8(linkFile).c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr)
                     : ::CreateFileA(linkFile.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
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

template <typename Char>
bool CreateShellLinkWith(const std::wstring& widePath, const ShellLinkData& data) {
    using Family = LinkFamily<Char>;
    const auto link = NewShellLink<Char>();
    if (!link) {
        return false;
    }
    // SetPath gives S_FALSE for a target that does not exist (yet): the link is still made.
    if (FAILED(link->SetPath(Family::in(data.target).c_str())) ||
        FAILED(link->SetIconLocation(Family::in(data.iconFile).c_str(), data.iconIndex)) ||
        FAILED(link->SetShowCmd(data.showCommand)) || FAILED(link->SetHotkey(data.hotKey)) ||
        FAILED(link->SetWorkingDirectory(Family::in(data.workingDirectory).c_str())) ||
        FAILED(link->SetArguments(Family::in(data.arguments).c_str())) ||
        FAILED(link->SetDescription(Family::in(data.description).c_str()))) {
        return false;
    }
    // With SLR_UPDATE the link refreshes what it stores about its target before the save;
    // SLR_NO_UI (and no window) keeps a missing target from opening the search dialog,
    // which nobody would answer in a headless run.
    if (FAILED(link->Resolve(nullptr, SLR_UPDATE | SLR_NO_UI))) {
        return false;
    }
    const ComPtr<IPersistFile> file = PersistenceOf(link);
    return file && SUCCEEDED(file->Save(widePath.c_str(), FALSE));
}

template <typename Char>
std::optional<ShellLinkData> ReadShellLinkWith(const std::string& linkFile,
                                               const std::wstring& widePath) {
    const auto link = NewShellLink<Char>();
    if (!link) {
        return std::nullopt;
    }
    const ComPtr<IPersistFile> file = PersistenceOf(link);
    if (!file || FAILED(file->Load(widePath.c_str(), STGM_READ))) {
        return std::nullopt;
    }

    // The raw path is the target as it was set: no environment strings expanded, no short
    // names. An empty target gives S_FALSE and an empty path.
    const auto target = TextFrom<Char>([&link](Char* buffer, int chars) {
        return link->GetPath(buffer, chars, nullptr, SLGP_RAWPATH);
    });
    const auto arguments = TextFrom<Char>(
        [&link](Char* buffer, int chars) { return link->GetArguments(buffer, chars); });
    const auto workingDirectory = TextFrom<Char>(
        [&link](Char* buffer, int chars) { return link->GetWorkingDirectory(buffer, chars); });
    const auto description = TextFrom<Char>(
        [&link](Char* buffer, int chars) { return link->GetDescription(buffer, chars); });
    int iconIndex = 0;
    const auto iconFile = TextFrom<Char>([&link, &iconIndex](Char* buffer, int chars) {
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
    return TextIsUtf8() ? CreateShellLinkWith<wchar_t>(*widePath, data)
                        : CreateShellLinkWith<char>(*widePath, data);
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
    return TextIsUtf8() ? ReadShellLinkWith<wchar_t>(linkFile, *widePath)
                        : ReadShellLinkWith<char>(linkFile, *widePath);
}

}  // namespace vx::platform::win32
