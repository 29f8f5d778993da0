#pragma once
// A shell link (.lnk) object: creates links and reads them back.

#include <cstdint>
#include <string>

namespace vx::engine {

class cShellLinkA {
public:
    // Fields of the last link read by GetLinkInfo.
    const std::string& ExeName() const { return exeName_; }
    const std::string& ExeArgs() const { return exeArgs_; }
    const std::string& WorkingDir() const { return workingDir_; }
    const std::string& Description() const { return description_; }
    const std::string& IconFile() const { return iconFile_; }
    int IconIndex() const { return iconIndex_; }
    int ShowCommand() const { return showCommand_; }

    // A hot key splits into its key code (low byte) and modifier flags (high byte).
    static void GetHotKeyInfo(std::uint16_t hotKey, std::uint8_t& keyCode, std::uint8_t& modifiers);
    static std::uint16_t MakeHotKey(std::uint8_t keyCode, std::uint8_t modifiers);
    // The path of a special folder (CSIDL), "" when the shell does not know it.
    static std::string GetSystemFolderPath(int folderId);

    // Creates `linkFile` pointing at `targetFile`; the target is the icon when none is given.
    // Nothing happens without a link file or a target. True only when every step succeeded.
    bool CreateLink(const std::string& description, const std::string& linkFile,
                    const std::string& targetFile, const std::string& workingFolder,
                    const std::string& arguments, int iconIndex, std::uint16_t hotKey,
                    int showCommand, std::string iconFile);
    // Reads a link into the fields above; false when it cannot be read.
    bool GetLinkInfo(const std::string& linkFile);

private:
    std::string exeName_, exeArgs_, workingDir_, description_, iconFile_;
    int iconIndex_ = 0;
    int showCommand_ = 0;
};

}  // namespace vx::engine
