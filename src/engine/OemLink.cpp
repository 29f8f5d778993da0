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
            values = {settings::Read(settings::kButtonName),
                      settings::Read(settings::kButtonToolTip),
                      settings::Read(settings::kButtonAction),
                      settings::Read(settings::kButtonAltAction),
                      settings::Read(settings::kButtonAltName),
                      settings::Read(settings::kButtonIcon)};
        }
    });
    if (settingsPresent) {
        WriteOemLink(values, AlternatePlacement::Last);
    }
}

}  // namespace vx::engine
