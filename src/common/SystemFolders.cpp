#include "common/SystemFolders.h"

#include "common/FileTests.h"
#include "common/Text.h"
#include "platform/Platform.h"

namespace vx {
namespace {

std::string Variable(const char* name) {
    return WithoutTrailingBackslash(platform::Current().environment().variable(name));
}

std::string ParentFolder(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string WindowsFolder() {
    std::string folder = Variable("systemroot");
    return folder.empty() ? Variable("windir") : folder;
}

std::string SystemFolder() { return WindowsFolder() + "\\System32"; }

std::string ProfilesRoot() {
    // A profile folder sits directly in the root; the public or all-users profile is the
    // surest one, the user's own the next.
    for (const char* name : {"public", "allusersprofile", "userprofile"}) {
        const std::string profile = Variable(name);
        const std::string root = ParentFolder(profile);
        const std::string rootName = root.substr(root.find_last_of('\\') + 1);
        if (EqualsNoCase(rootName, "Users") || EqualsNoCase(rootName, "Documents and Settings")) {
            return root;
        }
    }
    const std::string drive = Variable("systemdrive");
    if (DoesDirExist(drive + "\\Users", false)) {
        return drive + "\\Users";
    }
    return drive + "\\Documents and Settings";
}

bool IsUsersProfileLayout() { return EndsWithNoCase(ProfilesRoot(), "\\Users"); }

std::string AllUsersDesktopFolder() {
    return ProfilesRoot() + (IsUsersProfileLayout() ? "\\Public\\Desktop" : "\\All Users\\Desktop");
}

}  // namespace vx
