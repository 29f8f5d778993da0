#include <algorithm>

#include "common/RunReport.h"
#include "engine/StartUp.h"
#include "platform/sim/SimWindows.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

using engine::ExitCode;

const std::string kWowOemKey =
    "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";

// Windows 10 22H2 as the version query reports it once the manifest names Windows 10.
platform::OsVersionRecord Windows10() {
    platform::OsVersionRecord record = platform::sim::Windows8();
    record.majorVersion = 10;
    record.minorVersion = 0;
    record.buildNumber = 19045;
    return record;
}

class Windows10Values : public ReportedRunTest {
protected:
    // Report and diagnostic lines that name either value.
    std::vector<std::string> mentions() const {
        std::vector<std::string> found;
        for (const auto* source : {&report_, &lines()}) {
            for (const std::string& line : *source) {
                if (line.find("SupportProvider") != std::string::npos ||
                    line.find("SupportAppURL") != std::string::npos) {
                    found.push_back(line);
                }
            }
        }
        return found;
    }
};

// A machine that came with the maker's SupportProvider: applied, verified (a stale copy in the
// 32-bit view found), removed, and the factory value restored.
TEST_F(Windows10Values, WrittenVerifiedRemovedAndRestoredOnWindows10) {
    sim().setVersion(Windows10());
    sim().setRegistryValue(kOemKey, "SupportProvider", {1, std::string("Contoso Care\0", 13)});
    settings(
        "[OSBranding]\r\nMfgr=Northwind\r\nSupportProvider=Northwind Care\r\n"
        "SupportAppURL=northwind-help:open\r\n");

    EXPECT_EQ(ExitCode::Success, run("/autobrand"));
    EXPECT_TRUE(
        reported("set SupportProvider = \"Northwind Care\" (was \"Contoso Care\", 64-bit view)"));
    EXPECT_TRUE(reported("set SupportAppURL = \"northwind-help:open\" (was absent, 64-bit view)"));
    EXPECT_EQ("Northwind Care", text(kOemKey, "SupportProvider"));
    EXPECT_EQ(1u, type(kOemKey, "SupportAppURL"));
    EXPECT_EQ("northwind-help:open", text(kOemKey, "SupportAppURL"));
    EXPECT_FALSE(sim().registryKeyExists(kWowOemKey)) << "the 64-bit view only";

    EXPECT_EQ(ExitCode::Success, run("/verify"));
    EXPECT_TRUE(reported("ok: SupportProvider = \"Northwind Care\" (64-bit view)"));
    sim().setRegistryValue(kWowOemKey, "SupportAppURL", {1, std::string("stale:\0", 7)});
    sim().setRegistryValue(kOemKey, "SupportProvider", {1, std::string("Other\0", 6)});
    EXPECT_EQ(ExitCode::VerifyDifferences, run("/verify"));
    EXPECT_TRUE(
        reported("differs: SupportProvider is \"Other\", the kit gives \"Northwind Care\" "
                 "(64-bit view)"));
    EXPECT_TRUE(
        reported("differs: the 32-bit view (Wow6432Node) holds SupportAppURL = "
                 "\"stale:\", the kit gives \"northwind-help:open\""));

    EXPECT_EQ(ExitCode::Success, run("/rem"));
    EXPECT_TRUE(reported("deleted SupportProvider (was \"Other\", 64-bit view)"));
    EXPECT_FALSE(sim().registryValue(kOemKey, "SupportProvider").has_value());
    EXPECT_FALSE(sim().registryValue(kOemKey, "SupportAppURL").has_value());

    run("/restore");
    EXPECT_EQ("Contoso Care", text(kOemKey, "SupportProvider")) << "the factory value";
    EXPECT_FALSE(sim().registryValue(kOemKey, "SupportAppURL").has_value());
}

// Before Windows 10 (and on Windows 10 without the manifest entry, which reports 6.2) nothing
// reads them: they are not written, and the report says why.
TEST_F(Windows10Values, NotWrittenBeforeWindows10) {
    sim().setVersion(platform::sim::Windows8());
    settings("[OSBranding]\r\nMfgr=Northwind\r\nSupportProvider=Northwind Care\r\n");
    EXPECT_EQ(ExitCode::Success, run("/autobrand"));
    EXPECT_FALSE(sim().registryValue(kOemKey, "SupportProvider").has_value());
    EXPECT_EQ("Northwind", text(kOemKey, "Manufacturer"));
    EXPECT_TRUE(reported("skipped: SupportProvider and SupportAppURL: Windows 10 and later only"));
}

// A kit without them: not a line about them anywhere, on Windows 10 or before, and a vendor's
// own SupportProvider outlives /rem (it is not Vexilla's to remove).
TEST_F(Windows10Values, AKitWithoutThemIsUntouchedByThem) {
    settings("[OSBranding]\r\nMfgr=Northwind\r\nModel=NW-5\r\n");
    sim().setRegistryValue(kOemKey, "SupportProvider", {1, std::string("Contoso Care\0", 13)});
    for (const auto& release : {Windows10(), platform::sim::Windows7()}) {
        SCOPED_TRACE(release.majorVersion);
        sim().setVersion(release);
        sim().clearDebugLines();
        EXPECT_EQ(ExitCode::Success, run("/autobrand"));
        EXPECT_EQ(std::vector<std::string>{}, mentions());
        EXPECT_EQ(ExitCode::Success, run("/verify"));
        EXPECT_EQ(std::vector<std::string>{}, mentions());
        EXPECT_EQ(ExitCode::Success, run("/rem"));
        EXPECT_EQ(std::vector<std::string>{}, mentions());
        EXPECT_EQ("Contoso Care", text(kOemKey, "SupportProvider"));
    }
}

}  // namespace
}  // namespace vx::test
