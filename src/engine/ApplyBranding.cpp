#include "common/AppState.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/OpSys.h"
#include "common/ReportHeaders.h"
#include "common/RunReport.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSettings.h"
#include "engine/BrandingSteps.h"
#include "engine/OemLink.h"

namespace vx::engine {

void ApplyBranding() {
    bool settingsPresent = false;
    Guarded(report::kApplyBranding,
            [&] { settingsPresent = DoesFileExist(State().settingsFilePath, false); });
    if (!settingsPresent) {
        Tally().settingsMissing = true;
        ReportSkipped("apply branding: the settings file " + State().settingsFilePath +
                      " is missing; nothing was applied");
        return;
    }
    TakeFactoryBackup();
    OemInformation information;
    Guarded(report::kApplyBranding, [&] {
        information.model = ReadSetting(settings::kModel);
        information.url = ReadSetting(settings::kUrl);
        information.manufacturer = ReadSetting(settings::kMfgr);
        information.hours = ReadSetting(settings::kHours);
        information.phone = ReadSetting(settings::kPhone);
    });
    ReplaceSystemLogo();
    bool vista = false;
    Guarded(report::kApplyBranding, [&] { vista = IsVista(); });
    if (vista) {
        WriteOemInformation(information);
        return;
    }
    InstallSupportText();
    RegisterOemLink();
}

}  // namespace vx::engine
