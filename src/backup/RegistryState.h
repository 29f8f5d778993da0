#pragma once
// Reading a registry place into records and bringing it back to what records say. A place is
// either chosen values of one key (the rest of the key is never touched) or a whole tree.
// Bringing a place back changes only what differs, so a second run changes nothing.

#include <optional>
#include <string>
#include <vector>

#include "backup/RegFile.h"

namespace vx::backup {

// The views this Windows has: the native one, and on 64-bit Windows the redirected one.
std::vector<RegistryView> ViewsOfThisSystem();

// The named values of one key (present=false and no values when the key is missing); nothing
// when the key or a value could not be read.
std::optional<KeyRecord> ReadValueSet(const std::string& root, const std::string& path,
                                      RegistryView view, const std::vector<std::string>& names);

// A whole tree, parents before children, every value of every key; one record with
// present=false when the tree is missing; nothing when any part could not be read.
std::optional<std::vector<KeyRecord>> ReadTree(const std::string& root, const std::string& path,
                                               RegistryView view);

// Makes the named values what `wanted` records: present ones written, absent ones deleted.
// When the key was absent, the key itself goes once nothing else is left in it. False when a
// change failed (each failure is logged).
bool BringBackValueSet(const KeyRecord& wanted, const std::vector<std::string>& names);

// Makes the tree what `wanted` records (the output of ReadTree, or a [-key] record alone):
// keys and values that are not recorded are deleted, recorded ones written where they differ.
bool BringBackTree(const std::vector<KeyRecord>& wanted);

}  // namespace vx::backup
