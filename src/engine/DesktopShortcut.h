#pragma once
// The support shortcut on the desktop every user sees: an Internet shortcut (.url) for the
// default browser, or a shell link (.lnk) that starts Internet Explorer. Dropping it is one
// of the branding actions (BrandingActions.h).

#include "engine/BrandingActions.h"

namespace vx::engine {

// Deletes the shortcut (both kinds) and its icon copy in the Windows folder.
void RemoveDesktopShortcut();
// Makes the desktop re-read its files.
void RefreshDesktop();

}  // namespace vx::engine
