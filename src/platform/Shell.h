#pragma once
// Shell services: shell links (.lnk), special folders and the desktop refresh.

#include <cstdint>
#include <optional>
#include <string>

namespace vx::platform {

struct ShellLinkData {
    std::string target;
    std::string arguments;
    std::string workingDirectory;
    std::string description;
    std::string iconFile;
    int iconIndex = 0;
    std::uint16_t hotKey = 0;  // key code in the low byte, modifier flags in the high byte
    int showCommand = 1;
};

class Shell {
public:
    Shell() = default;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    virtual ~Shell() = default;

    // IShellLinkA + IPersistFile: sets the path, the icon location, the show command, the hot
    // key, the working folder, the arguments and the description in that order, resolves the
    // link without a window (SLR_UPDATE) and saves it to `linkFile`. False when any step fails.
    [[nodiscard]] virtual bool createLink(const std::string& linkFile,
                                          const ShellLinkData& data) = 0;
    // Loads a .lnk and reads every field back; nothing when it cannot be loaded.
    [[nodiscard]] virtual std::optional<ShellLinkData> readLink(const std::string& linkFile) = 0;
    // SHGetSpecialFolderLocation + SHGetPathFromIDListA for a CSIDL; nothing on failure.
    [[nodiscard]] virtual std::optional<std::string> specialFolderPath(int csidl) = 0;
    // Posts WM_COMMAND 0x7103 to the "SHELLDLL_DefView" child of the "Progman" window
    // "Program Manager", which makes the desktop re-read its files. False without a desktop.
    virtual bool refreshDesktop() = 0;
};

}  // namespace vx::platform
