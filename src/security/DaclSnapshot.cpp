#include "security/DaclSnapshot.h"

#include "common/DebugLog.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "registry/RegistryKey.h"
#include "security/SecurityBytes.h"

namespace vx::security {
void DaclSnapshot::remember(platform::RegistryHandle root, const std::string& path,
                            std::uint32_t view) {
    if (!named_.emplace(root, view, LCase(path)).second) {
        return;
    }
    registry::RegistryKey key;
    std::string descriptor;
    if (key.open(root, path, platform::kReadControl | view) == platform::kSuccess &&
        platform::Current().registry().getKeySecurity(key.handle(), kDaclSecurityInformation,
                                                      descriptor) == platform::kSuccess) {
        saved_.push_back({root, path, view, descriptor});
    }
}

void DaclSnapshot::restore() {
    for (const auto& saved : saved_) {
        registry::RegistryKey key;
        if (key.open(saved.root, saved.path, platform::kWriteDac | saved.view) !=
            platform::kSuccess) {
            continue;  // gone after all, or out of reach
        }
        const auto status = platform::Current().registry().setKeySecurity(
            key.handle(), kDaclSecurityInformation, saved.descriptor);
        DPrint("SetPerm\\RestorePermissions: " + saved.path + "  lResult: " + ToText(status));
    }
    saved_.clear();
    named_.clear();
}

}  // namespace vx::security
