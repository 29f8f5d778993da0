#pragma once
// What the simulated system reports about itself.

#include <map>
#include <optional>

#include "platform/SystemInfo.h"

namespace vx::platform::sim {

class SimSystemInfo final : public SystemInfo {
public:
    SimSystemInfo();

    // 156 bytes: the whole record, unless the system refuses the extended form; 148 bytes:
    // the record without the extended fields (left zero); any other size is refused with
    // ERROR_INSUFFICIENT_BUFFER, as GetVersionExA does.
    [[nodiscard]] std::optional<OsVersionRecord> versionRecord(std::uint32_t recordSize) override;
    int systemMetric(int index) override;
    [[nodiscard]] std::optional<std::uint32_t> operatingSystemSku() override { return sku_; }

    void setVersion(const OsVersionRecord& record) { version_ = record; }
    void refuseExtendedRecord(bool refuse) { refuseExtended_ = refuse; }
    void setMetric(int index, int value) { metrics_[index] = value; }
    void setSku(std::optional<std::uint32_t> sku) { sku_ = sku; }

private:
    OsVersionRecord version_;
    bool refuseExtended_ = false;
    std::map<int, int> metrics_;
    std::optional<std::uint32_t> sku_ = 1;  // PRODUCT_ULTIMATE
};

}  // namespace vx::platform::sim
