#include "common/AppState.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/OpSys.h"
#include "common/ReportHeaders.h"
#include "engine/BrandingSettings.h"
#include "engine/LogoCheck.h"
#include "engine/StepReport.h"
#include "ui/Editor.h"

namespace vx::ui {
namespace {

std::string InBrandingFolder(const std::string& name) { return State().brandingFolder + name; }
}  // namespace

EditorFields LoadFields() {
    using namespace engine::settings;
    EditorFields fields;
    Guarded(report::kLoadFields, [&] {
        fields.buttonName = engine::ReadSetting(kButtonName);
        fields.buttonTip = engine::ReadSetting(kButtonToolTip);
        fields.buttonAction = engine::ReadSetting(kButtonAction);
        fields.altAction = engine::ReadSetting(kButtonAltAction);
        fields.altActionName = engine::ReadSetting(kButtonAltName);
    });
    Guarded(report::kLoadFields, [&] {
        std::string icon = engine::ReadSetting(kButtonIcon);
        if (icon.empty()) {
            icon = engine::ReadSetting(kDropDesktopShortcutIcon);
        }
        if (!icon.empty() && DoesFileExist(InBrandingFolder(icon), false)) {
            fields.iconPreviewFile = InBrandingFolder(icon);
            fields.iconName = icon;
        }
    });
    Guarded(report::kLoadFields, [&] {
        if (DoesFileExist(InBrandingFolder(kLogoFile), false)) {
            fields.logoPreviewFile = InBrandingFolder(kLogoFile);
            const auto findings =
                engine::CheckLogo(engine::ReadFileForReport(fields.logoPreviewFile), IsVista());
            for (const std::string& warning : findings.warnings) {
                fields.logoWarning += (fields.logoWarning.empty() ? "" : "\r\n") + warning;
            }
        }
    });
    Guarded(report::kLoadFields, [&] {
        fields.dropDesktopShortcutURL = engine::ReadSetting(kShortcutUrl);
        fields.dropDesktopShortcutName = engine::ReadSetting(kShortcutName);
        fields.dropDesktopShortcutIcon = engine::ReadSetting(kShortcutIcon);
        fields.useIE = engine::ReadSetting(kUseIE) == "1";
    });
    Guarded(report::kLoadFields, [&] {
        if (DoesFileExist(State().settingsFilePath, false)) {
            fields.mfgr = engine::ReadSetting(kMfgr);
            fields.model = engine::ReadSetting(kModel);
            fields.phoneNumber = engine::ReadSetting(kPhone);
            fields.supportHours = engine::ReadSetting(kHours);
            fields.supportURL = engine::ReadSetting(kUrl);
            fields.supportProvider = engine::ReadSetting(kSupportProvider);
            fields.supportAppURL = engine::ReadSetting(kSupportAppUrl);
        }
    });
    Guarded(report::kLoadFields, [&] {
        if (DoesFileExist(InBrandingFolder(kSupportTextFile), false)) {
            LoadSupportText(fields);
        }
    });
    return fields;
}

void SaveFields(const EditorFields& fields) {
    using namespace engine::settings;
    const std::pair<engine::SettingKey, const std::string*> boxes[] = {
        {kMfgr, &fields.mfgr},
        {kModel, &fields.model},
        {kPhone, &fields.phoneNumber},
        {kHours, &fields.supportHours},
        {kUrl, &fields.supportURL},
        {kButtonName, &fields.buttonName},
        {kButtonToolTip, &fields.buttonTip},
        {kButtonAction, &fields.buttonAction},
        {kButtonAltAction, &fields.altAction},
        {kButtonAltName, &fields.altActionName},
        {kButtonIcon, &fields.iconName},
        {kShortcutUrl, &fields.dropDesktopShortcutURL},
        {kShortcutName, &fields.dropDesktopShortcutName},
        {kShortcutIcon, &fields.dropDesktopShortcutIcon},
    };
    // Named pairs, not structured bindings: clang 14 (the fuzz build) cannot capture those.
    for (const auto& box : boxes) {
        Guarded(report::kSaveFields, [&] { engine::WriteSetting(box.first, *box.second); });
    }
    Guarded(report::kSaveFields, [&] { engine::WriteSetting(kUseIE, fields.useIE ? "1" : "0"); });
    for (const auto& box : {std::pair{kSupportProvider, &fields.supportProvider},
                            std::pair{kSupportAppUrl, &fields.supportAppURL}}) {
        Guarded(report::kSaveFields, [&] {
            if (!box.second->empty() || !engine::ReadSetting(box.first).empty()) {
                engine::WriteSetting(box.first, *box.second);
            }
        });
    }
    SaveSupportText(fields);
}

}  // namespace vx::ui
