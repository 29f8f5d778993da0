#include "platform/win32/Win32ProfileFiles.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace vx::platform::win32 {

std::string Win32ProfileFiles::readString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& defaultText,
                                          std::size_t bufferChars) {
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
    return ::GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str());
}

bool Win32ProfileFiles::writeString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        file.c_str()) != FALSE;
}

}  // namespace vx::platform::win32
