#pragma once
// Deleting values and whole keys, escalating when Windows refuses: the key's DACL is widened,
// ownership is taken with an external tool, the deletion is retried, and a key is finally
// handed to "reg.exe". A removal that fails in the end puts back the DACLs it widened.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Registry.h"

namespace vx::security {
class DaclSnapshot;
}  // namespace vx::security

namespace vx::deletion {

// 0 when the value is gone or was never there (then `notFound` is set), 99 for an unknown
// top key, else the refused status.
std::uint32_t fDeleteValue(const std::string& topKey, const std::string& keyPath,
                           const std::string& valueName, bool& notFound);

// Deletes parentPath\keyName with everything below it. 0 when the key is gone, also when
// "reg.exe", the last resort, removed it; 99 for an unknown top key, else the refused status.
std::uint32_t fDeleteKey(const std::string& topKey, const std::string& parentPath,
                         const std::string& keyName, bool& notFound);

// Deletes every key below keyPath, depth first; keyPath itself stays. Without a `view` the
// view rule chooses one. DACLs widened on the way are recorded in `snapshot` when given.
void fDeleteSubkeys(platform::RegistryHandle root, std::string keyPath, const std::string& topKey,
                    std::optional<std::uint32_t> view = std::nullopt,
                    security::DaclSnapshot* snapshot = nullptr);

}  // namespace vx::deletion
