#pragma once
// Shell links through IShellLinkA and IPersistFile. Each call initialises COM on the calling
// thread for its own length (joining an apartment that is already there).

#include <optional>
#include <string>

#include "platform/Shell.h"

namespace vx::platform::win32 {

// False when any step fails; a target that does not exist is no failure.
[[nodiscard]] bool CreateShellLink(const std::string& linkFile, const ShellLinkData& data);
// Nothing when the file cannot be loaded as a link or a field cannot be read.
[[nodiscard]] std::optional<ShellLinkData> ReadShellLink(const std::string& linkFile);

}  // namespace vx::platform::win32
