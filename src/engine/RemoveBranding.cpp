#include "common/Guarded.h"
#include "common/OpSys.h"
#include "common/ReportHeaders.h"
#include "deletion/RegistryDelete.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSettings.h"
#include "engine/BrandingSteps.h"
#include "engine/DesktopShortcut.h"
#include "engine/OemLink.h"
#include "engine/SystemFiles.h"

namespace vx::engine {

void RemoveBranding() {
    TakeFactoryBackup();
    Guarded(report::kRemoveBranding, [] { DeleteSystemFile(System32File(settings::kLogoFile)); });
    Guarded(report::kRemoveBranding, [] {
        bool notFound = false;
        static_cast<void>(deletion::fDeleteKey("HKCR", "CLSID", kOemLinkClassId, notFound));
    });
    bool vista = false;
    Guarded(report::kRemoveBranding, [&] { vista = IsVista(); });
    if (vista) {
        // HelpCustomized stays: the key itself remains.
        for (const char* value :
             {"Logo", "Manufacturer", "SupportHours", "SupportPhone", "SupportURL", "Model"}) {
            Guarded(report::kRemoveBranding, [&] {
                bool notFound = false;
                static_cast<void>(
                    deletion::fDeleteValue("HKLM", kOemInformationKey, value, notFound));
            });
        }
    } else {
        Guarded(report::kRemoveBranding,
                [] { DeleteSystemFile(System32File(settings::kSupportTextFile)); });
    }
    RemoveDesktopShortcut();
}

}  // namespace vx::engine
