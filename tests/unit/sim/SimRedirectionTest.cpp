// WoW64 redirection as the simulated Windows applies it to our 32-bit process. Where a file
// directly in System32 goes with redirection on and off, on 64-bit and 32-bit Windows, is
// pinned by the redirection cases of tests/contract/FileTestsContractTest.cpp.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/PathName.h"
#include "platform/sim/SimRedirection.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {
namespace {

const PathName kWindows("C:", {"Windows"});

std::string Mapped(const std::string& text, bool wow64, bool redirecting) {
    const auto path = NormalisePath(text, PathName("C:", {}));
    return RedirectPath(*path, kWindows, wow64, redirecting).text();
}

TEST(SimRedirectionMapping, System32AndBelowGoToSysWow64WhileRedirecting) {
    EXPECT_EQ("C:\\Windows\\SysWOW64", Mapped("C:\\Windows\\System32", true, true));
    EXPECT_EQ("C:\\Windows\\SysWOW64\\oobe\\info\\oemlogo.bmp",
              Mapped("c:\\WINDOWS\\system32\\oobe\\info\\oemlogo.bmp", true, true));
    EXPECT_EQ("C:\\Windows\\System32x\\a", Mapped("C:\\Windows\\System32x\\a", true, true));
    EXPECT_EQ("C:\\Windows\\win.ini", Mapped("C:\\Windows\\win.ini", true, true));
}

TEST(SimRedirectionMapping, SharedFoldersAndSysnativeReachTheNativeSystem32) {
    for (const char* shared :
         {"drivers\\etc\\hosts", "spool\\x", "catroot\\x", "catroot2\\x", "LogFiles\\x"}) {
        const std::string path = std::string("C:\\Windows\\System32\\") + shared;
        EXPECT_EQ(path, Mapped(path, true, true)) << shared;
    }
    EXPECT_EQ("C:\\Windows\\SysWOW64\\drivers\\x.sys",
              Mapped("C:\\Windows\\System32\\drivers\\x.sys", true, true));
    EXPECT_EQ("C:\\Windows\\SysWOW64\\spoolx\\a",
              Mapped("C:\\Windows\\System32\\spoolx\\a", true, true));
    EXPECT_EQ("C:\\Windows\\System32\\reg.exe",
              Mapped("C:\\Windows\\Sysnative\\reg.exe", true, true));
    EXPECT_EQ("C:\\Windows\\System32\\reg.exe",
              Mapped("C:\\Windows\\Sysnative\\reg.exe", true, false));
    EXPECT_EQ("C:\\Windows\\Sysnative\\reg.exe",
              Mapped("C:\\Windows\\Sysnative\\reg.exe", false, true));
}

TEST(SimRedirectionSwitch, SavedValueIsThePreviousStateAndRevertRestoresIt) {
    SimWindows windows(Bitness::Windows64);
    Redirection& redirection = windows.redirection();
    std::uintptr_t outer = 0xDEAD;
    std::uintptr_t inner = 0xDEAD;
    ASSERT_EQ(0u, redirection.disable(outer));
    EXPECT_EQ(0u, outer) << "redirection was on";
    EXPECT_TRUE(windows.redirectionDisabledNow());
    ASSERT_EQ(0u, redirection.disable(inner));
    EXPECT_EQ(1u, inner) << "redirection was already off";
    ASSERT_EQ(0u, redirection.revert(inner));
    EXPECT_TRUE(windows.redirectionDisabledNow()) << "the inner revert keeps it off";
    ASSERT_EQ(0u, redirection.revert(outer));
    EXPECT_FALSE(windows.redirectionDisabledNow());
    EXPECT_EQ(2, windows.redirectionDisableCalls());
    EXPECT_EQ(2, windows.redirectionRevertCalls());
}

TEST(SimRedirectionSwitch, ThirtyTwoBitAndOldWindowsRefuseAndChangeNothing) {
    SimWindows windows32(Bitness::Windows32);
    std::uintptr_t saved = 0xDEAD;
    EXPECT_EQ(1u, windows32.redirection().disable(saved));
    EXPECT_EQ(0xDEADu, saved);
    EXPECT_EQ(1u, windows32.redirection().revert(saved));
    EXPECT_FALSE(windows32.redirectionDisabledNow());

    SimWindows old(Bitness::Windows64);
    old.setRedirectionCallsAvailable(false);
    EXPECT_EQ(127u, old.redirection().disable(saved));
    EXPECT_FALSE(old.redirectionDisabledNow());
    EXPECT_EQ(127u, old.redirection().revert(saved));
    EXPECT_EQ(1, old.redirectionDisableCalls());
    EXPECT_EQ(1, old.redirectionRevertCalls());
}

TEST(SimRedirectionView, TheFileFunctionsSeeTheCurrentViewAndTheWorldTheNativeOne) {
    SimWindows windows(Bitness::Windows64);
    FileSystem& files = windows.files();
    ASSERT_EQ(0u, files.writeFile("C:\\Windows\\System32\\a.txt", "32-bit", false));
    windows.addFile("C:\\Windows\\System32\\native.txt", "64-bit");
    EXPECT_EQ("64-bit", files.readFile("C:\\Windows\\Sysnative\\native.txt"));

    std::uintptr_t saved = 0;
    ASSERT_EQ(0u, windows.redirection().disable(saved));
    EXPECT_EQ("64-bit", files.readFile("C:\\Windows\\System32\\native.txt"));
    EXPECT_EQ("native.txt", files.firstListedName("C:\\Windows\\System32\\*.txt"));
    ASSERT_EQ(0u, windows.redirection().revert(saved));
    EXPECT_EQ("a.txt", files.firstListedName("C:\\Windows\\System32\\*.txt"));
}

}  // namespace
}  // namespace vx::platform::sim
