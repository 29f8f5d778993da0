// The version record and what the program concludes from it.

#include "common/OpSys.h"
#include "contract/ContractFixture.h"

namespace vx::contract {
namespace {

using VersionContract = ContractTest;

TEST_F(VersionContract, RecordIsTheReportedRelease) {
    const auto expected = World().expectedVersion();
    for (const auto size :
         {platform::kVersionRecordExtendedSize, platform::kVersionRecordBasicSize}) {
        SCOPED_TRACE(size);
        const auto record = system().system().versionRecord(size);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(expected.major, record->majorVersion);
        EXPECT_EQ(expected.minor, record->minorVersion);
        EXPECT_EQ(expected.build, record->buildNumber);
        EXPECT_EQ(2u, record->platformId);
    }
    const auto extended = system().system().versionRecord(platform::kVersionRecordExtendedSize);
    ASSERT_TRUE(extended.has_value());
    EXPECT_EQ(1u, extended->productType) << "a workstation";
}

TEST_F(VersionContract, FlagsAndNameFollowTheRelease) {
    const auto expected = World().expectedVersion();
    const clsOpSys os;
    EXPECT_TRUE(os.IsWinNT());
    EXPECT_EQ(expected.major >= 6, os.IsVista());
    EXPECT_EQ(expected.major >= 6, IsVista());
    // 10.0 starts the minor count again: it is later than every 6.x.
    const auto atLeast = [&](std::uint32_t major, std::uint32_t minor) {
        return expected.major > major || (expected.major == major && expected.minor >= minor);
    };
    EXPECT_EQ(atLeast(6, 1), os.IsWin7());
    EXPECT_EQ(atLeast(6, 2), os.IsWin8());
    EXPECT_EQ(atLeast(6, 3), os.IsWin81());
    EXPECT_EQ(atLeast(10, 0), os.IsWin10());
    EXPECT_TRUE(os.IsWinXP());
    EXPECT_FALSE(os.IsServer());

    const std::string name = os.Platform();
    if (expected.major == 5 && expected.minor == 1) {
        EXPECT_EQ(0u, name.rfind("Windows XP ", 0)) << name;
    } else if (expected.major == 6 && expected.minor == 1) {
        EXPECT_EQ(0u, name.rfind("Windows 7 ", 0)) << name;
    } else if (expected.major == 6 && expected.minor == 2) {
        EXPECT_EQ(0u, name.rfind("Windows 8 ", 0)) << name;
    } else if (expected.major == 6 && expected.minor == 3) {
        EXPECT_EQ(0u, name.rfind("Windows 8.1 ", 0)) << name;
    } else if (expected.major == 10) {
        EXPECT_EQ(0u, name.rfind("Windows 10 ", 0)) << name;
    }
    EXPECT_NE(std::string::npos,
              os.Version().find("(Version " + std::to_string(expected.major) + "." +
                                std::to_string(expected.minor) + ", Build " +
                                std::to_string(expected.build) + ")"));
    EXPECT_EQ(Variable("SystemRoot"), os.SystemRoot);
}

}  // namespace
}  // namespace vx::contract
