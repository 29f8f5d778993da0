#include "common/OpSys.h"

#include <array>
#include <utility>

#include "common/DebugLog.h"
#include "common/FileTests.h"
#include "common/Ini.h"
#include "platform/Platform.h"

namespace vx {
namespace {

constexpr std::uint32_t kPlatformWindows9x = 1;
constexpr std::uint32_t kPlatformWindowsNT = 2;

}  // namespace

clsOpSys::clsOpSys() {
    // A failure stops the filling where it happened: the flags not yet set stay false.
    try {
        auto& system = platform::Current();
        const auto& environment = system.environment();
        SystemRoot = environment.variable("systemroot");
        WinDir = environment.variable("windir");
        SystemDrive = environment.variable("systemdrive");
        HomeDrive = environment.variable("homedrive");
        WinSysDir =
            WinDir + (environment.variable("os") == "Windows_NT" ? "\\System32" : "\\System");
        CurrentUserName = environment.variable("username");
        AllUsersProfile = environment.variable("allusersprofile");
        UserProfile = environment.variable("userprofile");
        ProgramFilesPath = environment.variable("programfiles");
        CommonProgramFilesPath = environment.variable("commonprogramfiles");
        TempPath = environment.variable("temp");
        TmpPath = environment.variable("tmp");

        auto record = system.system().versionRecord(platform::kVersionRecordExtendedSize);
        if (!record.has_value()) {
            record = system.system().versionRecord(platform::kVersionRecordBasicSize);
        }
        if (!record.has_value()) {
            return;
        }
        record_ = *record;

        const auto major = record_.majorVersion;
        const auto minor = record_.minorVersion;
        if (record_.platformId == kPlatformWindows9x) {
            isWin95_ = true;
            isWin98_ = minor > 9;
            isWinME_ = (record_.buildNumber & 0xFFFFu) > 2999;
        } else if (record_.platformId == kPlatformWindowsNT) {
            const bool server = record_.productType > 1;
            // Windows 10 starts the minor count again at 0: a major number past 6 is later
            // than every 6.x, whatever its minor number.
            const bool newMajor = major > 6;
            isWinNT_ = true;
            isWin2K_ = major > 4;
            isWinXP_ = major > 4 && minor > 0;
            is2003_ = major > 4 && (minor > 1 || newMajor);
            isVista_ = major > 5;
            isWin7_ = major > 5 && (minor > 0 || newMajor);
            is2008_ = major > 5 && server;
            is2008R2_ = major > 5 && server && (minor > 0 || newMajor);
            isWin8_ = major > 5 && (minor > 1 || newMajor);
            // Versions from the remarks table of "OSVERSIONINFOEXA structure (winnt.h)" on
            // learn.microsoft.com: 6.3 is Windows 8.1 and Server 2012 R2, 10.0 is Windows 10 and
            // 11 and Server 2016 and later. 10.0 tells those apart only by build number: 22000 is
            // the first Windows 11 ("Windows 11 release information"); 14393, 17763, 20348 and
            // 26100 are Server 2016, 2019, 2022 and 2025 ("Windows Server release information").
            const auto build = record_.buildNumber;
            isWin81_ = (major == 6 && minor > 2) || newMajor;
            isWin10_ = major >= 10;
            isWin11_ = major >= 10 && build >= 22000;
            is2012R2_ = server && isWin81_;
            // Server 10.0 builds before 14393 were the previews of Server 2016.
            is2016_ = server && isWin10_;
            is2019_ = server && isWin10_ && build >= 17763;
            is2022_ = server && isWin10_ && build >= 20348;
            is2025_ = server && isWin10_ && build >= 26100;
        }
        if (isVista_) {
            isWinXP_ = true;
        }
    } catch (...) {
        // Nothing to report: a half-filled object answers "no" to what it did not learn.
    }
}

int clsOpSys::WindowsMode() const {
    try {
        return platform::Current().system().systemMetric(platform::kMetricCleanBoot);
    } catch (...) {
        return 0;
    }
}

std::uint32_t clsOpSys::VistaSKU() const {
    return platform::Current().system().operatingSystemSku().value_or(0);
}

std::string EditionNameForSku(std::uint32_t sku) {
    static const std::array<std::pair<std::uint32_t, const char*>, 29> names{{
        {0, " Undefined Edition "},
        {1, " Ultimate "},
        {2, " Home Basic "},
        {3, " Home Premium "},
        {4, " Enterprise "},
        {5, " Home Basic N "},
        {6, " Business "},
        {7, " Standard "},
        {8, " Datacenter "},
        {9, " SBS "},
        {10, " Enterprise "},
        {11, " Starter "},
        {12, " Datacenter Core "},
        {13, " Standard Core "},
        {14, " Enterprise Core "},
        {15, " Enterprise IA64 "},
        {16, " Business N "},
        {17, " Web Server "},
        {18, " Cluster "},
        {19, " Home Server "},
        {20, " Storage Express "},
        {21, "Storage Standard"},
        {22, " Storage Workgroup "},
        {23, " Storage Enterprise "},
        {24, " For Small Business "},
        {25, " SBS Premium "},
        {42, " Hyper-V "},
        {48, " Professional "},
        {74, " Consumer Preview? "},
    }};
    for (const auto& [number, name] : names) {
        if (number == sku) {
            return name;
        }
    }
    return " Unknown (SKU Bit " + ToText(sku) + ") ";
}

std::string clsOpSys::classicEditionText() const {
    const std::string productFile = WinSysDir + "\\prodspec.ini";
    if (!DoesFileExist(productFile, false)) {
        return " Undefined Edition ";
    }
    // The file lives in the real System32, which a 32-bit reader sees only with redirection off.
    DisableFSRedir();
    const std::string product = LCase(ReadIni(productFile, kProductInfoSection, "Product"));
    RevertFSRedir();
    if (product.find("home") != std::string::npos) {
        return " Home ";
    }
    if (product.find("media") != std::string::npos) {
        return " Media Center ";
    }
    if (product.find("professional") != std::string::npos) {
        return DoesFileExist(WinDir + "\\ehome\\ehtray.exe", false) ? " Media Center "
                                                                    : " Professional ";
    }
    return "";
}

std::string clsOpSys::editionText() const {
    try {
        return record_.majorVersion < 6 ? classicEditionText() : EditionNameForSku(VistaSKU());
    } catch (...) {
        return "";
    }
}

const char* clsOpSys::laterReleaseName() const {
    if (is2025_) return "Windows Server 2025";
    if (is2022_) return "Windows Server 2022";
    if (is2019_) return "Windows Server 2019";
    if (is2016_) return "Windows Server 2016";
    if (is2012R2_) return "Windows Server 2012 R2";
    if (isWin11_) return "Windows 11";
    if (isWin10_) return "Windows 10";
    if (isWin81_) return "Windows 8.1";
    return nullptr;
}

std::string clsOpSys::Platform() const {
    // Windows 9x, NT, 2000 and Server 2003 go without edition text.
    const bool withEdition = isVista_ || (isWinXP_ && !is2003_);
    return withEdition ? releaseName() + editionText() : releaseName();
}

std::string clsOpSys::Version() const {
    return Platform() + " " + record_.csdVersion + " (Version " + ToText(record_.majorVersion) +
           "." + ToText(record_.minorVersion) + ", Build " + ToText(record_.buildNumber) + ")";
}

std::string clsOpSys::ProductTypeName() const {
    switch (record_.productType) {
        case 0:
            return "Unknown";
        case 1:
            return "NT Workstation";
        case 2:
            return "Domain Controller";
        case 3:
            return "NT Server";
        default:
            return "";
    }
}

std::string clsOpSys::releaseName() const {
    if (const char* later = laterReleaseName()) return later;
    if (isWinME_) return "Windows Me";
    if (isWin98_) return "Windows 98";
    if (isWin95_) return "Windows 95";
    if (is2008R2_) return "Windows Server 2008 R2";
    if (isWin8_) return "Windows 8";
    if (isWin7_) return "Windows 7";
    if (is2008_) return "Windows Server 2008";
    if (isVista_) return "Windows Vista";
    if (is2003_) return "Windows Server 2003";
    if (isWinXP_) return "Windows XP";
    if (isWin2K_) return "Windows 2000";
    if (isWinNT_) return "Windows NT";
    return "";
}

bool IsVista() { return clsOpSys().IsVista(); }

bool IsWindows10OrLater() {
    const clsOpSys system;
    return system.PlatformID() == kPlatformWindowsNT && system.MajorVersion() >= 10;
}

std::string RunningWindowsName() {
    try {
        const std::string name = clsOpSys().releaseName();
        if (name.empty()) {
            return "an unknown Windows";
        }
        return name + (Is64BitWindows("") ? " (64-bit)" : " (32-bit)");
    } catch (...) {
        return "an unknown Windows";
    }
}

}  // namespace vx
