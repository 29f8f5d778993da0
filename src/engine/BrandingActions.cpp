#include "engine/BrandingActions.h"

namespace vx::engine {

// The engine's branding work joins these three entry points; the start-up spine and the
// command line already reach them.
void ApplyBranding() {}
void RemoveBranding() {}
void DropDesktopShortcut() {}

}  // namespace vx::engine
