#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/OpSys.h"
#include "common/ReportHeaders.h"
#include "common/RunReport.h"
#include "deletion/RegistryDelete.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSettings.h"
#include "engine/BrandingSteps.h"
#include "engine/DesktopShortcut.h"
#include "engine/OemLink.h"
#include "engine/StepReport.h"
#include "engine/SystemFiles.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryPaths.h"

namespace vx::engine {
namespace {

void RemoveSystemFile(const std::string& path) {
    Guarded(report::kRemoveBranding, [&] {
        const bool present = DoesFileExist(path, false);
        DeleteSystemFile(path);
        if (!present) {
            ReportKept(path + " is absent");
        } else if (DoesFileExist(path, false)) {
            ReportFailed("delete " + path);
        } else {
            ReportChange("deleted " + path, "delete " + path, path + " exists");
        }
    });
}

// Whether the OEM link class is there, in the view its deletion uses.
bool LinkClassPresent() {
    std::string path = std::string("CLSID\\") + kOemLinkClassId;
    const std::uint32_t view = registry::ApplyViewRule(path);
    registry::RegistryKey key;
    return key.open(platform::kClassesRoot, path, platform::kKeyQueryValue | view) ==
           platform::kSuccess;
}

void RemoveLinkClass() {
    Guarded(report::kRemoveBranding, [] {
        const bool present = LinkClassPresent();
        bool notFound = false;
        const auto status = deletion::fDeleteKey("HKCR", "CLSID", kOemLinkClassId, notFound);
        const std::string where = std::string("HKCR\\CLSID\\") + kOemLinkClassId;
        // Judged by what is left: the last resort (reg.exe) may succeed where the calls failed.
        if (!present) {
            ReportKept("the OEM link class " + where + " is absent");
        } else if (LinkClassPresent()) {
            ReportFailed("delete the OEM link class " + where + " (error " + ToText(status) + ")");
        } else {
            ReportChange("deleted the OEM link class " + where,
                         "delete the OEM link class " + where, "the OEM link class exists");
        }
    });
}

void DeleteOemValue(const char* value, bool silentWhenAbsent) {
    Guarded(report::kRemoveBranding, [&] {
        const auto before = ValueForReport("HKLM", kOemInformationKey, value);
        if (!before && silentWhenAbsent) {
            return;
        }
        bool notFound = false;
        const auto status = deletion::fDeleteValue("HKLM", kOemInformationKey, value, notFound);
        ReportValueDeletion(value, before, status);
    });
}

}  // namespace

void RemoveBranding() {
    TakeFactoryBackup();
    RemoveSystemFile(System32File(settings::kLogoFile));
    RemoveLinkClass();
    bool vista = false;
    Guarded(report::kRemoveBranding, [&] { vista = IsVista(); });
    if (vista) {
        // HelpCustomized stays: the key itself remains.
        for (const char* value :
             {"Logo", "Manufacturer", "SupportHours", "SupportPhone", "SupportURL", "Model"}) {
            DeleteOemValue(value, false);
        }
        // Only Windows 10 and later read these, and only a kit that sets one removes it: a
        // vendor's own value stays when this kit never placed one.
        for (const auto* setting : {&settings::kSupportProvider, &settings::kSupportAppUrl}) {
            std::string wanted;
            Guarded(report::kRemoveBranding, [&] { wanted = ReadSetting(*setting); });
            if (!wanted.empty()) {
                DeleteOemValue(setting->name, true);
            }
        }
    } else {
        RemoveSystemFile(System32File(settings::kSupportTextFile));
    }
    RemoveDesktopShortcut();
}

}  // namespace vx::engine
