#pragma once
// How our 32-bit process reaches stored keys through the registry views of 64-bit Windows,
// step by step as Wine's advapi32 walks a path (see SimRegistry.cpp for the rules).

#include <cstddef>
#include <cstdint>

#include "platform/sim/SimRegistryTree.h"

namespace vx::platform::sim {

enum class WalkPurpose { Open, Create };

struct ViewWalk {
    // The key the whole path reaches, or else the deepest key found, below which a
    // creation makes names[found..].
    RegistryKeyNode* key = nullptr;
    std::size_t found = 0;
};

// Walks `names` (already split, no empty names) from `parent`, a stored key that is not a
// link. `wow64`: the machine is 64-bit, so the view flags of `access` count.
ViewWalk WalkView(const RegistryTree& tree, RegistryKeyNode& parent, const KeyPath& names,
                  std::uint32_t access, bool wow64, WalkPurpose purpose);

}  // namespace vx::platform::sim
