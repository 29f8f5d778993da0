#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
// Needs <windows.h> before it in the Windows SDK.
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/Handles.h"

namespace vx::platform::win32 {
namespace {

// A shell path list of one entry. SHFileOperationA reads up to a double NUL, so every byte
// after the name must be zero: a leftover byte reads as a second entry and the whole
// operation fails with 1223.
std::vector<char> ShellPathList(const std::string& path) {
    std::vector<char> list(path.size() + 2, '\0');
    std::copy(path.begin(), path.end(), list.begin());
    return list;
}

// No progress window, no question and no error dialog: a headless run never waits on one.
constexpr FILEOP_FLAGS kSilentCopy = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI |
                                     FOF_NOCONFIRMMKDIR | FOF_NOCOPYSECURITYATTRIBS;
static_assert(kSilentCopy == 0x0E14);

Status LastErrorUnless(BOOL succeeded) { return succeeded ? kSuccess : ::GetLastError(); }

}  // namespace

std::optional<std::uint32_t> Win32FileSystem::attributes(const std::string& path) {
    const DWORD value = ::GetFileAttributesA(path.c_str());
    if (value == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return value;
}

Status Win32FileSystem::createDirectory(const std::string& path) {
    return LastErrorUnless(::CreateDirectoryA(path.c_str(), nullptr));
}

Status Win32FileSystem::deleteFile(const std::string& path) {
    return LastErrorUnless(::DeleteFileA(path.c_str()));
}

Status Win32FileSystem::removeDirectory(const std::string& path) {
    return LastErrorUnless(::RemoveDirectoryA(path.c_str()));
}

std::optional<std::string> Win32FileSystem::readFile(const std::string& path) {
    const UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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
    const UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                              append ? OPEN_ALWAYS : CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
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
    WIN32_FIND_DATAA found{};
    const UniqueFindHandle search(::FindFirstFileA(pattern.c_str(), &found));
    if (!search) {
        return std::nullopt;
    }
    do {
        const char* name = found.cFileName;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
            return std::string(name);
        }
    } while (::FindNextFileA(search.get(), &found));
    return std::nullopt;
}

}  // namespace vx::platform::win32
