#pragma once
#include <cstdint>
#include <optional>

namespace vx::platform::win32 {

// Win32_OperatingSystem.OperatingSystemSKU through the local management service. Nothing
// when any step fails: no service (Windows 2000 has WMI but not this property), no
// access, or a value that is not a number.
[[nodiscard]] std::optional<std::uint32_t> TryQueryOperatingSystemSku();

}  // namespace vx::platform::win32
