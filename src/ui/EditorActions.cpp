#include <string_view>

#include "common/AppSettings.h"
#include "common/Guarded.h"
#include "common/OpSys.h"
#include "common/ProcessLaunch.h"
#include "common/ReportHeaders.h"
#include "engine/BrandingActions.h"
#include "engine/BrandingSteps.h"
#include "platform/Platform.h"
#include "ui/Editor.h"

namespace vx::ui {
namespace {

constexpr const char* kRestoreQuestion =
    "Restore the factory branding that Vexilla recorded before its first change, and remove "
    "what Vexilla placed?";

// A message box with the window's title; the button pressed, No when the box could not be shown.
int Tell(const char* text, platform::MessageButtons buttons = platform::MessageButtons::Ok) {
    int answer = platform::kAnswerNo;
    Guarded(report::kTell, [&] {
        answer = platform::Current().userInterface().messageBox(text, kAppTitle, buttons);
    });
    return answer;
}

// "scheme:" as RFC 3986 writes it: a letter, then letters, digits, "+", "-" or ".". A name
// followed by a port ("localhost:8080", "www.example.com:8080/help") is a host, not a scheme.
bool HasScheme(std::string_view url) {
    const auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (url.empty() || !isAlpha(url.front())) {
        return false;
    }
    const auto isSchemeChar = [&](char c) {
        return isAlpha(c) || isDigit(c) || c == '+' || c == '-' || c == '.';
    };
    std::size_t colon = 1;
    while (colon < url.size() && isSchemeChar(url[colon])) {
        ++colon;
    }
    if (colon == url.size() || url[colon] != ':') {
        return false;
    }
    constexpr std::size_t kLongestPort = 5;
    std::size_t end = colon + 1;
    while (end < url.size() && isDigit(url[end])) {
        ++end;
    }
    const std::size_t digits = end - colon - 1;
    const bool port = digits >= 1 && digits <= kLongestPort &&
                      (end == url.size() || url[end] == '/' || url[end] == '?' || url[end] == '#');
    return !port;
}

}  // namespace

std::string NormaliseSupportUrl(const std::string& url) {
    constexpr std::string_view kBlanks = " \t";
    const std::size_t first = url.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return {};
    }
    const std::string trimmed = url.substr(first, url.find_last_not_of(kBlanks) - first + 1);
    return HasScheme(trimmed) ? trimmed : "http://" + trimmed;
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

void RestoreFactoryBrandingFromEditor() {
    if (Tell(kRestoreQuestion, platform::MessageButtons::YesNo) != platform::kAnswerYes) {
        return;
    }
    engine::RestoreFactoryBranding();
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
                                     fields.supportHours, NormaliseSupportUrl(fields.supportURL),
                                     fields.supportProvider, fields.supportAppURL});
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
