#include "common/AppState.h"
#include "common/FileTests.h"
#include "common/Guarded.h"
#include "common/ReportHeaders.h"
#include "engine/BrandingSettings.h"
#include "ui/Editor.h"

namespace vx::ui {
namespace {

std::string InBrandingFolder(const std::string& name) { return State().brandingFolder + name; }
}  // namespace

EditorFields LoadFields() {
    using namespace settings;
    EditorFields fields;
    Guarded(report::kLoadFields, [&] {
        fields.buttonName = Read(kButtonName);
        fields.buttonTip = Read(kButtonToolTip);
        fields.buttonAction = Read(kButtonAction);
        fields.altAction = Read(kButtonAltAction);
        fields.altActionName = Read(kButtonAltName);
    });
    Guarded(report::kLoadFields, [&] {
        std::string icon = Read(kButtonIcon);
        if (icon.empty()) {
            icon = Read(kDropDesktopShortcutIcon);
        }
        if (!icon.empty() && DoesFileExist(InBrandingFolder(icon), false)) {
            fields.iconPreviewFile = InBrandingFolder(icon);
            fields.iconName = icon;
        }
    });
    Guarded(report::kLoadFields, [&] {
        if (DoesFileExist(InBrandingFolder(kLogoFile), false)) {
            fields.logoPreviewFile = InBrandingFolder(kLogoFile);
        }
    });
    Guarded(report::kLoadFields, [&] {
        fields.dropDesktopShortcutURL = Read(kShortcutUrl);
        fields.dropDesktopShortcutName = Read(kShortcutName);
        fields.dropDesktopShortcutIcon = Read(kShortcutIcon);
        fields.useIE = Read(kUseIE) == "1";
    });
    Guarded(report::kLoadFields, [&] {
        if (DoesFileExist(State().settingsFilePath, false)) {
            fields.mfgr = Read(kMfgr);
            fields.model = Read(kModel);
            fields.phoneNumber = Read(kPhone);
            fields.supportHours = Read(kHours);
            fields.supportURL = Read(kUrl);
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
    using namespace settings;
    const std::pair<Key, const std::string*> boxes[] = {
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
    for (const auto& [key, text] : boxes) {
        Guarded(report::kSaveFields, [&] { Write(key, *text); });
    }
    Guarded(report::kSaveFields, [&] { Write(kUseIE, fields.useIE ? "1" : "0"); });
    SaveSupportText(fields);
}

}  // namespace vx::ui
