#pragma once
// The application folder, the active settings file, the start banner and the version caption.

#include <string>
#include <string_view>

namespace vx {

inline constexpr const char* kAppTitle = "Vexilla";

struct VersionNumbers {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version this program was built as.
VersionNumbers BuildVersion();

// The folder the executable was started from, always ending in "\".
std::string AppPath();
// The executable's file name without its extension.
std::string AppExeName();

// Sets the settings-file path (beside the program when `inAppFolder`, else in its Config
// folder, which is created) and writes the start banner, which names the running Windows.
void InitAppSettings(bool bSetAppINI, bool inAppFolder);

// "Vexilla   v1.0 " and friends: title, version (revision only from 1 on), stage text
// ("A" ALPHA, "B" BETA, else the stage itself), then "  - extra" when extra is given.
std::string VersionCaption(std::string_view stage, std::string_view extra);
std::string VersionCaption(std::string_view stage, std::string_view extra,
                           const VersionNumbers& version);

}  // namespace vx
