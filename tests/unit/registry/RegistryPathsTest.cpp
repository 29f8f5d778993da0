#include "registry/RegistryPaths.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using registry::ApplyViewRule;
using registry::fIs64Bit;
using registry::fTopKey;
using registry::kTopKeyIniFile;
using registry::kTopKeyUnknown;
using RegistryPaths = SimTest;
using RegistryPaths32 = Sim32Test;

TEST_F(RegistryPaths, AbbreviationsInAnyCase) {
    EXPECT_EQ(platform::kLocalMachine, fTopKey("hklm"));
    EXPECT_EQ(platform::kLocalMachine, fTopKey("HkLm"));
    EXPECT_EQ(platform::kClassesRoot, fTopKey("HKCR"));
    EXPECT_EQ(platform::kCurrentUser, fTopKey("hkcu"));
    EXPECT_EQ(platform::kUsers, fTopKey("HKU"));
    EXPECT_EQ(platform::kCurrentConfig, fTopKey("HKCC"));
    EXPECT_EQ(platform::kDynData, fTopKey("HKDD"));
    EXPECT_EQ(kTopKeyUnknown, fTopKey("HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(kTopKeyUnknown, fTopKey("\\HKLM"));
    EXPECT_EQ(kTopKeyUnknown, fTopKey(""));
}

TEST_F(RegistryPaths, AnExistingFileMeansIniMode) {
    sim().addFile("C:\\Kit\\config\\corvid.ini", "[Config]\r\n");
    EXPECT_EQ(kTopKeyIniFile, fTopKey("C:\\Kit\\config\\corvid.ini"));
    EXPECT_EQ(kTopKeyUnknown, fTopKey("C:\\Kit\\config\\missing.ini"));
    EXPECT_EQ(kTopKeyUnknown, fTopKey("C:\\Kit\\config")) << "a folder is no INI file";
    EXPECT_TRUE(lines().empty());
}

TEST_F(RegistryPaths, ViewRuleOn64BitWindows) {
    std::string path = "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";
    EXPECT_EQ(platform::kKeyWow64_64Key, ApplyViewRule(path));
    EXPECT_EQ("Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation", path);

    path = "Software\\Wow6432Node\\Tallowbyte\\Corvid";
    EXPECT_EQ(0u, ApplyViewRule(path));
    EXPECT_EQ("software\\tallowbyte\\corvid", path);

    path = "SOFTWARE\\WOW6432NODE\\A\\Wow6432Node\\B";
    EXPECT_EQ(0u, ApplyViewRule(path));
    EXPECT_EQ("software\\a\\b", path);

    path = "guest_SOFTWARE\\Wow6432Node\\X";
    EXPECT_EQ(0u, ApplyViewRule(path));
    EXPECT_EQ("guest_SOFTWARE\\Wow6432Node\\X", path);
}

TEST_F(RegistryPaths32, ViewRuleOn32BitWindowsLeavesEverything) {
    EXPECT_FALSE(fIs64Bit());
    std::string path = "Software\\Wow6432Node\\X";
    EXPECT_EQ(0u, ApplyViewRule(path));
    EXPECT_EQ("Software\\Wow6432Node\\X", path);
}

TEST_F(RegistryPaths, SixtyFourBitNeedsMoreThanOneCharacter) {
    EXPECT_TRUE(fIs64Bit());
    sim().setVariable("ProgramFiles(x86)", "X");
    EXPECT_FALSE(fIs64Bit());
}

}  // namespace
}  // namespace vx::test
