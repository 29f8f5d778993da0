// Status codes and shell behaviour of the simulated file system (as Wine 8 gives them).
// Telling files from folders, and missing files, through DoesFileExist and the like is pinned by
// tests/contract/FileTestsContractTest.cpp.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {
namespace {

class SimFileSystemTest : public testing::Test {
protected:
    void SetUp() override {
        windows_.addFile("C:\\kit\\f.txt", "hello");
        windows_.addFile("C:\\kit\\tree\\t1.txt", "t1");
        windows_.addFile("C:\\kit\\tree\\sub\\t2.txt", "t2");
    }
    FileSystem& files() { return windows_.files(); }
    SimWindows windows_{Bitness::Windows64};
};

TEST_F(SimFileSystemTest, AttributesTellFoldersFromFilesAndMissFromRefusal) {
    EXPECT_EQ(0x10u, files().attributes("c:/KIT/"));
    EXPECT_EQ(0x10u, files().attributes("C:\\"));
    EXPECT_EQ(0x20u, files().attributes("C:\\kit\\F.TXT"));
    EXPECT_EQ(0x20u, files().attributes("C:\\kit\\f.txt. "));
    EXPECT_FALSE(files().attributes("C:\\kit\\f.txt\\").has_value());
    EXPECT_FALSE(files().attributes("C:\\nodir\\missing.txt").has_value());
    EXPECT_FALSE(files().attributes("C:\\kit\\f*.txt").has_value());
    EXPECT_FALSE(files().attributes("\\\\srv\\share\\x").has_value());
    windows_.addDirectory("\\\\srv\\share\\x");
    EXPECT_EQ(0x10u, files().attributes("\\\\SRV\\share\\x"));
    windows_.makeUnreachable("C:\\kit\\f.txt");
    EXPECT_FALSE(files().attributes("C:\\kit\\f.txt").has_value());
    EXPECT_FALSE(files().readFile("C:\\kit\\f.txt").has_value());
    EXPECT_EQ(5u, files().writeFile("C:\\kit\\f.txt", "x", true));
    EXPECT_EQ(5u, files().deleteFile("C:\\kit\\f.txt"));
    EXPECT_EQ("hello", windows_.fileBytes("C:\\kit\\f.txt"));
}

TEST_F(SimFileSystemTest, CreateDeleteAndWriteGiveTheSystemsCodes) {
    EXPECT_EQ(0u, files().createDirectory("C:\\kit\\d1"));
    EXPECT_EQ(183u, files().createDirectory("C:\\KIT\\D1\\"));
    EXPECT_EQ(183u, files().createDirectory("C:\\kit\\f.txt"));
    EXPECT_EQ(3u, files().createDirectory("C:\\kit\\nope\\d2"));
    EXPECT_EQ(3u, files().createDirectory("C:\\kit\\f.txt\\sub"));
    EXPECT_EQ(123u, files().createDirectory("C:\\kit\\a?b"));

    EXPECT_EQ(5u, files().deleteFile("C:\\kit\\d1"));
    EXPECT_EQ(2u, files().deleteFile("C:\\kit\\g.txt"));
    EXPECT_EQ(3u, files().deleteFile("C:\\kit\\nope\\g.txt"));
    EXPECT_EQ(0u, files().deleteFile("C:\\kit\\F.txt"));
    EXPECT_FALSE(windows_.fileBytes("C:\\kit\\f.txt").has_value());

    EXPECT_EQ(3u, files().writeFile("C:\\kit\\nope\\x.txt", "x", false));
    EXPECT_EQ(5u, files().writeFile("C:\\kit\\d1", "x", false));
    EXPECT_EQ(0u, files().writeFile("C:\\kit\\log.txt", "a", true));
    EXPECT_EQ(0u, files().writeFile("C:\\kit\\LOG.txt", "b", true));
    EXPECT_EQ("ab", files().readFile("c:\\kit\\log.txt"));
    EXPECT_EQ(0u, files().writeFile("C:\\kit\\log.txt", "c", false));
    EXPECT_EQ("c", windows_.fileBytes("C:\\kit\\log.txt"));
    EXPECT_EQ("log.txt", files().firstListedName("C:\\kit\\LOG.TXT")) << "the first case stays";
}

TEST_F(SimFileSystemTest, ShellCopyOfFiles) {
    EXPECT_EQ(1026, files().shellCopy("C:\\kit\\missing.txt", "C:\\out\\m.txt"));
    EXPECT_EQ(1026, files().shellCopy("C:\\nodir\\missing.txt", "C:\\out\\m.txt"));
    EXPECT_FALSE(windows_.directoryExists("C:\\out"));
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\f.txt", "C:\\out\\deep\\copy.txt"));
    EXPECT_EQ("hello", windows_.fileBytes("C:\\out\\deep\\copy.txt"));
    windows_.addFile("C:\\kit\\f2.txt", "second");
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\f2.txt", "C:\\out\\deep\\copy.txt"));
    EXPECT_EQ("second", windows_.fileBytes("C:\\out\\deep\\copy.txt"));
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\f.txt", "C:\\out"));
    EXPECT_EQ("hello", windows_.fileBytes("C:\\out\\f.txt")) << "into an existing folder";
    EXPECT_EQ(0x71, files().shellCopy("C:\\kit\\f.txt", "c:\\KIT\\F.txt"));
    EXPECT_EQ(1223, files().shellCopy("C:\\kit\\f.txt", "C:\\kit\\f.txt\\x.txt"));
    EXPECT_EQ(1223, files().shellCopy("C:\\kit\\f.txt", "Q:\\x\\x.txt"));
    EXPECT_EQ(1223, files().shellCopy("C:\\kit\\f.txt", "C:\\new\\"));
    EXPECT_TRUE(windows_.directoryExists("C:\\new")) << "Wine makes the folder, then stops";
    EXPECT_FALSE(windows_.fileBytes("C:\\new\\f.txt").has_value());
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\f.txt", "C:\\new\\"));
    EXPECT_EQ("hello", windows_.fileBytes("C:\\new\\f.txt"));
    windows_.makeUnreachable("C:\\kit\\f2.txt");
    EXPECT_EQ(0x78, files().shellCopy("C:\\kit\\f2.txt", "C:\\out\\x.txt"));
}

TEST_F(SimFileSystemTest, ShellCopyOfFoldersAndWildcards) {
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\tree", "C:\\tree2"));
    EXPECT_EQ("t2", windows_.fileBytes("C:\\tree2\\sub\\t2.txt"));
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\tree", "C:\\tree2"));
    EXPECT_EQ("t1", windows_.fileBytes("C:\\tree2\\tree\\t1.txt")) << "the second goes inside";
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\tree", "C:\\kit\\tree\\sub"));
    EXPECT_FALSE(files().attributes("C:\\kit\\tree\\sub\\tree").has_value()) << "not into itself";
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\tree", "C:\\kit\\f.txt"));
    EXPECT_EQ("hello", windows_.fileBytes("C:\\kit\\f.txt"));

    EXPECT_EQ(0, files().shellCopy("C:\\kit\\tree\\*.txt", "C:\\one"));
    EXPECT_EQ("t1", windows_.fileBytes("C:\\one")) << "a single match copies as a file";
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\tree\\*", "C:\\many"));
    EXPECT_EQ("t1", windows_.fileBytes("C:\\many\\t1.txt"));
    EXPECT_EQ("t2", windows_.fileBytes("C:\\many\\sub\\t2.txt"));
    EXPECT_EQ(0, files().shellCopy("C:\\kit\\tree\\*.none", "C:\\none"));
    EXPECT_EQ(0, files().shellCopy("C:\\nodir\\*.txt", "C:\\none"));
    EXPECT_FALSE(files().attributes("C:\\none").has_value());
}

TEST_F(SimFileSystemTest, ListingsGiveNamesInNtfsOrderWithoutTheDotEntries) {
    windows_.addFile("C:\\lst\\Beta.txt");
    windows_.addFile("C:\\lst\\alpha.TXT");
    windows_.addDirectory("C:\\lst\\Zed");
    EXPECT_EQ("alpha.TXT", files().firstListedName("C:\\lst\\*"));
    EXPECT_EQ("alpha.TXT", files().firstListedName("C:\\lst\\*."));
    EXPECT_EQ("Zed", files().firstListedName("C:\\lst\\*d"));
    EXPECT_EQ("alpha.TXT", files().firstListedName("C:\\lst\\*.txt"));
    EXPECT_EQ("Beta.txt", files().firstListedName("c:\\LST\\b*"));
    EXPECT_EQ("Zed", files().firstListedName("C:\\lst\\zed"));
    EXPECT_EQ("lst", files().firstListedName("C:\\LST"));
    EXPECT_EQ("kit", files().firstListedName("C:\\k*"));
    EXPECT_FALSE(files().firstListedName("C:\\lst\\").has_value());
    EXPECT_FALSE(files().firstListedName("C:\\lst\\*.none").has_value());
    EXPECT_FALSE(files().firstListedName("C:\\nodir\\*").has_value());
    EXPECT_FALSE(files().firstListedName("C:\\lst\\missing.txt").has_value());
}

TEST_F(SimFileSystemTest, RelativePathsStartInTheProgramsFolder) {
    ASSERT_EQ(0u, files().writeFile("notes.txt", "n", false));
    EXPECT_EQ("n", windows_.fileBytes("C:\\Tools\\Vexilla\\notes.txt"));
    windows_.setModuleFileName("D:\\Portable\\vexilla.exe");
    EXPECT_EQ(0x20u, files().attributes("vexilla.exe"));
    EXPECT_EQ("D:\\Portable\\vexilla.exe", windows_.environment().moduleFileName());
}

TEST_F(SimFileSystemTest, TheWorldRefusesPathsWindowsWouldRefuse) {
    EXPECT_THROW(windows_.addFile("C:\\kit\\a|b"), std::invalid_argument);
    EXPECT_THROW(windows_.addFile("C:\\kit\\f.txt\\inner.txt"), std::invalid_argument);
    EXPECT_THROW(windows_.addDirectory("C:\\kit\\f.txt"), std::invalid_argument);
    EXPECT_THROW(windows_.makeUnreachable("C:\\kit\\none"), std::invalid_argument);
}

}  // namespace
}  // namespace vx::platform::sim
