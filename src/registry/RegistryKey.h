#pragma once
// Owns one open registry key of the platform seam and closes it.

#include <utility>

#include "platform/Platform.h"
#include "platform/Registry.h"

namespace vx::registry {

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { static_cast<void>(close()); }

    // Fills the key only on success; the status is the system's.
    [[nodiscard]] platform::Status open(platform::RegistryHandle root, const std::string& path,
                                        std::uint32_t access) {
        static_cast<void>(close());
        return registry().openKey(root, path, access, handle_);
    }
    [[nodiscard]] platform::Status create(platform::RegistryHandle root, const std::string& path,
                                          std::uint32_t access) {
        static_cast<void>(close());
        return registry().createKey(root, path, access, handle_);
    }
    // Closes now and tells how that went; closing a key that is not open is success.
    [[nodiscard]] platform::Status close() {
        if (handle_ == 0) {
            return platform::kSuccess;
        }
        return registry().closeKey(std::exchange(handle_, 0));
    }
    platform::RegistryHandle handle() const { return handle_; }

private:
    static platform::Registry& registry() { return platform::Current().registry(); }
    platform::RegistryHandle handle_ = 0;
};

}  // namespace vx::registry
