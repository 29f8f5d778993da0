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
            isWinNT_ = true;
            isWin2K_ = major > 4;
            isWinXP_ = major > 4 && minor > 0;
            is2003_ = major > 4 && minor > 1;
            isVista_ = major > 5;
            isWin7_ = major > 5 && minor > 0;
            is2008_ = major > 5 && server;
            is2008R2_ = major > 5 && server && minor > 0;
            isWin8_ = major > 5 && minor > 1;
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

std::string clsOpSys::Platform() const {
    if (isWinME_) return "Windows Me";
    if (isWin98_) return "Windows 98";
    if (isWin95_) return "Windows 95";
    if (is2008R2_) return "Windows Server 2008 R2" + editionText();
    if (isWin8_) return "Windows 8" + editionText();
    if (isWin7_) return "Windows 7" + editionText();
    if (is2008_) return "Windows Server 2008" + editionText();
    if (isVista_) return "Windows Vista" + editionText();
    if (is2003_) return "Windows Server 2003";
    if (isWinXP_) return "Windows XP" + editionText();
    if (isWin2K_) return "Windows 2000";
    if (isWinNT_) return "Windows NT";
    return "";
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

bool IsVista() { return clsOpSys().IsVista(); }

}  // namespace vx
