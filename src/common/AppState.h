#pragma once
// Process-wide state shared by the start-up code and the services. One thread owns it.

#include <cstdint>
#include <string>

namespace vx {

struct AppState {
    std::string settingsFilePath;  // the active settings file
    std::string brandingFolder;    // ends in "\"
    bool sidebarThemesDisabled = false;
    std::string systemDrive;

    bool redirectionControlAllowed = false;
    bool redirectionDisabled = false;
    // True only while the system itself has redirection switched off for us, so that a
    // failed disable is never "reverted" with a value the system did not hand out.
    bool redirectionSwitchedOff = false;
    std::uintptr_t savedRedirection = 0;
};

AppState& State();
// Back to the start-of-process values (tests start from here).
void ResetState();

}  // namespace vx
