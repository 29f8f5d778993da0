#include "engine/BrandingSteps.h"

#include "common/AppState.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/ProcessLaunch.h"
#include "common/ReportHeaders.h"
#include "common/SystemFolders.h"
#include "common/Text.h"
#include "deletion/RegistryDelete.h"
#include "engine/BrandingSettings.h"
#include "engine/OemLink.h"
#include "engine/SafeNames.h"
#include "engine/SystemFiles.h"
#include "platform/Platform.h"
#include "registry/RegistryValues.h"

namespace vx::engine {
namespace {

void WriteOemValue(const char* name, const char* type, const registry::RegValue& value) {
    Guarded(report::kApplyBranding, [&] {
        static_cast<void>(registry::fWriteValue("HKLM", kOemInformationKey, name, type, value));
    });
}

void WriteLinkValue(const std::string& suffix, const std::string& valueName, const char* type,
                    const registry::RegValue& value) {
    Guarded(report::kRegisterOemLink, [&] {
        static_cast<void>(registry::fWriteValue(
            "HKCR", std::string("CLSID\\") + kOemLinkClassId + suffix, valueName, type, value));
    });
}

void WriteLinkText(const std::string& suffix, const std::string& valueName,
                   const std::string& text) {
    WriteLinkValue(suffix, valueName, "S", text);
}

}  // namespace

void ReplaceSystemLogo() {
    const std::string logo = System32File(settings::kLogoFile);
    Guarded(report::kApplyBranding, [&] {
        if (DoesFileExist(logo, false)) {
            DeleteSystemFile(logo);
            Delay(2);
        }
    });
    Guarded(report::kApplyBranding, [&] {
        const std::string source = State().brandingFolder + settings::kLogoFile;
        if (DoesFileExist(source, false)) {
            static_cast<void>(CopyFileSilently(source, logo));
        }
    });
}

void WriteOemInformation(const OemInformation& information) {
    WriteOemValue("HelpCustomized", "D", std::int32_t{0});
    // The logo path is written whether or not a logo was copied.
    WriteOemValue("Logo", "S", System32File(settings::kLogoFile));
    WriteOemValue("Manufacturer", "S", information.manufacturer);
    WriteOemValue("SupportHours", "S", information.hours);
    WriteOemValue("SupportPhone", "S", information.phone);
    WriteOemValue("SupportURL", "S", information.url);
    if (!information.model.empty()) {
        WriteOemValue("Model", "S", information.model);
        return;
    }
    Guarded(report::kApplyBranding, [&] {
        bool notFound = false;
        static_cast<void>(deletion::fDeleteValue("HKLM", kOemInformationKey, "Model", notFound));
    });
}

void InstallSupportText() {
    Guarded(report::kApplyBranding, [] {
        const std::string source = State().brandingFolder + settings::kSupportTextFile;
        if (DoesFileExist(source, false)) {
            static_cast<void>(CopyFileSilently(source, System32File(settings::kSupportTextFile)));
        }
    });
}

void WriteOemLink(const OemLinkValues& values, AlternatePlacement placement) {
    if (values.name.empty() || values.action.empty()) {
        return;
    }
    const bool alternates = !values.altAction.empty() && !values.altName.empty();
    const auto writeAlternates = [&] {
        WriteLinkText("\\Instance\\InitPropertyBag", "properties", values.altAction);
        WriteLinkText("\\Instance\\InitPropertyBag", "propertiestext", values.altName);
    };

    WriteLinkText("\\DefaultIcon", "",
                  EndsWithNoCase(values.action, "exe") ? values.action + ",0"
                                                       : System32File("shell32.dll") + ",-24");
    Guarded(report::kRegisterOemLink, [&] {
        if (!values.icon.empty() && AcceptFileName("ButtonIcon", values.icon) &&
            DoesFileExist(State().brandingFolder + values.icon, false)) {
            WriteLinkText("\\DefaultIcon", "", WindowsFolderFile(values.icon));
            PlaceFile(State().brandingFolder + values.icon, WindowsFolderFile(values.icon));
        }
    });
    WriteLinkText("", "", values.name);
    WriteLinkText("", "LocalizedString", values.name);
    WriteLinkText("", "InfoTip", values.toolTip);
    WriteLinkText("\\Instance\\InitPropertyBag", "CLSID", "{13709620-C279-11CE-A49E-444553540000}");
    WriteLinkText("\\Instance\\InitPropertyBag", "method", "ShellExecute");
    WriteLinkText("\\Instance\\InitPropertyBag", "Command", values.name);
    WriteLinkText("\\Instance\\InitPropertyBag", "Param1", values.action);
    if (alternates && placement == AlternatePlacement::AfterParam1) {
        writeAlternates();
    }
    WriteLinkText("\\Instance", "CLSID", "{3f454f0e-42ae-4d7c-8ea3-328250d6e272}");
    WriteLinkValue("\\ShellFolder", "Attributes", "D", std::int32_t{0});
    WriteLinkText(std::string("\\shellex\\ContextMenuHandlers\\") + kOemLinkClassId, "", "");
    WriteLinkText("\\shellex\\MayChangeDefaultMenu", "", "");
    WriteLinkValue("\\InProcServer32", "", "E", std::string("%SystemRoot%\\system32\\shdocvw.dll"));
    WriteLinkText("\\InProcServer32", "ThreadingModel", "Apartment");
    if (alternates && placement == AlternatePlacement::Last) {
        writeAlternates();
    }
}

}  // namespace vx::engine
