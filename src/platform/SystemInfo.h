#pragma once
#include <cstdint>
#include <optional>

#include "platform/Types.h"

namespace vx::platform {

// What the system says about itself: version record, metrics, edition number.
class SystemInfo {
public:
    SystemInfo() = default;
    SystemInfo(const SystemInfo&) = delete;
    SystemInfo& operator=(const SystemInfo&) = delete;
    virtual ~SystemInfo() = default;

    // GetVersionExA with a record of `recordSize` bytes; nothing when the call refuses it.
    [[nodiscard]] virtual std::optional<OsVersionRecord> versionRecord(
        std::uint32_t recordSize) = 0;
    virtual int systemMetric(int index) = 0;
    // Win32_OperatingSystem.OperatingSystemSKU from the management service; nothing when the
    // service cannot answer.
    [[nodiscard]] virtual std::optional<std::uint32_t> operatingSystemSku() = 0;
};

inline constexpr int kMetricCleanBoot = 67;  // SM_CLEANBOOT

}  // namespace vx::platform
