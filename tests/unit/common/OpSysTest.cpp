#include "common/OpSys.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using namespace platform::sim;
using OpSys = SimTest;

struct Release {
    const char* name;
    platform::OsVersionRecord record;
    bool xp, is2003, vista, win7, win8, is2008, is2008R2, server;
    const char* platformText;
};

// The flags compare major and minor numbers separately, so Is2003 (minor above 1) is false
// on Vista and 7 and true again on 8; the name order never consults it past Vista.
TEST_F(OpSys, FlagsAndNamesOfEverySupportedRelease) {
    sim().setSku(48);
    const Release releases[] = {
        {"2000", Windows2000(), false, false, false, false, false, false, false, false,
         "Windows 2000"},
        {"XP", WindowsXP(), true, false, false, false, false, false, false, false,
         "Windows XP Undefined Edition "},
        {"XP x64", WindowsXP64(), true, true, false, false, false, false, false, false,
         "Windows Server 2003"},
        {"2003", WindowsServer2003(), true, true, false, false, false, false, false, true,
         "Windows Server 2003"},
        {"Vista", WindowsVista(), true, false, true, false, false, false, false, false,
         "Windows Vista Professional "},
        {"2008", WindowsServer2008(), true, false, true, false, false, true, false, true,
         "Windows Server 2008 Professional "},
        {"7", Windows7(), true, false, true, true, false, false, false, false,
         "Windows 7 Professional "},
        {"2008 R2", WindowsServer2008R2(), true, false, true, true, false, true, true, true,
         "Windows Server 2008 R2 Professional "},
        {"8", Windows8(), true, true, true, true, true, false, false, false,
         "Windows 8 Professional "},
        {"2012", WindowsServer2012(), true, true, true, true, true, true, true, true,
         "Windows Server 2008 R2 Professional "},
    };
    for (const auto& release : releases) {
        SCOPED_TRACE(release.name);
        sim().setVersion(release.record);
        const clsOpSys os;
        EXPECT_TRUE(os.IsWinNT());
        EXPECT_TRUE(os.IsWin2K());
        EXPECT_FALSE(os.IsWin9x());
        EXPECT_EQ(release.xp, os.IsWinXP());
        EXPECT_EQ(release.is2003, os.Is2003());
        EXPECT_EQ(release.vista, os.IsVista());
        EXPECT_EQ(release.vista, IsVista());
        EXPECT_EQ(release.win7, os.IsWin7());
        EXPECT_EQ(release.win8, os.IsWin8());
        EXPECT_EQ(release.is2008, os.Is2008());
        EXPECT_EQ(release.is2008R2, os.Is2008R2());
        EXPECT_EQ(release.server, os.IsServer());
        EXPECT_EQ(release.platformText, os.Platform());
        EXPECT_EQ(std::string(release.platformText) + " " + release.record.csdVersion +
                      " (Version " + std::to_string(release.record.majorVersion) + "." +
                      std::to_string(release.record.minorVersion) + ", Build " +
                      std::to_string(release.record.buildNumber) + ")",
                  os.Version());
    }
}

// After Windows 8 the numbers alone no longer name a release: 6.3 is 8.1 or Server 2012 R2, and
// 10.0 is Windows 10, 11 or Server 2016 to 2025 by build number and product type. Every earlier
// "or later" flag stays true, although the minor number of 10.0 starts again at 0.
TEST_F(OpSys, ReleasesAfterWindows8AreNamedAndStayVistaAndLater) {
    struct Later {
        const char* name;
        platform::OsVersionRecord record;
        const char* release;
        bool win81, win10, win11, is2012R2, is2016, is2019, is2022, is2025;
    };
    sim().setSku(48);
    const Later releases[] = {
        {"8.1", Windows81(), "Windows 8.1", true, false, false, false, false, false, false, false},
        {"2012 R2", WindowsServer2012R2(), "Windows Server 2012 R2", true, false, false, true,
         false, false, false, false},
        {"10", Windows10(), "Windows 10", true, true, false, false, false, false, false, false},
        {"11", Windows11(), "Windows 11", true, true, true, false, false, false, false, false},
        {"2016", WindowsServer2016(), "Windows Server 2016", true, true, false, true, true, false,
         false, false},
        {"2019", WindowsServer2019(), "Windows Server 2019", true, true, false, true, true, true,
         false, false},
        {"2022", WindowsServer2022(), "Windows Server 2022", true, true, false, true, true, true,
         true, false},
        {"2025", WindowsServer2025(), "Windows Server 2025", true, true, true, true, true, true,
         true, true},
    };
    for (const auto& release : releases) {
        SCOPED_TRACE(release.name);
        sim().setVersion(release.record);
        const clsOpSys os;
        EXPECT_TRUE(os.IsVista());
        EXPECT_TRUE(IsVista());
        EXPECT_TRUE(os.IsWinXP());
        EXPECT_TRUE(os.IsWin7());
        EXPECT_TRUE(os.IsWin8());
        EXPECT_EQ(release.is2012R2, os.IsServer());
        EXPECT_EQ(os.IsServer(), os.Is2008());
        EXPECT_EQ(os.IsServer(), os.Is2008R2());
        EXPECT_EQ(release.win81, os.IsWin81());
        EXPECT_EQ(release.win10, os.IsWin10());
        EXPECT_EQ(release.win11, os.IsWin11());
        EXPECT_EQ(release.is2012R2, os.Is2012R2());
        EXPECT_EQ(release.is2016, os.Is2016());
        EXPECT_EQ(release.is2019, os.Is2019());
        EXPECT_EQ(release.is2022, os.Is2022());
        EXPECT_EQ(release.is2025, os.Is2025());
        EXPECT_EQ(release.release, os.releaseName());
        EXPECT_EQ(std::string(release.release) + " Professional ", os.Platform());
        // The edition's trailing space, the separator and an empty service-pack text.
        EXPECT_EQ(std::string(release.release) + " Professional   (Version " +
                      std::to_string(release.record.majorVersion) + "." +
                      std::to_string(release.record.minorVersion) + ", Build " +
                      std::to_string(release.record.buildNumber) + ")",
                  os.Version());
    }
}

// The banner and the report name the release without asking for the edition (a management
// service query on Vista and later, a file read under switched redirection on XP).
TEST_F(OpSys, RunningWindowsNameIsTheReleaseAndTheBitnessAlone) {
    const struct {
        platform::OsVersionRecord record;
        const char* name;
    } cases[] = {
        {Windows11(), "Windows 11 (64-bit)"},
        {WindowsServer2019(), "Windows Server 2019 (64-bit)"},
        {Windows8(), "Windows 8 (64-bit)"},
        {WindowsXP(), "Windows XP (64-bit)"},
        {WindowsServer2003(), "Windows Server 2003 (64-bit)"},
        {Windows2000(), "Windows 2000 (64-bit)"},
    };
    sim().setSku(48);
    sim().addFile("C:\\Windows\\System32\\prodspec.ini",
                  std::string("[") + kProductInfoSection + "]\r\nProduct=Windows XP Home\r\n");
    for (const auto& item : cases) {
        SCOPED_TRACE(item.name);
        sim().setVersion(item.record);
        EXPECT_EQ(item.name, RunningWindowsName());
    }
    EXPECT_TRUE(lines().empty()) << lines().front();

    platform::OsVersionRecord unknown;
    sim().setVersion(unknown);
    EXPECT_EQ("an unknown Windows", RunningWindowsName());
}

using OpSys32 = Sim32Test;

TEST_F(OpSys32, RunningWindowsNameSaysWhenWindowsIs32Bit) {
    sim().setVersion(Windows10());
    EXPECT_EQ("Windows 10 (32-bit)", RunningWindowsName());
}

TEST_F(OpSys, ClassicEditionComesFromProdspecIni) {
    sim().setVersion(WindowsXP());
    const std::string prodspec = "C:\\Windows\\System32\\prodspec.ini";
    const auto platformWith = [&](const std::string& product) {
        sim().addFile(prodspec,
                      std::string("[") + kProductInfoSection + "]\r\nProduct=" + product + "\r\n");
        return clsOpSys().Platform();
    };
    EXPECT_EQ("Windows XP Home ", platformWith("Windows XP Home Edition"));
    EXPECT_EQ("Windows XP Media Center ", platformWith("Windows XP Media Center Edition"));
    EXPECT_EQ("Windows XP Professional ", platformWith("Windows XP Professional"));
    sim().addFile("C:\\Windows\\ehome\\ehtray.exe");
    EXPECT_EQ("Windows XP Media Center ", platformWith("Windows XP Professional"));
}

TEST_F(OpSys, ManagementServiceEditionNumbers) {
    EXPECT_EQ(" Undefined Edition ", EditionNameForSku(0));
    EXPECT_EQ(" Enterprise ", EditionNameForSku(4));
    EXPECT_EQ(" Enterprise ", EditionNameForSku(10));
    EXPECT_EQ("Storage Standard", EditionNameForSku(21));
    EXPECT_EQ(" Hyper-V ", EditionNameForSku(42));
    EXPECT_EQ(" Consumer Preview? ", EditionNameForSku(74));
    EXPECT_EQ(" Unknown (SKU Bit 101) ", EditionNameForSku(101));

    sim().setVersion(Windows7());
    sim().setSku(std::nullopt);
    EXPECT_EQ("Windows 7 Undefined Edition ", clsOpSys().Platform());
}

TEST_F(OpSys, BasicRecordIsUsedWhenTheExtendedOneIsRefused) {
    sim().setVersion(WindowsXP());
    sim().refuseExtendedVersionRecord(true);
    const clsOpSys os;
    EXPECT_TRUE(os.IsWinXP());
    EXPECT_EQ(0u, os.ProductType());
    EXPECT_EQ("Unknown", os.ProductTypeName());
    EXPECT_EQ("Service Pack 3", os.CSDVersion());
}

TEST_F(OpSys, Windows9xFamily) {
    platform::OsVersionRecord me;
    me.platformId = 1;
    me.majorVersion = 4;
    me.minorVersion = 90;
    me.buildNumber = 0x045A0BB8;  // 4.90.3000
    sim().setVersion(me);
    const clsOpSys os;
    EXPECT_TRUE(os.IsWin9x());
    EXPECT_TRUE(os.IsWinME());
    EXPECT_FALSE(os.IsWinNT());
    EXPECT_FALSE(os.IsVista());
    EXPECT_EQ("Windows Me", os.Platform());
}

TEST_F(OpSys, SuiteProductTypeEnvironmentAndSafeMode) {
    auto record = WindowsServer2003();
    record.suiteMask = 0b1011'0111;
    record.productType = 2;
    sim().setVersion(record);
    sim().setSystemMetric(platform::kMetricCleanBoot, 2);
    sim().setVariable("OS", "Windows_NT");
    const clsOpSys os;
    EXPECT_TRUE(os.HasSBS());
    EXPECT_TRUE(os.HasAS());
    EXPECT_TRUE(os.HasBO());
    EXPECT_TRUE(os.HasTS());
    EXPECT_TRUE(os.HasSBSr());
    EXPECT_TRUE(os.HasDC());
    EXPECT_EQ("Domain Controller", os.ProductTypeName());
    EXPECT_EQ(2, os.WindowsMode());
    EXPECT_EQ("C:\\Windows\\System32", os.WinSysDir);

    sim().setVariable("OS", "");
    EXPECT_EQ("C:\\Windows\\System", clsOpSys().WinSysDir);
}

platform::OsVersionRecord VersionRecord(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                                  std::uint32_t platformId = 2) {
    platform::OsVersionRecord record = platform::sim::Windows8();
    record.majorVersion = major;
    record.minorVersion = minor;
    record.buildNumber = build;
    record.platformId = platformId;
    return record;
}

TEST_F(OpSys, TenAndLaterAreToldByTheMajorVersion) {
    struct Case {
        const char* name;
        platform::OsVersionRecord record;
        bool windows10;
    };
    for (const Case& c :
         {Case{"XP", platform::sim::WindowsXP(), false},
          Case{"7", platform::sim::Windows7(), false}, Case{"8", platform::sim::Windows8(), false},
          Case{"8.1", VersionRecord(6, 3, 9600), false},
          Case{"10 without the manifest entry", VersionRecord(6, 2, 9200), false},
          Case{"10 22H2", VersionRecord(10, 0, 19045), true},
          Case{"11 23H2", VersionRecord(10, 0, 22631), true},
          Case{"a 9x record", VersionRecord(10, 0, 19045, 1), false}}) {
        SCOPED_TRACE(c.name);
        sim().setVersion(c.record);
        EXPECT_EQ(c.windows10, IsWindows10OrLater());
        EXPECT_EQ(c.record.majorVersion >= 6 && c.record.platformId == 2, IsVista())
            << "everything else keeps treating it as Vista and later";
    }
}

}  // namespace
}  // namespace vx::test
