#pragma once
// The shell services of the simulated Windows: links are small text files in the simulated
// file system, special folders come from a table, and desktop refreshes are counted.

#include <map>
#include <optional>
#include <string>

#include "platform/Shell.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {

inline constexpr int kCsidlDesktopDirectory = 0x10;
inline constexpr int kCsidlCommonDesktopDirectory = 0x19;
inline constexpr int kCsidlCommonAppData = 0x23;
inline constexpr int kCsidlWindows = 0x24;
inline constexpr int kCsidlSystem = 0x25;
inline constexpr int kCsidlProgramFiles = 0x26;

class SimShell final : public Shell {
public:
    SimShell(SimFiles& files, Bitness bitness);

    // Writes the link through the file system in the current redirection view, so it fails
    // where the real save does: no such folder, a folder in the way, a bad name. Like the
    // real object it takes an empty or missing target and an empty icon file.
    [[nodiscard]] bool createLink(const std::string& linkFile, const ShellLinkData& data) override;
    // Nothing for a missing file or one this model did not write.
    [[nodiscard]] std::optional<ShellLinkData> readLink(const std::string& linkFile) override;
    // The folders of a default Windows 7 installation for user "tech", as a 32-bit program
    // sees them (CSIDL_COMMON_APPDATA as the world's release has it: setCommonAppData);
    // nothing for any other id.
    [[nodiscard]] std::optional<std::string> specialFolderPath(int csidl) override;
    bool refreshDesktop() override;

    int desktopRefreshes() const { return desktopRefreshes_; }
    // Where CSIDL_COMMON_APPDATA is ("C:\ProgramData" until set).
    void setCommonAppData(const std::string& path) { specialFolders_[kCsidlCommonAppData] = path; }
    // Every createLink then reports success and writes nothing; the disk is left as it was.
    void setLinkSavesVanish(bool vanish) { linkSavesVanish_ = vanish; }

private:
    SimFiles& files_;
    std::map<int, std::string> specialFolders_;
    int desktopRefreshes_ = 0;
    bool linkSavesVanish_ = false;
};

// The file form of a link: a first line naming the format, then one "Name=value" line per
// field. Characters below 0x20 and "%" are written as %XX so a value stays on its line.
std::string EncodeShellLink(const ShellLinkData& data);
// Nothing unless the text is a complete link in that form.
std::optional<ShellLinkData> DecodeShellLink(const std::string& text);

}  // namespace vx::platform::sim
