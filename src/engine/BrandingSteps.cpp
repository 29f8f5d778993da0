#include "engine/BrandingSteps.h"

#include "common/AppState.h"
#include "common/DebugLog.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/OpSys.h"
#include "common/ProcessLaunch.h"
#include "common/ReportHeaders.h"
#include "common/RunReport.h"
#include "common/SystemFolders.h"
#include "common/Text.h"
#include "deletion/RegistryDelete.h"
#include "engine/BrandingSettings.h"
#include "engine/LogoCheck.h"
#include "engine/OemLink.h"
#include "engine/StepReport.h"
#include "engine/SystemFiles.h"
#include "platform/Platform.h"
#include "registry/RegistryValues.h"

namespace vx::engine {
namespace {

// The value as the report shows it: strings in double quotes, numbers as they are.
std::string Shown(const registry::RegValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return Quoted(*text);
    }
    return registry::ToText(value);
}

// Writes one value and reports it under `shownName`.
void WriteReportedValue(const char* header, const std::string& shownName, const char* topKey,
                        const std::string& keyPath, const std::string& valueName, const char* type,
                        const registry::RegValue& value) {
    Guarded(header, [&] {
        const auto before = ValueForReport(topKey, keyPath, valueName);
        const auto status = registry::fWriteValue(topKey, keyPath, valueName, type, value);
        ReportValueWrite(shownName, before, Shown(value), status);
    });
}

// Verifying: a copy in the 32-bit view (Wow6432Node) that differs from what the kit gives is
// the classic mark of a 32-bit script that branded the wrong view. Elsewhere it is left alone.
void CheckRedirectedCopy(const char* name, const std::optional<std::string>& wanted) {
    if (CurrentRunMode() != RunMode::Verify) {
        return;
    }
    const auto copy = RedirectedValueForReport("HKLM", kOemInformationKey, name);
    if (copy && copy != wanted) {
        ReportChange("", "",
                     std::string("the 32-bit view (Wow6432Node) holds ") + name + " = " + *copy +
                         ", the kit gives " + wanted.value_or("none"));
    }
}

void WriteOemValue(const char* name, const char* type, const registry::RegValue& value) {
    WriteReportedValue(report::kApplyBranding, name, "HKLM", kOemInformationKey, name, type, value);
    CheckRedirectedCopy(name, Shown(value));
}

// The Get Help app of Windows 10 and later reads these two; earlier Windows shows
// neither, and a kit that does not set one writes nothing for it.
void WriteWindows10Values(const OemInformation& information) {
    if (information.supportProvider.empty() && information.supportAppUrl.empty()) {
        return;
    }
    bool windows10 = false;
    Guarded(report::kApplyBranding, [&] { windows10 = IsWindows10OrLater(); });
    if (!windows10) {
        DPrint(
            "modBranding\\ApplyBranding: SupportProvider and SupportAppURL are read by Windows 10 "
            "and later only; not written");
        ReportSkipped("SupportProvider and SupportAppURL: Windows 10 and later only");
        return;
    }
    if (!information.supportProvider.empty()) {
        WriteOemValue("SupportProvider", "S", information.supportProvider);
    }
    if (!information.supportAppUrl.empty()) {
        WriteOemValue("SupportAppURL", "S", information.supportAppUrl);
    }
}

// Shown as "OEM link\Instance\InitPropertyBag\Param1", "OEM link\DefaultIcon\(default)".
void WriteLinkValue(const std::string& suffix, const std::string& valueName, const char* type,
                    const registry::RegValue& value) {
    WriteReportedValue(report::kRegisterOemLink,
                       "OEM link" + suffix + "\\" + (valueName.empty() ? "(default)" : valueName),
                       "HKCR", std::string("CLSID\\") + kOemLinkClassId + suffix, valueName, type,
                       value);
}

void WriteLinkText(const std::string& suffix, const std::string& valueName,
                   const std::string& text) {
    WriteLinkValue(suffix, valueName, "S", text);
}

// Copies a kit file over a system file; when the two are already byte-identical it only says
// so and copies nothing.
void CopyKitFile(const std::string& name, const std::string& destination,
                 const std::optional<std::string>& kitBytes,
                 const std::optional<std::string>& systemBytes) {
    const std::string source = State().brandingFolder + name;
    if (kitBytes && systemBytes == kitBytes) {
        ReportKept(destination + " is the kit's " + name + " (" + ByteCount(kitBytes->size()) + ")");
        return;
    }
    std::string copy = name + " -> " + destination;
    if (kitBytes) {
        copy += " (" + ByteCount(kitBytes->size()) + (systemBytes ? ", replacing a different file)" : ")");
    }
    const std::string differs = systemBytes ? destination + " is not the kit's " + name
                                            : destination + " is missing (the kit has " + name + ")";
    if (!CopyFileSilently(source, destination)) {
        ReportFailed("copy " + copy);
        return;
    }
    ReportChange("copied " + copy, "copy " + copy, differs);
}
}  // namespace

void ReplaceSystemLogo() {
    const std::string logo = System32File(settings::kLogoFile);
    const std::string source = State().brandingFolder + settings::kLogoFile;
    std::optional<std::string> kitLogo, systemLogo;
    bool present = false;
    bool kitHasLogo = false;
    Guarded(report::kApplyBranding, [&] {
        present = DoesFileExist(logo, false);
        kitHasLogo = DoesFileExist(source, false);
        if (kitHasLogo) {
            kitLogo = ReadFileForReport(source);
        }
        if (present) {
            systemLogo = ReadFileForReport(logo);
        }
    });
    if (kitHasLogo) {
        Guarded(report::kApplyBranding, [&] { ReportLogoFindings(CheckLogo(kitLogo, IsVista())); });
    }
    // Re-applying the same logo leaves it alone: no deletion, no pause, no copy.
    if (present && kitLogo && systemLogo == kitLogo) {
        ReportKept(logo + " is the kit's " + settings::kLogoFile + " (" +
                   ByteCount(kitLogo->size()) + ")");
        return;
    }
    Guarded(report::kApplyBranding, [&] {
        if (present && !kitLogo) {
            ReportChange("deleted " + logo + ": the kit has no " + settings::kLogoFile,
                         "delete " + logo + ": the kit has no " + settings::kLogoFile,
                         logo + " exists, the kit has no " + settings::kLogoFile);
        }
        if (present) {
            DeleteSystemFile(logo);
            Delay(2);
        }
    });
    Guarded(report::kApplyBranding, [&] {
        if (DoesFileExist(source, false)) {
            CopyKitFile(settings::kLogoFile, logo, kitLogo, systemLogo);
        } else if (!present) {
            ReportKept(logo + " is absent: the kit has no " + std::string(settings::kLogoFile));
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
    WriteWindows10Values(information);
    if (!information.model.empty()) {
        WriteOemValue("Model", "S", information.model);
        return;
    }
    Guarded(report::kApplyBranding, [&] {
        const auto before = ValueForReport("HKLM", kOemInformationKey, "Model");
        bool notFound = false;
        const auto status =
            deletion::fDeleteValue("HKLM", kOemInformationKey, "Model", notFound);
        ReportValueDeletion("Model", before, status);
    });
    CheckRedirectedCopy("Model", std::nullopt);
}

void InstallSupportText() {
    Guarded(report::kApplyBranding, [] {
        const std::string source = State().brandingFolder + settings::kSupportTextFile;
        if (!DoesFileExist(source, false)) {
            ReportSkipped("the kit has no " + std::string(settings::kSupportTextFile));
            return;
        }
        const std::string destination = System32File(settings::kSupportTextFile);
        const auto kitText = ReadFileForReport(source);
        const auto systemText = ReadFileForReport(destination);
        CopyKitFile(settings::kSupportTextFile, destination, kitText, systemText);
        if (kitText && systemText == kitText && CurrentRunMode() == RunMode::Change) {
            // Copied on every run, as it always was, though nothing changes.
            static_cast<void>(CopyFileSilently(source, destination));
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
        if (const auto place = KitIconPlace("ButtonIcon", values.icon)) {
            WriteLinkText("\\DefaultIcon", "", *place);
            PlaceFile(State().brandingFolder + values.icon, *place);
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
