#include "common/AppState.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/OpSys.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSettings.h"
#include "engine/BrandingSteps.h"
#include "engine/OemLink.h"

namespace vx::engine {

void ApplyBranding() {
    constexpr const char* kError = "modBranding\\ApplyBranding VB ERROR: ";
    bool settingsPresent = false;
    Guarded(kError, [&] { settingsPresent = DoesFileExist(State().settingsFilePath, false); });
    if (!settingsPresent) {
        return;
    }
    OemInformation information;
    Guarded(kError, [&] {
        information.model = settings::Read(settings::kModel);
        information.url = settings::Read(settings::kUrl);
        information.manufacturer = settings::Read(settings::kMfgr);
        information.hours = settings::Read(settings::kHours);
        information.phone = settings::Read(settings::kPhone);
    });
    ReplaceSystemLogo();
    bool vista = false;
    Guarded(kError, [&] { vista = IsVista(); });
    if (vista) {
        WriteOemInformation(information);
        return;
    }
    InstallSupportText();
    RegisterOemLink();
}

}  // namespace vx::engine
