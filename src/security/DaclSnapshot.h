#pragma once
// Remembers the DACLs that an escalation is about to widen, so that a removal that fails in
// the end can put them back: a refused deletion must not leave a key writable by every user.

#include <cstdint>
#include <set>
#include <tuple>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace vx::security {

class DaclSnapshot {
public:
    // Records the key's DACL the first time the key is named; later calls keep the first one.
    void remember(platform::RegistryHandle root, const std::string& path, std::uint32_t view);
    // Writes every recorded DACL back to its key, where the key still exists.
    void restore();
    std::size_t size() const { return saved_.size(); }

private:
    struct Saved {
        platform::RegistryHandle root;
        std::string path;
        std::uint32_t view;
        std::string descriptor;
    };
    std::vector<Saved> saved_;
    // Root, view and lower-cased path of every key named so far: a tree of any size is
    // checked in logarithmic time per key.
    std::set<std::tuple<platform::RegistryHandle, std::uint32_t, std::string>> named_;
};

}  // namespace vx::security
