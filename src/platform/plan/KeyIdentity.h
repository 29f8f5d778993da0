#pragma once
// Which key of the system a registry path names, so that the plan's records of one key are
// found again whichever way a later call spells it.
//
// A key is its root, its names without case and its view. HKEY_CLASSES_ROOT is taken as
// HKLM\Software\Classes, where the system writes it. On 64-bit Windows the view counts only
// where WOW64 keeps two keys apart, as Windows 7 and Wine do: HKLM\Software (the 32-bit one
// is Software\Wow6432Node) and, below the shared HKLM\Software\Classes, CLSID and Interface;
// every other key is one key for both views. A path that names Wow6432Node below Software,
// Software\Classes or HKCR itself names the 32-bit key it stands for.

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace vx::platform::plan {

enum class KeyView { Shared, Native, Redirected };

struct KeyId {
    RegistryHandle root = kLocalMachine;
    std::vector<std::string> names;  // upper-cased
    KeyView view = KeyView::Shared;

    auto operator<=>(const KeyId&) const = default;
};

// `names` below `root` as a call reaches them: `redirected` when it asked for the 32-bit
// view (KEY_WOW64_32KEY, or no view flag where that means the 32-bit one); `wow64` when the
// machine is 64-bit (on 32-bit Windows there is one view and Wow6432Node is a plain name).
KeyId IdentifyKey(RegistryHandle root, const std::vector<std::string>& names, bool redirected,
                  bool wow64);

// The key `count` names deep on the way to `key` (0: its root).
KeyId AncestorOf(const KeyId& key, std::size_t count, bool wow64);

// "HKLM", "HKCR", ... for a predefined root; "" for anything else.
std::string RootName(RegistryHandle root);
// " (64-bit view)", " (32-bit view)" or "" for a shared key.
const char* ViewSuffix(KeyView view);

// The names of a subkey path as RegOpenKeyExA splits it: empty names are skipped.
std::vector<std::string> SplitKeyPath(std::string_view path);
std::string JoinKeyPath(const std::vector<std::string>& names);

}  // namespace vx::platform::plan
