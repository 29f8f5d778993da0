#include "platform/sim/SimSystemInfo.h"

#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {

SimSystemInfo::SimSystemInfo() : version_(Windows7()) {}

std::optional<OsVersionRecord> SimSystemInfo::versionRecord(std::uint32_t recordSize) {
    if (recordSize == kVersionRecordExtendedSize) {
        if (refuseExtended_) return std::nullopt;
        OsVersionRecord record = version_;
        record.size = kVersionRecordExtendedSize;
        return record;
    }
    if (recordSize == kVersionRecordBasicSize) {
        OsVersionRecord record;
        record.size = kVersionRecordBasicSize;
        record.majorVersion = version_.majorVersion;
        record.minorVersion = version_.minorVersion;
        record.buildNumber = version_.buildNumber;
        record.platformId = version_.platformId;
        record.csdVersion = version_.csdVersion;
        return record;
    }
    return std::nullopt;
}

int SimSystemInfo::systemMetric(int index) {
    const auto it = metrics_.find(index);
    return it == metrics_.end() ? 0 : it->second;
}

}  // namespace vx::platform::sim
