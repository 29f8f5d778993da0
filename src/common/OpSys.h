#pragma once
// What Windows this is: read once when the object is made, answered by read-only properties.
// Every version flag means "this version or later" within its family.

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace vx {

class clsOpSys {
public:
    clsOpSys();

    int WindowsMode() const;  // 0 normal, 1 safe mode, 2 safe mode with network
    std::uint32_t BuildNumber() const { return record_.buildNumber; }
    const std::string& CSDVersion() const { return record_.csdVersion; }
    std::uint32_t MajorVersion() const { return record_.majorVersion; }
    std::uint32_t MinorVersion() const { return record_.minorVersion; }
    std::uint32_t PlatformID() const { return record_.platformId; }
    std::uint8_t ProductType() const { return record_.productType; }
    std::uint16_t ServicePackMajor() const { return record_.servicePackMajor; }
    std::uint16_t ServicePackMinor() const { return record_.servicePackMinor; }
    std::uint16_t SuiteMask() const { return record_.suiteMask; }

    bool HasAS() const { return suiteBit(1); }
    bool HasBO() const { return suiteBit(2); }
    bool HasDC() const { return suiteBit(7); }
    bool HasSBS() const { return suiteBit(0); }
    bool HasSBSr() const { return suiteBit(5); }
    bool HasTS() const { return suiteBit(4); }

    // Releases after Windows 8. The version query reports them only to a program whose manifest
    // names them (a program without one is told 6.2), so these need src/app/vexilla.manifest.
    bool IsWin11() const { return isWin11_; }
    bool IsWin10() const { return isWin10_; }
    bool IsWin81() const { return isWin81_; }
    bool Is2025() const { return is2025_; }
    bool Is2022() const { return is2022_; }
    bool Is2019() const { return is2019_; }
    bool Is2016() const { return is2016_; }
    bool Is2012R2() const { return is2012R2_; }
    bool IsWin8() const { return isWin8_; }
    bool IsWin7() const { return isWin7_; }
    bool Is2003() const { return is2003_; }
    bool Is2008() const { return is2008_; }
    bool Is2008R2() const { return is2008R2_; }
    bool IsVista() const { return isVista_; }
    // The edition number the management service reports (0 when it cannot answer).
    std::uint32_t VistaSKU() const;
    bool IsWinXP() const { return isWinXP_; }
    bool IsServer() const { return record_.productType > 1; }
    bool IsWin2K() const { return isWin2K_; }
    bool IsWinNT() const { return isWinNT_; }
    bool IsWin9x() const { return isWin95_ || isWin98_ || isWinME_; }
    bool IsWin95() const { return isWin95_; }
    bool IsWin98() const { return isWin98_; }
    bool IsWinME() const { return isWinME_; }

    // "Windows 7 Professional " and the like: the name, with the edition text where known.
    std::string Platform() const;
    // Platform + " " + CSDVersion + " (Version M.m, Build b)".
    std::string Version() const;
    std::string ProductTypeName() const;
    // The release alone, as `Platform` names it but without the edition text ("Windows 10",
    // "Windows Server 2019", "Windows XP"): it asks no management service and reads no file.
    std::string releaseName() const;

    // The folders and names the environment gives.
    std::string SystemRoot, WinDir, SystemDrive, HomeDrive, WinSysDir;
    std::string CurrentUserName, AllUsersProfile, UserProfile, ProgramFilesPath,
        CommonProgramFilesPath, TempPath, TmpPath;

private:
    bool suiteBit(int bit) const { return (record_.suiteMask & (1u << bit)) != 0; }
    std::string editionText() const;
    // The name of the releases after Windows 8, or nullptr for the earlier ones.
    const char* laterReleaseName() const;
    std::string classicEditionText() const;

    platform::OsVersionRecord record_;
    bool isWin95_ = false, isWin98_ = false, isWinME_ = false;
    bool isWinNT_ = false, isWin2K_ = false, isWinXP_ = false, is2003_ = false;
    bool isVista_ = false, isWin7_ = false, is2008_ = false, is2008R2_ = false, isWin8_ = false;
    bool isWin81_ = false, isWin10_ = false, isWin11_ = false;
    bool is2012R2_ = false, is2016_ = false, is2019_ = false, is2022_ = false, is2025_ = false;
};

// The edition name for a management-service edition number (" Professional " for 48).
std::string EditionNameForSku(std::uint32_t sku);

// System32\prodspec.ini of Windows 2000 to XP names the product edition in this section's
// "Product" key; the section name is the file's own, byte for byte.
inline constexpr const char* kProductInfoSection = "Product Specification";

// Windows Vista or later: the one branch between the two ways of branding.
bool IsVista();
// Windows 10 or later (11 and the matching Server releases included): an NT version of 10 or
// more. Without the Windows 10 entry in the manifest the version query says 6.2 there, and
// this answers false.
bool IsWindows10OrLater();

// The running Windows for a banner or a report: `releaseName` and " (64-bit)" or " (32-bit)",
// e.g. "Windows 10 (64-bit)". As cheap as `releaseName`, and it writes no diagnostic line.
std::string RunningWindowsName();

}  // namespace vx
