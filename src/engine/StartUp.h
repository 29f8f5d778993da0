#pragma once
// The program's start: settings and branding folder, the launch password, then either the
// command-line switches, headless, or the editor window.

#include <functional>
#include <string>

namespace vx::engine {

// The actions a switch can start; the real ones unless a test says otherwise.
struct BrandingActions {
    std::function<void()> applyBranding;        // "autobrand"
    std::function<void()> removeBranding;       // "rem"
    std::function<void()> dropDesktopShortcut;  // "desklnk"
    std::function<void()> restoreFactory;       // "restore"
};
BrandingActions DefaultActions();

// Creates and shows the editor window, modeless; supplied by the Windows front end.
using EditorLauncher = std::function<void()>;

void Main(const EditorLauncher& showEditor);
void Main(const EditorLauncher& showEditor, const BrandingActions& actions);

// The command line after the program's name: switches run headless; without any, the
// editor window opens.
void CommandLineDispatch(const EditorLauncher& showEditor, const BrandingActions& actions);
// "/" counts as "-"; the text is split at every "-"; each piece, lower-cased and trimmed of
// spaces, runs its action when it is exactly a switch name. Unknown pieces are ignored.
void RunSwitches(const std::string& commandLine, const BrandingActions& actions);

// True when the toolkit asks for a launch password and the answer does not match.
bool LaunchPasswordRefused();

// The icon file the editor shows instead of its own, or "" for the built-in icon "a1".
std::string AlternateAppIconFile();

}  // namespace vx::engine
