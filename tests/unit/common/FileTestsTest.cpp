#include "common/FileTests.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using FileTests = SimTest;
using FileTests32 = Sim32Test;
using Lines = std::vector<std::string>;

TEST_F(FileTests, TracesNameThePathAndTheResult) {
    sim().addFile("C:\\Windows\\System32\\oemlogo.bmp", "BM");
    EXPECT_TRUE(DoesFileExist("C:\\Windows\\System32\\oemlogo.bmp", true));
    EXPECT_FALSE(DoesFileExist("C:\\Windows", true));
    EXPECT_TRUE(DoesDirExist("C:\\Windows", true));
    EXPECT_FALSE(DoesDirExistNo64bitCheck("C:\\Nowhere", true));
    EXPECT_EQ(
        (Lines{
            "\tCommonModule\\DoesFileExist: 1", "\t\t- Passed: C:\\Windows\\System32\\oemlogo.bmp",
            "\t\t- Returns: True", "\tCommonModule\\DoesFileExist: -1", "\t\t- Passed: C:\\Windows",
            "\t\t- Returns: False", "\tCommonModule\\DoesDirExist: ", "\t\t- Passed: C:\\Windows",
            "\t\t- Returns: True", "\tCommonModule\\DoesDirExistNo64bitCheck: ",
            "\t\t- Passed: C:\\Nowhere", "\t\t- Returns: False"}),
        lines());
}

TEST_F(FileTests, UnrootedPathsAreRefusedWithoutTraceOrSwitching) {
    EXPECT_FALSE(DoesFileExist("Config", true));
    EXPECT_FALSE(DoesDirExist("C", true));
    EXPECT_FALSE(DoesDirExistNo64bitCheck("", true));
    EXPECT_TRUE(lines().empty());
    EXPECT_EQ(0, sim().redirectionDisableCalls());
}

TEST_F(FileTests, UncPathsAreTested) {
    sim().addDirectory("\\\\server\\share\\kit");
    EXPECT_TRUE(DoesDirExist("\\\\server\\share\\kit", false));
    EXPECT_FALSE(DoesFileExist("\\\\server\\share\\kit", false));
}

TEST_F(FileTests, EachTestSwitchesRedirectionOffAndBackOn) {
    sim().addFile("C:\\Windows\\System32\\native-only.dll");
    EXPECT_TRUE(DoesFileExist("C:\\Windows\\System32\\native-only.dll", false));
    EXPECT_TRUE(DoesDirExist("C:\\Windows\\System32", false));
    EXPECT_EQ(2, sim().redirectionDisableCalls());
    EXPECT_EQ(2, sim().redirectionRevertCalls());
    EXPECT_FALSE(sim().redirectionDisabledNow());
    // The no-check variant leaves the switch alone, and so sees the redirected folder.
    EXPECT_TRUE(DoesDirExistNo64bitCheck("C:\\Windows\\System32", false));
    EXPECT_EQ(2, sim().redirectionDisableCalls());
}

TEST_F(FileTests, ATestInsideADisabledStretchTurnsRedirectionBackOn) {
    DisableFSRedir();
    EXPECT_TRUE(sim().redirectionDisabledNow());
    static_cast<void>(DoesDirExist("C:\\Windows", false));
    EXPECT_FALSE(State().redirectionDisabled);
    EXPECT_FALSE(sim().redirectionDisabledNow());
}

TEST_F(FileTests, WithoutControlNothingReachesTheSystem) {
    State().redirectionControlAllowed = false;
    DisableFSRedir();
    EXPECT_TRUE(State().redirectionDisabled);
    RevertFSRedir();
    static_cast<void>(DoesFileExist("C:\\Windows\\win.ini", false));
    EXPECT_EQ(0, sim().redirectionDisableCalls());
    EXPECT_EQ(0, sim().redirectionRevertCalls());
}

TEST_F(FileTests, AFailedDisableIsLoggedAndNeverReverted) {
    sim().setRedirectionCallsAvailable(false);
    DisableFSRedir();
    EXPECT_TRUE(State().redirectionDisabled);
    RevertFSRedir();
    EXPECT_EQ(1, sim().redirectionDisableCalls());
    EXPECT_EQ(0, sim().redirectionRevertCalls());
    EXPECT_EQ((Lines{"\tDisableFSRedir:  The specified procedure could not be found."}), lines());
}

TEST_F(FileTests, SixtyFourBitTestByDriveLooksForProgramFilesX86) {
    EXPECT_TRUE(Is64BitWindows(""));
    EXPECT_TRUE(Is64BitWindows("C:"));
    EXPECT_FALSE(Is64BitWindows("D:"));
}

TEST_F(FileTests32, On32BitWindowsTheSwitchOnlyRecords) {
    EXPECT_FALSE(Is64BitWindows(""));
    EXPECT_FALSE(Is64BitWindows("C:"));
    DisableFSRedir();
    EXPECT_TRUE(State().redirectionDisabled);
    RevertFSRedir();
    EXPECT_EQ(0, sim().redirectionDisableCalls());
    EXPECT_TRUE(lines().empty());
}

}  // namespace
}  // namespace vx::test
