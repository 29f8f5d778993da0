// File and folder tests, and where files go with WoW64 redirection on and off.

#include <string>

#include "common/FileTests.h"
#include "contract/ContractFixture.h"

namespace vx::contract {
namespace {

using FileTestsContract = ContractTest;

TEST_F(FileTestsContract, FolderAndFileAreToldApart) {
    const std::string windows = Variable("SystemRoot");
    const std::string folder = FreshFolder("exist");
    const std::string file = folder + "\\present.txt";
    ASSERT_EQ(0u, system().files().writeFile(file, "x", false));

    EXPECT_TRUE(DoesDirExist(windows, false));
    EXPECT_FALSE(DoesFileExist(windows, false));
    EXPECT_TRUE(DoesFileExist(file, false));
    EXPECT_FALSE(DoesDirExist(file, false));
    EXPECT_TRUE(DoesDirExistNo64bitCheck(folder, false));
    EXPECT_FALSE(DoesDirExistNo64bitCheck(file, false));
    EXPECT_FALSE(DoesFileExist(folder + "\\absent.txt", false));
    EXPECT_FALSE(DoesDirExist(folder + "\\absent", false));
}

TEST_F(FileTestsContract, OnlyAnEmptyFolderIsRemoved) {
    auto& files = system().files();
    const std::string folder = FreshFolder("rmdir");
    for (const char* made : {"\\empty", "\\slash", "\\full", "\\full\\inner"}) {
        ASSERT_EQ(0u, files.createDirectory(folder + made));
    }
    ASSERT_EQ(0u, files.writeFile(folder + "\\file.txt", "x", false));

    EXPECT_EQ(0u, files.removeDirectory(folder + "\\empty"));
    EXPECT_EQ(0u, files.removeDirectory(folder + "\\slash\\"));
    EXPECT_EQ(platform::kErrorDirNotEmpty, files.removeDirectory(folder + "\\full"));
    EXPECT_EQ(platform::kErrorFileNotFound, files.removeDirectory(folder + "\\empty"));
    EXPECT_EQ(platform::kErrorPathNotFound, files.removeDirectory(folder + "\\none\\x"));
    EXPECT_EQ(platform::kErrorDirectory, files.removeDirectory(folder + "\\file.txt"));
    EXPECT_EQ(platform::kErrorInvalidName, files.removeDirectory(folder + "\\file.txt\\"));
    EXPECT_EQ(platform::kErrorInvalidName, files.removeDirectory(""));
    EXPECT_EQ(platform::kErrorInvalidName, files.removeDirectory(folder + "\\bad|name"));

    EXPECT_FALSE(files.attributes(folder + "\\empty").has_value());
    EXPECT_FALSE(files.attributes(folder + "\\slash").has_value());
    EXPECT_TRUE(files.attributes(folder + "\\full\\inner").has_value());
    EXPECT_TRUE(files.attributes(folder + "\\file.txt").has_value());
    EXPECT_EQ(0u, files.removeDirectory(folder + "\\full\\inner"));
    EXPECT_EQ(0u, files.removeDirectory(folder + "\\full"));
}

TEST_F(FileTestsContract, PathsLongerThanTheOldOpenFileLimitAreFound) {
    std::string path = FreshFolder("long");
    while (path.size() < 180) {
        path += "\\a-rather-long-folder-name";
        ASSERT_EQ(0u, system().files().createDirectory(path));
    }
    const std::string file = path + "\\oemlogo.bmp";
    ASSERT_EQ(0u, system().files().writeFile(file, "BM", false));
    EXPECT_TRUE(DoesFileExist(file, false));
    EXPECT_TRUE(DoesDirExist(path, false));
}

TEST_F(FileTestsContract, OnlyRootedPathsAreTested) {
    EXPECT_FALSE(DoesDirExist("Config", false));
    EXPECT_FALSE(DoesFileExist("C", false));
    EXPECT_FALSE(DoesDirExistNo64bitCheck("", false));
    EXPECT_FALSE(DoesDirExist("\\\\nohost-vx\\share", false));
}

TEST_F(FileTestsContract, SixtyFourBitTestFollowsTheSystem) {
    EXPECT_EQ(World().is64BitWindows(), Is64BitWindows(""));
    EXPECT_EQ(World().is64BitWindows(), Is64BitWindows(Variable("SystemDrive")));
}

class RedirectionContract : public ContractTest {
protected:
    void SetUp() override {
        ContractTest::SetUp();
        name_ = "vxcontract-" + std::to_string(system().processes().tickMilliseconds()) + ".txt";
        const std::string windows = Variable("SystemRoot");
        system32_ = windows + "\\System32\\" + name_;
        syswow64_ = windows + "\\SysWOW64\\" + name_;
    }
    void TearDown() override {
        State().redirectionControlAllowed = true;
        DisableFSRedir();
        static_cast<void>(system().files().deleteFile(system32_));
        RevertFSRedir();
        static_cast<void>(system().files().deleteFile(syswow64_));
        ContractTest::TearDown();
    }
    bool visibleNow(const std::string& path) {
        return system().files().attributes(path).has_value();
    }

    std::string name_, system32_, syswow64_;
};

TEST_F(RedirectionContract, WithRedirectionOffSystem32IsTheNativeOne) {
    DisableFSRedir();
    ASSERT_EQ(0u, system().files().writeFile(system32_, "native", false));
    EXPECT_TRUE(visibleNow(system32_));
    RevertFSRedir();

    EXPECT_TRUE(DoesFileExist(system32_, false)) << "the tests switch redirection off";
    if (World().is64BitWindows()) {
        // Our 32-bit view of System32 is SysWOW64: the native file is not there.
        EXPECT_FALSE(visibleNow(system32_));
        EXPECT_FALSE(visibleNow(syswow64_));
    } else {
        EXPECT_TRUE(visibleNow(system32_));
    }
}

TEST_F(RedirectionContract, WithRedirectionOnA32BitProgramWritesSysWow64) {
    ASSERT_EQ(0u, system().files().writeFile(system32_, "redirected", false));
    if (World().is64BitWindows()) {
        EXPECT_TRUE(visibleNow(syswow64_));
        EXPECT_FALSE(DoesFileExist(system32_, false));
    } else {
        EXPECT_TRUE(DoesFileExist(system32_, false));
    }
}

TEST_F(RedirectionContract, SwitchDoesNotCountNesting) {
    DisableFSRedir();
    DisableFSRedir();
    RevertFSRedir();
    ASSERT_EQ(0u, system().files().writeFile(system32_, "after one revert", false));
    if (World().is64BitWindows()) {
        EXPECT_TRUE(visibleNow(syswow64_)) << "one revert switched redirection back on";
    }
    RevertFSRedir();  // a revert without a disable does nothing
    EXPECT_FALSE(State().redirectionDisabled);
}

TEST_F(RedirectionContract, SystemCallsAnswerAsTheBitnessSays) {
    std::uintptr_t saved = 0;
    const auto status = system().redirection().disable(saved);
    if (World().is64BitWindows()) {
        ASSERT_EQ(0u, status);
        EXPECT_EQ(0u, system().redirection().revert(saved));
    } else {
        EXPECT_NE(0u, status);
    }
}

TEST_F(RedirectionContract, WithoutControlOnlyTheStateIsRecorded) {
    State().redirectionControlAllowed = false;
    DisableFSRedir();
    EXPECT_TRUE(State().redirectionDisabled);
    ASSERT_EQ(0u, system().files().writeFile(system32_, "still redirected", false));
    if (World().is64BitWindows()) {
        EXPECT_TRUE(visibleNow(syswow64_));
    }
    RevertFSRedir();
    EXPECT_FALSE(State().redirectionDisabled);
}

}  // namespace
}  // namespace vx::contract
