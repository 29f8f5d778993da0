#include "common/Guarded.h"
#include "common/OpSys.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSettings.h"
#include "engine/BrandingSteps.h"
#include "engine/DesktopShortcut.h"
#include "engine/OemLink.h"
#include "engine/SystemFiles.h"
#include "registry/RegistryDelete.h"

namespace vx::engine {
namespace {
constexpr const char* kError = "modBranding\\RemoveBranding VB ERROR: ";
}  // namespace

void RemoveBranding() {
    Guarded(kError, [] { DeleteSystemFile(System32File(settings::kLogoFile)); });
    Guarded(kError, [] {
        bool notFound = false;
        static_cast<void>(fDeleteKey("HKCR", "CLSID", kOemLinkClassId, notFound));
    });
    bool vista = false;
    Guarded(kError, [&] { vista = IsVista(); });
    if (vista) {
        // HelpCustomized stays: the key itself remains.
        for (const char* value :
             {"Logo", "Manufacturer", "SupportHours", "SupportPhone", "SupportURL", "Model"}) {
            Guarded(kError, [&] {
                bool notFound = false;
                static_cast<void>(fDeleteValue("HKLM", kOemInformationKey, value, notFound));
            });
        }
    } else {
        Guarded(kError, [] { DeleteSystemFile(System32File(settings::kSupportTextFile)); });
    }
    RemoveDesktopShortcut();
}

}  // namespace vx::engine
