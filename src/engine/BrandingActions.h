#pragma once
// The branding actions. Each reads the settings file anew, reports every failed step on the
// diagnostic channel and goes on with the next; none returns a result. Each one that changes
// the system takes the factory backup first, unless there is one.

namespace vx::engine {

void ApplyBranding();        // "autobrand"
void RemoveBranding();       // "rem"
void DropDesktopShortcut();  // "desklnk"
// Puts the factory backup back and removes what Vexilla placed; see backup/FactoryBackup.h.
void RestoreFactoryBranding();  // "restore"

// The factory backup, unless there is one, with its failures trapped: before any change.
// A run that only verifies takes none.
void TakeFactoryBackup();

}  // namespace vx::engine
