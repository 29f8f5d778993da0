#pragma once
// The registry half of the factory backup as a .reg file ("Windows Registry Editor Version
// 5.00"): an administrator can read it, and regedit can import it. Keys of the 32-bit view of
// 64-bit Windows are written with their Wow6432Node path. A string value made of printable
// ASCII is written as "text", a 4-byte DWORD as dword:, anything else as hex(type): with the
// bytes exactly as the registry stores them (UTF-16LE for the string types), so a value comes
// back byte for byte. "name"=- records a value that was absent, [-key] a key that was absent
// (or a tree cleared before it is written again).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::backup {

// Native: the only view of 32-bit Windows, the 64-bit view of 64-bit Windows.
enum class RegistryView { Native, Redirected };

struct StoredValue {
    std::uint32_t type = 0;
    std::string bytes;  // as stored: UTF-16LE for the string types, terminator included
};

struct ValueRecord {
    std::string name;                  // "" is the key's default value
    std::optional<StoredValue> value;  // nothing: there was no such value
};

struct KeyRecord {
    std::string root;  // "HKEY_LOCAL_MACHINE" or "HKEY_CLASSES_ROOT"
    std::string path;  // below the root, no Wow6432Node part
    RegistryView view = RegistryView::Native;
    bool present = true;  // false: [-key]
    std::vector<ValueRecord> values;
};

// The stored form of a REG_SZ holding `text` (ASCII or Latin-1): UTF-16LE with a terminator.
std::string WideStringBytes(std::string_view text);

// A value's data as one line of a .reg file shows it after "=": "text", dword:00000000, hex(2):...
std::string RegFileData(const StoredValue& value);

// `comment` lines come first, each as a ";" line.
// Nothing when a key path or value name is not printable ASCII (the file is ASCII).
std::optional<std::string> WriteRegFile(const std::vector<KeyRecord>& keys,
                                        const std::vector<std::string>& comment);

// Reads what WriteRegFile wrote (CRLF or LF, comments and blank lines ignored); nothing when
// the text is not in that form.
std::optional<std::vector<KeyRecord>> ReadRegFile(std::string_view text);

}  // namespace vx::backup
