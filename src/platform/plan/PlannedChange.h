#pragma once
// The changes a plan records instead of making them, in the order the calls came, and the
// texts that show them: what, where, the state before -> the state after.

#include <cstdint>
#include <string>
#include <vector>

namespace vx::platform::plan {

enum class ChangeKind {
    CreateKey,
    DeleteKey,
    SetValue,
    DeleteValue,
    SetKeySecurity,
    CreateFolder,
    RemoveFolder,
    WriteFile,
    AppendFile,
    DeleteFile,
    CopyFile,
    CreateLink,
    WriteProfileString,
    StartProcess,
};

struct PlannedChange {
    ChangeKind kind = ChangeKind::SetValue;
    // The key ("HKLM\Software\X", with " (64-bit view)" or " (32-bit view)" where 64-bit
    // Windows keeps the views apart), the file or folder, the profile file, the command line;
    // spelled as the call that made the change spelled it.
    std::string place;
    // The value name ("" is the default value), "[section] key" of a profile file; else "".
    std::string item;
    std::string before;  // kNothing when there was nothing
    std::string after;
};

inline constexpr const char* kNothing = "(none)";

// "set value", "delete file", ...
const char* KindName(ChangeKind kind);
// One line: `set value HKLM\Software\X "Name": (none) -> "text"`.
std::string Describe(const PlannedChange& change);

// A registry value as a line shows it, from its type and its bytes as the A calls read them:
// "text", expand:"text", dword:0000002a, multi:"a","b", hex:01,ff (hex(N): for other types).
std::string DescribeValue(std::uint32_t type, const std::string& bytes);
// A file's content in a line: "N bytes".
std::string DescribeBytes(const std::string& bytes);

// The list the services of one plan append to.
class ChangeLog {
public:
    void add(ChangeKind kind, std::string place, std::string item, std::string before,
             std::string after);
    const std::vector<PlannedChange>& entries() const { return entries_; }

private:
    std::vector<PlannedChange> entries_;
};

}  // namespace vx::platform::plan
