#pragma once
// The OEM link of the Windows XP Start menu: a shell folder class whose entry runs
// ButtonAction and whose context menu can offer a second action.

#include "backup/BrandingPlaces.h"

namespace vx::engine {

using backup::kOemLinkClassId;

// Writes the class from the settings file; nothing without a settings file, a ButtonName
// or a ButtonAction.
void RegisterOemLink();

}  // namespace vx::engine
