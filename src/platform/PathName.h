#pragma once
// Win32 path names as the system sees them after its own normalisation, and the WoW64
// file-system redirection of a 32-bit process.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::platform {

// A full path: a root ("C:" for a drive, "\\server\share" for a network share) and the
// names below it, each already cleaned the way GetFullPathName cleans them.
class PathName {
public:
    PathName(std::string root, std::vector<std::string> names, bool trailingSeparator = false);

    const std::string& root() const { return root_; }
    const std::vector<std::string>& names() const { return names_; }
    bool isRoot() const { return names_.empty(); }
    // The text named the path with a final separator ("C:\Windows\"): Windows then
    // insists on a folder.
    bool trailingSeparator() const { return trailingSeparator_; }

    // "C:\", "C:\Windows\System32", "\\server\share\folder".
    std::string text() const;
    // The text upper-cased: two paths name the same object when their keys are equal.
    std::string key() const;
    // The last name; empty for a root.
    std::string leaf() const;
    // The folder holding this path; a root is its own parent.
    PathName parent() const;
    PathName child(const std::string& name) const;
    // True when this path is `ancestor` or lies below it (names compared without case).
    bool isWithin(const PathName& ancestor) const;
    // The names below `ancestor`, which this path must lie within.
    std::vector<std::string> namesBelow(const PathName& ancestor) const;

private:
    std::string root_;
    std::vector<std::string> names_;
    bool trailingSeparator_ = false;
};

enum class Wildcards { Refuse, AllowInLeaf };

// The longest full path the ANSI file functions accept (MAX_PATH less the terminator).
inline constexpr std::size_t kMaxPathChars = 259;

// Resolves `text` as the ANSI file functions do: "/" and "\" both separate, repeated
// separators collapse, "." and ".." are applied (never above the root), a name loses one
// trailing period and the last name loses all trailing periods and blanks. Relative forms
// ("name", "\name", "C:name") are taken from `currentDirectory`. Nothing when the text is
// not a valid path (empty, a character Windows refuses in a name, a device path, too long).
std::optional<PathName> NormalisePath(std::string_view text, const PathName& currentDirectory,
                                      Wildcards wildcards = Wildcards::Refuse);

bool HasWildcards(std::string_view name);
// FindFirstFile's matching of one name: "*" any run, "?" one character, no case; a
// pattern ending in ".*" also matches a name without an extension ("*.*" matches all).
bool MatchesWildcard(std::string_view pattern, std::string_view name);

// The native path a 32-bit process reaches when it names `path`. On 64-bit Windows,
// %windir%\Sysnative always reaches the native System32, and while `redirecting`,
// %windir%\System32 and everything below it reach %windir%\SysWOW64, except the folders
// the system keeps shared (catroot, catroot2, drivers\etc, logfiles, spool).
PathName RedirectPath(const PathName& path, const PathName& windowsFolder, bool wow64,
                      bool redirecting);

}  // namespace vx::platform
