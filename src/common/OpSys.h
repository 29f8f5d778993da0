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

    // The folders and names the environment gives.
    std::string SystemRoot, WinDir, SystemDrive, HomeDrive, WinSysDir;
    std::string CurrentUserName, AllUsersProfile, UserProfile, ProgramFilesPath,
        CommonProgramFilesPath, TempPath, TmpPath;

private:
    bool suiteBit(int bit) const { return (record_.suiteMask & (1u << bit)) != 0; }
    std::string editionText() const;
    std::string classicEditionText() const;

    platform::OsVersionRecord record_;
    bool isWin95_ = false, isWin98_ = false, isWinME_ = false;
    bool isWinNT_ = false, isWin2K_ = false, isWinXP_ = false, is2003_ = false;
    bool isVista_ = false, isWin7_ = false, is2008_ = false, is2008R2_ = false, isWin8_ = false;
};

// The edition name for a management-service edition number (" Professional " for 48).
std::string EditionNameForSku(std::uint32_t sku);

// System32\prodspec.ini of Windows 2000 to XP names the product edition in this section's
// "Product" key; the section name is the file's own, byte for byte.
inline constexpr const char* kProductInfoSection = "Product Specification";

// Windows Vista or later: the one branch between the two ways of branding.
bool IsVista();

}  // namespace vx
