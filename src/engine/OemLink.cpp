#include "engine/OemLink.h"

#include "common/AppState.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/ReportHeaders.h"
#include "engine/BrandingSettings.h"
#include "engine/BrandingSteps.h"

namespace vx::engine {

void RegisterOemLink() {
    OemLinkValues values;
    bool settingsPresent = false;
    Guarded(report::kRegisterOemLink, [&] {
        settingsPresent = DoesFileExist(State().settingsFilePath, false);
        if (settingsPresent) {
            values = {
                ReadSetting(settings::kButtonName),    ReadSetting(settings::kButtonToolTip),
                ReadSetting(settings::kButtonAction),  ReadSetting(settings::kButtonAltAction),
                ReadSetting(settings::kButtonAltName), ReadSetting(settings::kButtonIcon)};
        }
    });
    if (settingsPresent) {
        WriteOemLink(values, AlternatePlacement::Last);
    }
}

}  // namespace vx::engine
