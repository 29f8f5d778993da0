#include "backup/FactoryBackup.h"
#include "common/Guarded.h"
#include "common/ReportHeaders.h"
#include "common/RunReport.h"
#include "engine/BrandingActions.h"
#include "engine/DesktopShortcut.h"

namespace vx::engine {

void TakeFactoryBackup() {
    if (CurrentRunMode() != RunMode::Verify) {
        Guarded(report::kFactoryBackup, backup::EnsureFactoryBackup);
    }
}

void RestoreFactoryBranding() {
    bool restored = false;
    Guarded(report::kRestoreFactoryBranding,
            [&] { restored = backup::RestoreFactoryState() == backup::RestoreOutcome::Restored; });
    if (restored) {
        RefreshDesktop();
    }
}

}  // namespace vx::engine
