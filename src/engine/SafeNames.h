#pragma once
// Names from the hand-editable settings file that are joined to system folders must be plain
// file names: anything that could point elsewhere ("..\x", "C:\x", "a/b") is refused.

#include <string>

namespace vx::engine {

// A single file name Windows would store as written: no folder separators or drive, not "."
// or "..", no character Windows forbids in names, no trailing dot or blank, no device name.
bool IsPlainFileName(const std::string& name);

// True when `name` is empty or plain; otherwise logs that the step is skipped and returns
// false. `setting` names the key the value came from.
bool AcceptFileName(const std::string& setting, const std::string& name);

}  // namespace vx::engine
