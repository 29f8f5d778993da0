// A headless run: the switches of the command line, its report and its exit code.

#include <algorithm>

#include "common/DebugLog.h"
#include "common/Guarded.h"
#include "common/ReportHeaders.h"
#include "common/RunReport.h"
#include "common/Text.h"
#include "common/Version.h"
#include "engine/BrandingActions.h"
#include "engine/CommandLine.h"
#include "engine/StartUp.h"
#include "platform/Platform.h"
#include "platform/plan/PlanPlatform.h"

namespace vx::engine {
namespace {

const std::function<void()>& ActionOf(const BrandingActions& actions, Switch which) {
    static const std::function<void()> kNone;
    switch (which) {
    case Switch::ApplyBranding: return actions.applyBranding;
    case Switch::RemoveBranding: return actions.removeBranding;
    case Switch::DesktopShortcut: return actions.dropDesktopShortcut;
    case Switch::RestoreFactory: return actions.restoreFactory;
    default: return kNone;
    }
}

void RunAction(const std::function<void()>& action) {
    if (action) {
        Guarded(report::kGetCmdLine, action);
    }
}

// Appends each line to the log file, through the system itself even while a plan records
// the other writes. Nothing when the file cannot be written (the report says why).
ReportWriter LogFileWriter(const std::string& path) {
    platform::Platform& system = platform::Current();
    const auto append = [&system, path](const std::string& line) {
        return system.files().writeFile(path, line + "\r\n", true);
    };
    const std::string first = "---- " + system.environment().localDateTimeText();
    if (const auto status = append(first); status != platform::kSuccess) {
        DPrint("GetCmdLine: the log file " + path + " cannot be written (" + ToText(status) + ")");
        ReportSkipped("the log file " + path + " cannot be written (error " + ToText(status) + ")");
        return {};
    }
    return [append](const std::string& line) { static_cast<void>(append(line)); };
}

// The switches that run an action of their own; plan and verify change how they run.
bool IsAction(Switch which) { return which != Switch::Plan && which != Switch::Verify; }

bool Has(const SwitchList& list, Switch which) {
    return std::find(list.switches.begin(), list.switches.end(), which) != list.switches.end();
}

// What one headless command line does, once the report is set up.
ExitCode RunParsed(const SwitchList& list, const BrandingActions& actions) {
    const bool plan = Has(list, Switch::Plan);
    const bool verify = Has(list, Switch::Verify);
    const bool anyAction =
        verify || std::any_of(list.switches.begin(), list.switches.end(), IsAction);
    if (!anyAction) {
        ReportLine("nothing to do: the command line names no switch (autobrand, rem, desklnk, "
                   "restore, verify)");
        return ExitCode::NoSwitch;
    }
    if (verify) {
        // The system is compared with what "autobrand" (and "desklnk" when asked) would make.
        SetRunMode(RunMode::Verify);
        for (Switch which : list.switches) {
            if (which == Switch::RemoveBranding || which == Switch::RestoreFactory) {
                ReportSkipped(std::string("/") + SwitchName(which) + " is not run by /verify");
            }
        }
        actions.withoutChanges([&] {
            ReportLine("/autobrand (verify: nothing is changed)");
            RunAction(actions.applyBranding);
            if (Has(list, Switch::DesktopShortcut)) {
                ReportLine("/desklnk (verify: nothing is changed)");
                RunAction(actions.dropDesktopShortcut);
            }
        });
        return ExitCodeOf(Tally());
    }
    const auto runAll = [&] {
        for (Switch which : list.switches) {
            if (IsAction(which)) {
                ReportLine(std::string("/") + SwitchName(which) +
                           (plan ? " (plan: nothing is changed)" : ""));
                RunAction(ActionOf(actions, which));
            }
        }
    };
    if (plan) {
        SetRunMode(RunMode::Plan);
        actions.withoutChanges(runAll);
    } else {
        runAll();
    }
    return ExitCodeOf(Tally());
}

}  // namespace

BrandingActions DefaultActions() {
    return {ApplyBranding, RemoveBranding, DropDesktopShortcut, RestoreFactoryBranding,
            [](const std::function<void()>& work) {
                // Reads reach the system; every change is recorded over it and never made.
                platform::plan::PlanPlatform layer(platform::Current());
                const platform::ScopedInstall installed(layer);
                work();
            }};
}

const char* ExitCodeMeaning(ExitCode code) {
    switch (code) {
    case ExitCode::Success: return "every step did its work or had nothing to do";
    case ExitCode::StepFailed: return "a step failed";
    case ExitCode::SettingsMissing: return "the settings file is missing";
    case ExitCode::VerifyDifferences: return "the system differs from the kit";
    case ExitCode::NoFactoryBackup: return "there is no factory backup to restore";
    case ExitCode::LaunchRefused: return "the launch password was refused";
    case ExitCode::NoSwitch: return "no switch was recognised";
    case ExitCode::InternalFault: return "an internal fault of the program";
    }
    return "";
}

ExitCode RunSwitches(const std::string& commandLine, const BrandingActions& actions,
                     const ReportWriter& console) {
    ResetRunReport();
    if (console) {
        AddReportWriter(console);
    }
    const LogOption option = ExtractLogOption(commandLine);
    if (option.logPath) {
        if (auto writer = LogFileWriter(*option.logPath)) {
            AddReportWriter(std::move(writer));
        }
    }
    ReportLine(RunHeading(commandLine));
    if (option.missingPath) {
        ReportSkipped("/log needs a path after it");
    }
    const SwitchList list = ParseSwitches(option.switches);
    for (const auto& piece : list.unrecognised) {
        ReportSkipped(Quoted(piece) + " is not a switch");
    }
    ExitCode code = ExitCode::InternalFault;
    try {
        code = RunParsed(list, actions);
    } catch (...) {
        ReportError(report::kGetCmdLine, CurrentError());
    }
    ReportLine(std::string("exit code ") + ToText(static_cast<int>(code)) + ": " +
               ExitCodeMeaning(code));
    SetRunMode(RunMode::Change);
    RemoveReportWriters();
    return code;
}

}  // namespace vx::engine
