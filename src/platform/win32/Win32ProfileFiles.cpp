#include "platform/win32/Win32ProfileFiles.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/TextMode.h"
#include "platform/Utf8Profiles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WideText.h"

namespace vx::platform::win32 {
namespace {

const AnsiConversions& CodePage() {
    static const AnsiConversions conversions{Utf8FromAnsiCodePage, AnsiCodePageFromUtf8};
    return conversions;
}

// A name without a folder lives in the Windows folder, as the system's own calls take it.
std::string Located(const std::string& file) {
    if (file.find_first_of("\\/:") != std::string::npos) return file;
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return file;
    return Utf8FromWide(folder) + "\\" + file;
}

std::optional<std::string> FileBytes(const std::string& file) {
    return Win32FileSystem().readFile(Located(file));
}

}  // namespace

std::string Win32ProfileFiles::readString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& defaultText,
                                          std::size_t bufferChars) {
    if (TextIsUtf8()) {
        return ReadUtf8ProfileString(FileBytes(file), section, key, defaultText, bufferChars,
                                     CodePage());
    }
    const DWORD size = static_cast<DWORD>(
        std::min<std::size_t>(bufferChars, std::numeric_limits<DWORD>::max() - 1));
    // One spare byte: with a zero size the call writes nothing, but the buffer must exist.
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    const DWORD copied = ::GetPrivateProfileStringA(
        section.c_str(), key.c_str(), defaultText.c_str(), buffer.data(), size, file.c_str());
    return std::string(buffer.data(), std::min(copied, size));
}

unsigned Win32ProfileFiles::readInt(const std::string& file, const std::string& section,
                                    const std::string& key, int defaultValue) {
    if (TextIsUtf8()) {
        return ReadUtf8ProfileInt(FileBytes(file), section, key, defaultValue, CodePage());
    }
    return ::GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str());
}

bool Win32ProfileFiles::writeString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
    if (TextIsUtf8()) {
        Win32FileSystem files;
        const std::string path = Located(file);
        const auto before = files.readFile(path);
        // A file that is there but cannot be read is never written over with one line.
        if (!before && files.attributes(path)) return false;
        const auto bytes = WriteUtf8ProfileString(before, section, key, value, CodePage());
        return !bytes || files.writeFile(path, *bytes, false) == kSuccess;
    }
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        file.c_str()) != FALSE;
}

}  // namespace vx::platform::win32
