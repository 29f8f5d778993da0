#include "common/WindowsRelease.h"

#include <cstdint>

#include "platform/Platform.h"

namespace vx {
namespace {

constexpr std::uint32_t kPlatformWindowsNT = 2;  // VER_PLATFORM_WIN32_NT
constexpr std::uint32_t kWindows10Major = 10;

}  // namespace

bool IsWindows10OrLater() {
    auto& system = platform::Current().system();
    auto record = system.versionRecord(platform::kVersionRecordExtendedSize);
    if (!record.has_value()) {
        record = system.versionRecord(platform::kVersionRecordBasicSize);
    }
    return record.has_value() && record->platformId == kPlatformWindowsNT &&
           record->majorVersion >= kWindows10Major;
}

}  // namespace vx
