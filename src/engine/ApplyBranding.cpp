#include "common/Guarded.h"
#include "common/OpSys.h"
#include "common/ReportHeaders.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSettings.h"
#include "engine/BrandingSteps.h"
#include "engine/OemLink.h"

namespace vx::engine {

void ApplyBranding() {
    if (!SettingsFilePresent(report::kApplyBranding, "apply branding")) {
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
        information.supportProvider = ReadSetting(settings::kSupportProvider);
        information.supportAppUrl = ReadSetting(settings::kSupportAppUrl);
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
