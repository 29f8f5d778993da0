#pragma once
// Plain value types shared by every backend of the platform seam.

#include <cstdint>
#include <string>

#include "platform/ErrorCodes.h"

namespace vx::platform {

// File attribute bits the portable code looks at.
inline constexpr std::uint32_t kAttributeDirectory = 0x10;

// The extended version record (OSVERSIONINFOEXA) in portable form.
struct OsVersionRecord {
    std::uint32_t size = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;
    std::string csdVersion;  // already cut at its first NUL
    std::uint16_t servicePackMajor = 0;
    std::uint16_t servicePackMinor = 0;
    std::uint16_t suiteMask = 0;
    std::uint8_t productType = 0;
    std::uint8_t reserved = 0;
};

inline constexpr std::uint32_t kVersionRecordExtendedSize = 156;
inline constexpr std::uint32_t kVersionRecordBasicSize = 148;

// Window show states passed to process launch (SW_HIDE, SW_SHOWNORMAL, ...).
inline constexpr int kShowHidden = 0;
inline constexpr int kShowNormal = 1;

}  // namespace vx::platform
