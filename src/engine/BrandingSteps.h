#pragma once
// The steps that applying branding shares with the editor's "Vexilla Now": each traps its
// own failures, reports them and returns.

#include <string>

#include "backup/BrandingPlaces.h"

namespace vx::engine {

using backup::kOemInformationKey;

struct OemInformation {
    std::string manufacturer;
    std::string model;  // empty: an older Model value is deleted
    std::string phone;
    std::string hours;
    std::string url;
    // Windows 10 and later, each only when set.
    std::string supportProvider;
    std::string supportAppUrl;
};

struct OemLinkValues {
    std::string name;
    std::string toolTip;
    std::string action;
    std::string altAction;
    std::string altName;
    std::string icon;  // a file name in the branding folder, or ""
};

// Where the alternate action of the OEM link is written: last (start-up switch) or right after
// Param1 (the editor).
enum class AlternatePlacement { Last, AfterParam1 };

// Deletes an old system logo (then waits 2 seconds) and copies the branding folder's logo.
void ReplaceSystemLogo();
// The seven values under the OEM information key, in the 64-bit view; on Windows 10 and later
// also SupportProvider and SupportAppURL, each when it is set.
void WriteOemInformation(const OemInformation& information);
// Copies the branding folder's oeminfo.ini into the system folder, when there is one.
void InstallSupportText();
// Writes the OEM link class; nothing without a name or an action.
void WriteOemLink(const OemLinkValues& values, AlternatePlacement placement);

}  // namespace vx::engine
