#include "platform/Platform.h"

#include <cstdlib>

namespace vx::platform {
namespace {
Platform* active = nullptr;
}

Platform& Current() {
    if (active == nullptr) {
        // A program that reaches Windows before choosing a backend is broken at build time.
        std::abort();
    }
    return *active;
}

void Install(Platform& backend) { active = &backend; }

ScopedInstall::ScopedInstall(Platform& backend) : previous_(active) { active = &backend; }

ScopedInstall::~ScopedInstall() { active = previous_; }

}  // namespace vx::platform
