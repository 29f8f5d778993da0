#include "common/FSO.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using FSO = SimTest;

TEST_F(FSO, TextWriterReplacesThenAppendsCrlfLines) {
    const std::string file = "C:\\Users\\Public\\Desktop\\Support.url";
    sim().addFile(file, "old content that must go\r\n");
    EXPECT_TRUE(SaveTextToFile(file, "[InternetShortcut]", false));
    EXPECT_TRUE(SaveTextToFile(file, "URL=http://support.example", true));
    EXPECT_EQ("[InternetShortcut]\r\nURL=http://support.example\r\n", sim().fileBytes(file));
}

TEST_F(FSO, TextWriterReportsAFolderThatIsNotThere) {
    EXPECT_FALSE(SaveTextToFile("C:\\No\\Such\\Folder\\a.url", "x", false));
    ASSERT_EQ(2u, lines().size());
    EXPECT_EQ(
        "\tCommonModule\\SaveTextToFile VB ERROR: 3 The system cannot find the path specified.",
        lines()[0]);
    EXPECT_EQ("\t\t- sFile=C:\\No\\Such\\Folder\\a.url", lines()[1]);
}

TEST_F(FSO, PathTypeAndKillFile) {
    const clsFSO fso;
    sim().addFile("C:\\Windows\\System32\\oemlogo.bmp");
    EXPECT_EQ(PathKind::Folder, fso.pathType("C:\\Windows"));
    EXPECT_EQ(PathKind::Missing, fso.pathType("C:\\Windows\\nothing.txt"));
    // Without redirection switched off a 32-bit caller looks into SysWOW64.
    EXPECT_EQ(PathKind::Missing, fso.pathType("C:\\Windows\\System32\\oemlogo.bmp"));
    sim().addFile("C:\\Windows\\SysWOW64\\oemlogo.bmp");
    EXPECT_EQ(PathKind::File, fso.pathType("C:\\Windows\\System32\\oemlogo.bmp"));
    fso.KillFile("C:\\Windows\\System32\\oemlogo.bmp");
    fso.KillFile("C:\\Windows\\System32\\oemlogo.bmp");
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\SysWOW64\\oemlogo.bmp").has_value());
    EXPECT_TRUE(sim().fileBytes("C:\\Windows\\System32\\oemlogo.bmp").has_value());
    EXPECT_TRUE(lines().empty());
}

}  // namespace
}  // namespace vx::test
