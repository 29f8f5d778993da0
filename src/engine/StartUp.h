#pragma once
// The program's start: settings and branding folder, the launch password, then either the
// command-line switches, headless, or the editor window.

#include <functional>
#include <string>

#include "common/RunReport.h"
#include "engine/ExitCodes.h"

namespace vx::engine {

// The actions a switch can start; the real ones unless a test says otherwise.
struct BrandingActions {
    std::function<void()> applyBranding;        // "autobrand"
    std::function<void()> removeBranding;       // "rem"
    std::function<void()> dropDesktopShortcut;  // "desklnk"
    std::function<void()> restoreFactory;       // "restore"
    // Runs `work` over a layer that records every change instead of making it ("plan",
    // "verify"); the system stays exactly as it is.
    std::function<void(const std::function<void()>& work)> withoutChanges;
};
BrandingActions DefaultActions();

// Creates and shows the editor window, modeless; supplied by the Windows front end.
using EditorLauncher = std::function<void()>;

// The program's start; the result is the process's exit code. `console` receives the report of
// a headless run (the parent's console, when there is one).
int Main(const EditorLauncher& showEditor, const ReportWriter& console);
int Main(const EditorLauncher& showEditor, const BrandingActions& actions,
         const ReportWriter& console = {});

// The command line after the program's name: switches run headless; without any, the
// editor window opens (and the result is Success).
ExitCode CommandLineDispatch(const EditorLauncher& showEditor, const BrandingActions& actions,
                             const ReportWriter& console);
// A headless run. "/log <path>" is taken out first (see engine/CommandLine.h); then "/" counts
// as "-", the text is split at every "-" and each piece, lower-cased and trimmed of spaces,
// runs its action when it is exactly a switch name. "plan" walks the other switches through
// without changing anything; "verify" checks what "autobrand" (and "desklnk" when it is on
// the line) would make, changing nothing. The report goes to `console` and the log file.
ExitCode RunSwitches(const std::string& commandLine, const BrandingActions& actions,
                     const ReportWriter& console = {});

// True when the toolkit asks for a launch password and the answer does not match.
bool LaunchPasswordRefused();

// The icon file the editor shows instead of its own, or "" for the built-in icon "a1".
std::string AlternateAppIconFile();

}  // namespace vx::engine
