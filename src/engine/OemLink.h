#pragma once
// The OEM link of the Windows XP Start menu: a shell folder class whose entry runs
// ButtonAction and whose context menu can offer a second action.

namespace vx::engine {

inline constexpr const char* kOemLinkClassId = "{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}";

// Writes the class from the settings file; nothing without a settings file, a ButtonName
// or a ButtonAction.
void RegisterOemLink();

}  // namespace vx::engine
