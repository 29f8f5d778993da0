#pragma once
#include "platform/SystemInfo.h"

namespace vx::platform::win32 {

class Win32SystemInfo final : public SystemInfo {
public:
    [[nodiscard]] std::optional<OsVersionRecord> versionRecord(std::uint32_t recordSize) override;
    int systemMetric(int index) override;
    [[nodiscard]] std::optional<std::uint32_t> operatingSystemSku() override;
};

}  // namespace vx::platform::win32
