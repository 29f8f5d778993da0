#include "common/SystemFolders.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using SystemFolders = SimTest;

TEST_F(SystemFolders, VistaStyleProfilesUseThePublicDesktop) {
    EXPECT_EQ("C:\\Windows", WindowsFolder());
    EXPECT_EQ("C:\\Windows\\System32", SystemFolder());
    EXPECT_EQ("C:\\Users", ProfilesRoot());
    EXPECT_TRUE(IsUsersProfileLayout());
    EXPECT_EQ("C:\\Users\\Public\\Desktop", AllUsersDesktopFolder());
}

TEST_F(SystemFolders, XpStyleProfilesUseTheAllUsersDesktop) {
    sim().removeVariable("PUBLIC");
    sim().setVariable("ALLUSERSPROFILE", "C:\\Documents and Settings\\All Users");
    sim().setVariable("USERPROFILE", "C:\\Documents and Settings\\tech");
    sim().setVariable("SystemRoot", "D:\\WINNT\\");
    EXPECT_EQ("D:\\WINNT", WindowsFolder());
    EXPECT_EQ("C:\\Documents and Settings", ProfilesRoot());
    EXPECT_FALSE(IsUsersProfileLayout());
    EXPECT_EQ("C:\\Documents and Settings\\All Users\\Desktop", AllUsersDesktopFolder());
}

TEST_F(SystemFolders, WithoutProfileVariablesTheSystemDriveIsSearched) {
    for (const char* name : {"PUBLIC", "ALLUSERSPROFILE", "USERPROFILE"}) {
        sim().removeVariable(name);
    }
    EXPECT_EQ("C:\\Users", ProfilesRoot());
}

}  // namespace
}  // namespace vx::test
