#pragma once
// The exit code of a run, the one thing a task sequence, an Intune app or a start-up script
// reads. docs/deployment.md has the same table; the numbers never change meaning.

#include "common/RunReport.h"

namespace vx::engine {

enum class ExitCode : int {
    Success = 0,             // every step did its work or had nothing to do; the editor closed
    StepFailed = 1,          // a value, file, shortcut or the factory backup could not be made
    SettingsMissing = 2,     // no settings file: nothing was applied or checked
    VerifyDifferences = 3,   // /verify found the system not as the kit gives it
    NoFactoryBackup = 4,     // /restore found no factory backup; nothing changed
    LaunchRefused = 5,       // the launch password was refused
    NoSwitch = 6,            // a command line without any switch that runs something
    InternalFault = 7,       // a fault of the program itself (an exception nothing trapped)
};

// The code for what a headless run tallied; a failed step outweighs everything else.
inline ExitCode ExitCodeOf(const RunTally& tally) {
    if (tally.failures > 0) return ExitCode::StepFailed;
    if (tally.settingsMissing) return ExitCode::SettingsMissing;
    if (tally.noFactoryBackup) return ExitCode::NoFactoryBackup;
    if (tally.differences > 0) return ExitCode::VerifyDifferences;
    return ExitCode::Success;
}

// One line for the report: "0: every step did its work or had nothing to do".
const char* ExitCodeMeaning(ExitCode code);

}  // namespace vx::engine
