#include "common/OpSys.h"
#include "common/WindowsRelease.h"
#include "platform/sim/SimWindows.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using WindowsRelease = SimTest;

platform::OsVersionRecord Release(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                                  std::uint32_t platformId = 2) {
    platform::OsVersionRecord record = platform::sim::Windows8();
    record.majorVersion = major;
    record.minorVersion = minor;
    record.buildNumber = build;
    record.platformId = platformId;
    return record;
}

TEST_F(WindowsRelease, TenAndLaterAreToldByTheMajorVersion) {
    struct Case {
        const char* name;
        platform::OsVersionRecord record;
        bool windows10;
    };
    for (const Case& c :
         {Case{"XP", platform::sim::WindowsXP(), false},
          Case{"7", platform::sim::Windows7(), false}, Case{"8", platform::sim::Windows8(), false},
          Case{"8.1", Release(6, 3, 9600), false},
          Case{"10 without the manifest entry", Release(6, 2, 9200), false},
          Case{"10 22H2", Release(10, 0, 19045), true},
          Case{"11 23H2", Release(10, 0, 22631), true},
          Case{"a 9x record", Release(10, 0, 19045, 1), false}}) {
        SCOPED_TRACE(c.name);
        sim().setVersion(c.record);
        EXPECT_EQ(c.windows10, IsWindows10OrLater());
        EXPECT_EQ(c.record.majorVersion >= 6 && c.record.platformId == 2, IsVista())
            << "everything else keeps treating it as Vista and later";
    }
}

}  // namespace
}  // namespace vx::test
