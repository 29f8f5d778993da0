// The default machine, its environment and what it reports about itself. The bitness test
// (ProgramFiles(x86) and its folder) and the version record of the XP, 7 and 8 worlds are
// pinned by tests/contract/FileTestsContractTest.cpp and VersionContractTest.cpp.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {
namespace {

TEST(SimWorld, A64BitMachineHandsOurProcessTheX86Folders) {
    SimWindows windows(Bitness::Windows64);
    Environment& environment = windows.environment();
    EXPECT_EQ("C:\\Program Files (x86)", environment.variable("ProgramFiles"));
    EXPECT_EQ("C:\\Program Files (x86)", environment.variable("PROGRAMFILES(X86)"));
    EXPECT_EQ("C:\\Program Files", environment.variable("programw6432"));
    EXPECT_EQ("C:\\Program Files (x86)\\Common Files", environment.variable("CommonProgramFiles"));
    for (const char* folder : {"C:\\Windows\\SysWOW64", "C:\\Users\\tech\\AppData\\Local\\Temp",
                               "C:\\Users\\Public\\Desktop", "C:\\ProgramData"}) {
        EXPECT_TRUE(windows.directoryExists(folder)) << folder;
    }
    EXPECT_EQ("C:\\Tools\\Vexilla\\vexilla.exe", environment.moduleFileName());
    EXPECT_TRUE(windows.fileBytes("C:\\Tools\\Vexilla\\vexilla.exe").has_value());
}

TEST(SimWorld, A32BitMachineHasOneProgramFolderAndNoWow64) {
    SimWindows windows(Bitness::Windows32);
    Environment& environment = windows.environment();
    EXPECT_EQ("C:\\Program Files", environment.variable("ProgramFiles"));
    EXPECT_EQ("", environment.variable("ProgramW6432"));
    EXPECT_FALSE(windows.directoryExists("C:\\Windows\\SysWOW64"));
    EXPECT_TRUE(windows.directoryExists("C:\\Windows\\System32"));
}

TEST(SimWorld, VariablesIgnoreCaseAndCanBeChanged) {
    SimWindows windows;
    EXPECT_EQ("C:\\Windows", windows.environment().variable("WINDIR"));
    EXPECT_EQ("tech", windows.environment().variable("username"));
    windows.setVariable("OEMKIT", "D:\\kit");
    EXPECT_EQ("D:\\kit", windows.environment().variable("oemkit"));
    windows.setVariable("oemkit", "E:\\kit");
    EXPECT_EQ("E:\\kit", windows.environment().variable("OEMKIT"));
    windows.removeVariable("OemKit");
    EXPECT_EQ("", windows.environment().variable("OEMKIT"));
    EXPECT_EQ("12/8/2026 9:30:00 AM", windows.environment().localDateTimeText());
    windows.setDateTimeText("1/2/2027 10:00:00 PM");
    EXPECT_EQ("1/2/2027 10:00:00 PM", windows.environment().localDateTimeText());
}

TEST(SimWorld, ErrorTextsAreTheEnglishSystemMessages) {
    SimWindows windows;
    const Environment& environment = windows.environment();
    EXPECT_EQ("The operation completed successfully.", environment.errorText(0));
    EXPECT_EQ("The system cannot find the file specified.", environment.errorText(2));
    EXPECT_EQ("Access is denied.", environment.errorText(5));
    EXPECT_EQ("Cannot create a file when that file already exists.", environment.errorText(183));
    EXPECT_EQ("A required privilege is not held by the client.", environment.errorText(1314));
    EXPECT_EQ("Error 99999", environment.errorText(99999));
    EXPECT_EQ("Error 1026", environment.errorText(1026));
}

TEST(SimWorld, VersionPresetsMatchWhatGetVersionExReports) {
    using Preset =
        std::tuple<OsVersionRecord, unsigned, unsigned, unsigned, const char*, unsigned, unsigned>;
    const std::vector<Preset> presets = {
        {Windows2000(), 5, 0, 2195, "Service Pack 4", 4, 1},
        {WindowsXP(), 5, 1, 2600, "Service Pack 3", 3, 1},
        {WindowsXP64(), 5, 2, 3790, "Service Pack 2", 2, 1},
        {WindowsServer2003(), 5, 2, 3790, "Service Pack 2", 2, 3},
        {WindowsVista(), 6, 0, 6002, "Service Pack 2", 2, 1},
        {WindowsServer2008(), 6, 0, 6002, "Service Pack 2", 2, 3},
        {Windows7(), 6, 1, 7601, "Service Pack 1", 1, 1},
        {WindowsServer2008R2(), 6, 1, 7601, "Service Pack 1", 1, 3},
        {Windows8(), 6, 2, 9200, "", 0, 1},
        {WindowsServer2012(), 6, 2, 9200, "", 0, 3},
    };
    for (const auto& [record, major, minor, build, csd, servicePack, product] : presets) {
        SCOPED_TRACE(csd + std::string(" ") + std::to_string(build));
        EXPECT_EQ(156u, record.size);
        EXPECT_EQ(major, record.majorVersion);
        EXPECT_EQ(minor, record.minorVersion);
        EXPECT_EQ(build, record.buildNumber);
        EXPECT_EQ(2u, record.platformId);
        EXPECT_EQ(csd, record.csdVersion);
        EXPECT_EQ(servicePack, record.servicePackMajor);
        EXPECT_EQ(0u, record.servicePackMinor);
        EXPECT_EQ(product, record.productType);
    }
}

TEST(SimWorld, TheVersionRecordFollowsTheSizeAskedFor) {
    SimWindows windows;
    SystemInfo& system = windows.system();
    const auto full = system.versionRecord(156);
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(7601u, full->buildNumber);

    windows.setVersion(WindowsServer2003());
    const auto basic = system.versionRecord(148);
    ASSERT_TRUE(basic.has_value());
    EXPECT_EQ(148u, basic->size);
    EXPECT_EQ(3790u, basic->buildNumber);
    EXPECT_EQ("Service Pack 2", basic->csdVersion);
    EXPECT_EQ(0u, basic->servicePackMajor);
    EXPECT_EQ(0u, basic->productType);
    EXPECT_FALSE(system.versionRecord(100).has_value());

    windows.refuseExtendedVersionRecord(true);
    EXPECT_FALSE(system.versionRecord(156).has_value());
    EXPECT_TRUE(system.versionRecord(148).has_value());
}

TEST(SimWorld, MetricsSkuAndDebugLinesAreWhatWasConfigured) {
    SimWindows windows;
    EXPECT_EQ(0, windows.system().systemMetric(kMetricCleanBoot));
    windows.setSystemMetric(kMetricCleanBoot, 1);
    EXPECT_EQ(1, windows.system().systemMetric(kMetricCleanBoot));
    EXPECT_EQ(1u, windows.system().operatingSystemSku());
    windows.setSku(std::nullopt);
    EXPECT_FALSE(windows.system().operatingSystemSku().has_value());

    windows.debug().output("a\tb");
    windows.debug().output("");
    EXPECT_EQ((std::vector<std::string>{"a\tb", ""}), windows.debugLines());
    windows.clearDebugLines();
    EXPECT_TRUE(windows.debugLines().empty());
}

}  // namespace
}  // namespace vx::platform::sim
