#include <string>

#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {

namespace {

constexpr std::uint32_t kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT
constexpr std::uint8_t kWorkstation = 1;  // VER_NT_WORKSTATION
constexpr std::uint8_t kServer = 3;       // VER_NT_SERVER

OsVersionRecord MakeRelease(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                            std::uint16_t servicePack, std::uint8_t productType) {
    OsVersionRecord record;
    record.size = kVersionRecordExtendedSize;
    record.majorVersion = major;
    record.minorVersion = minor;
    record.buildNumber = build;
    record.platformId = kPlatformNt;
    if (servicePack != 0) {
        record.csdVersion = std::string("Service Pack ").append(std::to_string(servicePack));
    }
    record.servicePackMajor = servicePack;
    record.productType = productType;
    return record;
}

}  // namespace

OsVersionRecord Windows2000() { return MakeRelease(5, 0, 2195, 4, kWorkstation); }
OsVersionRecord WindowsXP() { return MakeRelease(5, 1, 2600, 3, kWorkstation); }
OsVersionRecord WindowsXP64() { return MakeRelease(5, 2, 3790, 2, kWorkstation); }
OsVersionRecord WindowsServer2003() { return MakeRelease(5, 2, 3790, 2, kServer); }
OsVersionRecord WindowsVista() { return MakeRelease(6, 0, 6002, 2, kWorkstation); }
OsVersionRecord WindowsServer2008() { return MakeRelease(6, 0, 6002, 2, kServer); }
OsVersionRecord Windows7() { return MakeRelease(6, 1, 7601, 1, kWorkstation); }
OsVersionRecord WindowsServer2008R2() { return MakeRelease(6, 1, 7601, 1, kServer); }
OsVersionRecord Windows8() { return MakeRelease(6, 2, 9200, 0, kWorkstation); }
OsVersionRecord WindowsServer2012() { return MakeRelease(6, 2, 9200, 0, kServer); }
OsVersionRecord Windows81() { return MakeRelease(6, 3, 9600, 0, kWorkstation); }
OsVersionRecord WindowsServer2012R2() { return MakeRelease(6, 3, 9600, 0, kServer); }
OsVersionRecord Windows10() { return MakeRelease(10, 0, 19045, 0, kWorkstation); }
OsVersionRecord Windows11() { return MakeRelease(10, 0, 22631, 0, kWorkstation); }
OsVersionRecord WindowsServer2016() { return MakeRelease(10, 0, 14393, 0, kServer); }
OsVersionRecord WindowsServer2019() { return MakeRelease(10, 0, 17763, 0, kServer); }
OsVersionRecord WindowsServer2022() { return MakeRelease(10, 0, 20348, 0, kServer); }
OsVersionRecord WindowsServer2025() { return MakeRelease(10, 0, 26100, 0, kServer); }

}  // namespace vx::platform::sim
