#pragma once
// The branding actions. Each reads the settings file anew, reports every failed step on the
// diagnostic channel and goes on with the next; none returns a result.

namespace vx::engine {

void ApplyBranding();        // "autobrand"
void RemoveBranding();       // "rem"
void DropDesktopShortcut();  // "desklnk"

}  // namespace vx::engine
