#include "platform/PathName.h"

#include <array>
#include <utility>

#include "platform/TextRules.h"

namespace vx::platform {

PathName::PathName(std::string root, std::vector<std::string> names, bool trailingSeparator)
    : root_(std::move(root)), names_(std::move(names)), trailingSeparator_(trailingSeparator) {}

std::string PathName::text() const {
    std::string out = root_;
    if (names_.empty()) {
        // A drive root keeps its separator ("C:\"); a share root has none ("\\srv\share").
        if (out.size() == 2) out += '\\';
        return out;
    }
    for (const std::string& name : names_) {
        out += '\\';
        out += name;
    }
    return out;
}

std::string PathName::key() const { return UpperAscii(text()); }

std::string PathName::leaf() const { return names_.empty() ? std::string() : names_.back(); }

PathName PathName::parent() const {
    std::vector<std::string> names = names_;
    if (!names.empty()) names.pop_back();
    return PathName(root_, std::move(names));
}

PathName PathName::child(const std::string& name) const {
    std::vector<std::string> names = names_;
    names.push_back(name);
    return PathName(root_, std::move(names));
}

bool PathName::isWithin(const PathName& ancestor) const {
    if (!EqualsNoCase(root_, ancestor.root_) || names_.size() < ancestor.names_.size()) {
        return false;
    }
    for (std::size_t i = 0; i < ancestor.names_.size(); ++i) {
        if (!EqualsNoCase(names_[i], ancestor.names_[i])) return false;
    }
    return true;
}

std::vector<std::string> PathName::namesBelow(const PathName& ancestor) const {
    const auto skip = static_cast<std::ptrdiff_t>(ancestor.names_.size());
    return std::vector<std::string>(names_.begin() + skip, names_.end());
}

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsValidName(std::string_view name, bool wildcardsAllowed) {
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) return false;
        switch (c) {
            case '<':
            case '>':
            case ':':
            case '"':
            case '|':
                return false;
            case '*':
            case '?':
                if (!wildcardsAllowed) return false;
                break;
            default:
                break;
        }
    }
    return true;
}

std::vector<std::string_view> SplitOnSeparators(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\\') {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

struct Anchor {
    std::string root;
    std::vector<std::string> names;
    std::string_view rest;
};

// Splits off what the rest of the text is relative to. Nothing for forms the model does not
// accept (device paths, a share without a name).
std::optional<Anchor> AnchorOf(std::string_view text, const PathName& current) {
    if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') {
        std::string_view unc = text.substr(2);
        const std::size_t serverEnd = unc.find('\\');
        if (serverEnd == std::string_view::npos || serverEnd == 0) return std::nullopt;
        std::string_view afterServer = unc.substr(serverEnd + 1);
        const std::size_t shareEnd = afterServer.find('\\');
        std::string_view share = afterServer.substr(0, shareEnd);
        std::string_view server = unc.substr(0, serverEnd);
        if (share.empty() || server == "." || server == "?" || !IsValidName(server, false) ||
            !IsValidName(share, false)) {
            return std::nullopt;
        }
        std::string_view rest =
            shareEnd == std::string_view::npos ? std::string_view() : afterServer.substr(shareEnd);
        return Anchor{"\\\\" + std::string(server) + "\\" + std::string(share), {}, rest};
    }
    if (text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == ':') {
        std::string drive = UpperAscii(text.substr(0, 2));
        std::string_view rest = text.substr(2);
        if (!rest.empty() && rest.front() == '\\') return Anchor{drive, {}, rest};
        // "C:name" continues from the current directory when that is on the same drive.
        if (EqualsNoCase(current.root(), drive)) return Anchor{drive, current.names(), rest};
        return Anchor{drive, {}, rest};
    }
    if (!text.empty() && text.front() == '\\') return Anchor{current.root(), {}, text};
    return Anchor{current.root(), current.names(), text};
}

}  // namespace

std::optional<PathName> NormalisePath(std::string_view text, const PathName& currentDirectory,
                                      Wildcards wildcards) {
    std::string slashed(text);
    for (char& c : slashed) {
        if (c == '/') c = '\\';
    }
    std::string_view view = slashed;
    if (view.empty() || view.substr(0, 4) == "\\\\.\\") return std::nullopt;
    std::string unprefixed;
    if (view.substr(0, 4) == "\\\\?\\") {
        view.remove_prefix(4);
        if (view.size() >= 4 && EqualsNoCase(view.substr(0, 4), "UNC\\")) {
            unprefixed = "\\\\" + std::string(view.substr(4));
            view = unprefixed;
        }
    }

    std::optional<Anchor> anchor = AnchorOf(view, currentDirectory);
    if (!anchor) return std::nullopt;

    const std::vector<std::string_view> parts = SplitOnSeparators(anchor->rest);
    std::vector<std::string> names = std::move(anchor->names);
    bool trailing = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string name(parts[i]);
        const bool last = i + 1 == parts.size();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        if (last) {
            while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
            if (name.empty()) {
                trailing = true;
                continue;
            }
        } else if (name.back() == '.') {
            name.pop_back();
        }
        const bool wildcardsHere = last && wildcards == Wildcards::AllowInLeaf;
        if (!IsValidName(name, wildcardsHere)) return std::nullopt;
        names.push_back(std::move(name));
    }
    if (!parts.empty() && parts.back().empty() && !names.empty()) trailing = true;

    PathName result(std::move(anchor->root), std::move(names), trailing && !names.empty());
    if (result.text().size() > kMaxPathChars) return std::nullopt;
    return result;
}

bool HasWildcards(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

namespace {

bool MatchPlain(std::string_view pattern, std::string_view name) {
    const std::string p = UpperAscii(pattern);
    const std::string n = UpperAscii(name);
    std::size_t pi = 0;
    std::size_t ni = 0;
    std::size_t starAt = std::string::npos;
    std::size_t resumeAt = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            starAt = pi++;
            resumeAt = ni;
        } else if (starAt != std::string::npos) {
            pi = starAt + 1;
            ni = ++resumeAt;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

}  // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    if (MatchPlain(pattern, name)) return true;
    const bool extensionStar = pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
    return extensionStar && name.find('.') == std::string_view::npos &&
           MatchPlain(pattern.substr(0, pattern.size() - 2), name);
}

namespace {

bool IsSharedFolder(const std::vector<std::string>& belowSystem32) {
    if (belowSystem32.empty()) return false;
    const std::string& first = belowSystem32.front();
    static constexpr std::array<const char*, 4> kShared = {"catroot", "catroot2", "logfiles",
                                                           "spool"};
    for (const char* shared : kShared) {
        if (EqualsNoCase(first, shared)) return true;
    }
    return EqualsNoCase(first, "drivers") && belowSystem32.size() >= 2 &&
           EqualsNoCase(belowSystem32[1], "etc");
}

PathName Rebase(const PathName& folder, const std::vector<std::string>& below,
                bool trailingSeparator) {
    std::vector<std::string> names = folder.names();
    names.insert(names.end(), below.begin(), below.end());
    return PathName(folder.root(), std::move(names), trailingSeparator);
}

}  // namespace

PathName RedirectPath(const PathName& path, const PathName& windowsFolder, bool wow64,
                      bool redirecting) {
    if (!wow64) return path;
    const PathName system32 = windowsFolder.child("System32");
    const PathName sysnative = windowsFolder.child("Sysnative");
    if (path.isWithin(sysnative)) {
        return Rebase(system32, path.namesBelow(sysnative), path.trailingSeparator());
    }
    if (!redirecting || !path.isWithin(system32)) return path;
    const std::vector<std::string> below = path.namesBelow(system32);
    if (IsSharedFolder(below)) return path;
    return Rebase(windowsFolder.child("SysWOW64"), below, path.trailingSeparator());
}

}  // namespace vx::platform
