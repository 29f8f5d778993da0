#include "common/AppSettings.h"
#include "common/Guarded.h"
#include "common/OpSys.h"
#include "common/ProcessLaunch.h"
#include "common/ReportHeaders.h"
#include "common/Text.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSteps.h"
#include "platform/Platform.h"
#include "ui/Editor.h"

namespace vx::ui {
namespace {

void Tell(const char* text) {
    Guarded(report::kTell, [&] {
        static_cast<void>(platform::Current().userInterface().messageBox(
            text, kAppTitle, platform::MessageButtons::Ok));
    });
}

}  // namespace

std::string NormaliseSupportUrl(const std::string& url) {
    if (url.empty() || StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://")) {
        return url;
    }
    return "http://" + url;
}

void OpenSystemProperties() {
    Guarded(report::kOpenSystemProperties, [] {
        std::uint32_t exitCode = 0;
        if (IsVista()) {
            static_cast<void>(ShellX("control.exe", "/name Microsoft.System", false,
                                     platform::kShowNormal, exitCode));
        } else {
            static_cast<void>(ShellX("RUNDLL32.EXE", "shell32.dll,Control_RunDLL sysdm.cpl,,0",
                                     false, platform::kShowNormal, exitCode));
        }
    });
}

void RemoveBrandingFromEditor() {
    engine::RemoveBranding();
    OpenSystemProperties();
    Tell("Done");
}

void EditorApply(const EditorFields& fields) {
    engine::TakeFactoryBackup();
    engine::ReplaceSystemLogo();
    bool vista = false;
    Guarded(report::kEditorApply, [&] { vista = IsVista(); });
    if (vista) {
        engine::WriteOemInformation({fields.mfgr, fields.model, fields.phoneNumber,
                                     fields.supportHours, NormaliseSupportUrl(fields.supportURL)});
    } else {
        engine::InstallSupportText();
    }
    Tell("Done");
    OpenSystemProperties();
}

void EditorRegisterOemLink(const EditorFields& fields) {
    bool vista = true;
    Guarded(report::kEditorRegisterOemLink, [&] { vista = IsVista(); });
    if (vista) {
        return;
    }
    engine::TakeFactoryBackup();
    engine::WriteOemLink({fields.buttonName, fields.buttonTip, fields.buttonAction,
                          fields.altAction, fields.altActionName, fields.iconName},
                         engine::AlternatePlacement::AfterParam1);
}

void BrandNow(const EditorFields& fields) {
    SaveFields(fields);
    engine::RemoveBranding();
    EditorApply(fields);
    EditorRegisterOemLink(fields);
    if (!fields.dropDesktopShortcutURL.empty()) {
        int answer = platform::kAnswerNo;
        Guarded(report::kBrandNow, [&] {
            answer = platform::Current().userInterface().messageBox(
                "Drop a custom desktop shortcut?", kAppTitle, platform::MessageButtons::YesNo);
        });
        if (answer == platform::kAnswerYes) {
            engine::DropDesktopShortcut();
        }
    }
    OpenSystemProperties();
    Tell("Completed!");
}

}  // namespace vx::ui
