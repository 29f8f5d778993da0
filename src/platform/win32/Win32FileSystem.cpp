#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
// Needs <windows.h> before it in the Windows SDK.
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/TextMode.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace vx::platform::win32 {
namespace {

// A shell path list of one entry. SHFileOperationA reads up to a double NUL, so every byte
// after the name must be zero: a leftover byte reads as a second entry and the whole
// operation fails with 1223.
template <typename Char>
std::vector<Char> ShellPathList(const std::basic_string<Char>& path) {
    std::vector<Char> list(path.size() + 2, Char{});
    std::copy(path.begin(), path.end(), list.begin());
    return list;
}

HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    return TextIsUtf8() ? ::CreateFileW(WideFromUtf8(path).c_str(), access, share, nullptr,
                                        disposition, FILE_ATTRIBUTE_NORMAL, nullptr)
                        : ::CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
}

template <typename FindData>
bool IsDotEntry(const FindData& found) {
    const auto* name = found.cFileName;
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// The first listed name but "." and "..", through the W calls.
std::optional<std::string> FirstListedWideName(const std::string& pattern) {
    WIN32_FIND_DATAW found{};
    const UniqueFindHandle search(::FindFirstFileW(WideFromUtf8(pattern).c_str(), &found));
    if (!search) return std::nullopt;
    do {
        if (!IsDotEntry(found)) return Utf8FromWide(found.cFileName);
    } while (::FindNextFileW(search.get(), &found));
    return std::nullopt;
}

// No progress window, no question and no error dialog: a headless run never waits on one.
constexpr FILEOP_FLAGS kSilentCopy = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI |
                                     FOF_NOCONFIRMMKDIR | FOF_NOCOPYSECURITYATTRIBS;
static_assert(kSilentCopy == 0x0E14);

Status LastErrorUnless(BOOL succeeded) { return succeeded ? kSuccess : ::GetLastError(); }

}  // namespace

std::optional<std::uint32_t> Win32FileSystem::attributes(const std::string& path) {
    const DWORD value = TextIsUtf8() ? ::GetFileAttributesW(WideFromUtf8(path).c_str())
                                     : ::GetFileAttributesA(path.c_str());
    if (value == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return value;
}

Status Win32FileSystem::createDirectory(const std::string& path) {
    if (TextIsUtf8()) return LastErrorUnless(::CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr));
    return LastErrorUnless(::CreateDirectoryA(path.c_str(), nullptr));
}

Status Win32FileSystem::deleteFile(const std::string& path) {
    if (TextIsUtf8()) return LastErrorUnless(::DeleteFileW(WideFromUtf8(path).c_str()));
    return LastErrorUnless(::DeleteFileA(path.c_str()));
}

Status Win32FileSystem::removeDirectory(const std::string& path) {
    if (TextIsUtf8()) return LastErrorUnless(::RemoveDirectoryW(WideFromUtf8(path).c_str()));
    return LastErrorUnless(::RemoveDirectoryA(path.c_str()));
}

std::optional<std::string> Win32FileSystem::readFile(const std::string& path) {
    const UniqueFileHandle file(
        OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) {
            // A file that opened but cannot be read whole is no better than a missing one.
            return std::nullopt;
        }
        if (read == 0) {
            return bytes;
        }
        bytes.append(chunk, read);
    }
}

Status Win32FileSystem::writeFile(const std::string& path, const std::string& bytes, bool append) {
    const UniqueFileHandle file(
        OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ, append ? OPEN_ALWAYS : CREATE_ALWAYS));
    if (!file) {
        return ::GetLastError();
    }
    if (append && ::SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) {
        // The same value is a valid position past 4 GB; only the last error tells them apart.
        const DWORD error = ::GetLastError();
        if (error != NO_ERROR) {
            return error;
        }
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data() + done, part, &written, nullptr)) {
            return ::GetLastError();
        }
        if (written == 0) {
            return ERROR_WRITE_FAULT;  // a success that moves nothing would loop for ever
        }
        done += written;
    }
    return kSuccess;
}

int Win32FileSystem::shellCopy(const std::string& source, const std::string& destination) {
    if (TextIsUtf8()) {
        std::vector<wchar_t> from = ShellPathList(WideFromUtf8(source));
        std::vector<wchar_t> to = ShellPathList(WideFromUtf8(destination));
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_COPY;
        operation.pFrom = from.data();
        operation.pTo = to.data();
        operation.fFlags = kSilentCopy;
        return ::SHFileOperationW(&operation);
    }
    std::vector<char> from = ShellPathList(source);
    std::vector<char> to = ShellPathList(destination);
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = nullptr;
    operation.wFunc = FO_COPY;
    operation.pFrom = from.data();
    operation.pTo = to.data();
    operation.fFlags = kSilentCopy;
    return ::SHFileOperationA(&operation);
}

std::optional<std::string> Win32FileSystem::firstListedName(const std::string& pattern) {
    if (TextIsUtf8()) return FirstListedWideName(pattern);
    WIN32_FIND_DATAA found{};
    const UniqueFindHandle search(::FindFirstFileA(pattern.c_str(), &found));
    if (!search) {
        return std::nullopt;
    }
    do {
        if (!IsDotEntry(found)) return std::string(found.cFileName);
    } while (::FindNextFileA(search.get(), &found));
    return std::nullopt;
}

}  // namespace vx::platform::win32
