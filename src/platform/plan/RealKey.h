#pragma once
// Owns one key handle of the registry underneath the plan and closes it there. A predefined
// root is held without being owned: it is never closed.

#include <utility>

#include "platform/Registry.h"

namespace vx::platform::plan {

class RealKey {
public:
    RealKey() = default;
    RealKey(Registry& registry, RegistryHandle handle, bool owned)
        : registry_(&registry), handle_(handle), owned_(owned) {}
    RealKey(RealKey&& other) noexcept
        : registry_(other.registry_),
          handle_(std::exchange(other.handle_, 0)),
          owned_(std::exchange(other.owned_, false)) {}
    RealKey& operator=(RealKey&& other) noexcept {
        if (this != &other) {
            reset();
            registry_ = other.registry_;
            handle_ = std::exchange(other.handle_, 0);
            owned_ = std::exchange(other.owned_, false);
        }
        return *this;
    }
    RealKey(const RealKey&) = delete;
    RealKey& operator=(const RealKey&) = delete;
    ~RealKey() { reset(); }

    bool open() const { return handle_ != 0; }
    RegistryHandle handle() const { return handle_; }

    void reset() {
        if (owned_ && handle_ != 0) static_cast<void>(registry_->closeKey(handle_));
        handle_ = 0;
        owned_ = false;
    }

private:
    Registry* registry_ = nullptr;
    RegistryHandle handle_ = 0;
    bool owned_ = false;
};

}  // namespace vx::platform::plan
