#include "platform/win32/Win32SystemInfo.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/WmiOperatingSystem.h"

namespace vx::platform::win32 {

std::optional<OsVersionRecord> Win32SystemInfo::versionRecord(std::uint32_t recordSize) {
    OSVERSIONINFOEXA raw{};
    // The system accepts only the basic and the extended size; a larger one would let it
    // write past our record.
    if (recordSize > sizeof raw) {
        return std::nullopt;
    }
    raw.dwOSVersionInfoSize = recordSize;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // deprecated in newer SDKs; the replacements are not on 2000
#endif
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&raw))) {
        return std::nullopt;
    }
    OsVersionRecord record;
    record.size = raw.dwOSVersionInfoSize;
    record.majorVersion = raw.dwMajorVersion;
    record.minorVersion = raw.dwMinorVersion;
    record.buildNumber = raw.dwBuildNumber;
    record.platformId = raw.dwPlatformId;
    const char* const csd = raw.szCSDVersion;
    const void* const end = std::memchr(csd, '\0', sizeof raw.szCSDVersion);
    record.csdVersion.assign(
        csd, end == nullptr ? csd + sizeof raw.szCSDVersion : static_cast<const char*>(end));
    // With the basic size the system leaves the extended fields alone: they stay zero.
    record.servicePackMajor = raw.wServicePackMajor;
    record.servicePackMinor = raw.wServicePackMinor;
    record.suiteMask = raw.wSuiteMask;
    record.productType = raw.wProductType;
    record.reserved = raw.wReserved;
    return record;
}

int Win32SystemInfo::systemMetric(int index) { return ::GetSystemMetrics(index); }

std::optional<std::uint32_t> Win32SystemInfo::operatingSystemSku() {
    return TryQueryOperatingSystemSku();
}

}  // namespace vx::platform::win32
