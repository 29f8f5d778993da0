// The plan layer's own promises, call by call, over a simulated 64-bit Windows 7.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/plan/PlanPlatform.h"
#include "platform/sim/SimWindows.h"

namespace vx::test {
namespace {

using namespace platform;
using plan::PlanPlatform;

constexpr std::uint32_t k64 = kKeyWow64_64Key;
constexpr std::uint32_t k32 = kKeyWow64_32Key;
constexpr std::uint32_t kAll = kKeyAllAccess;

class PlanLayer : public testing::Test {
protected:
    sim::SimWindows sim_{sim::Bitness::Windows64};
    std::unique_ptr<PlanPlatform> plan_ = std::make_unique<PlanPlatform>(sim_);
    Registry& registry() { return plan_->registry(); }

    Status open(RegistryHandle root, const std::string& path, std::uint32_t access,
                RegistryHandle& key) {
        return registry().openKey(root, path, access, key);
    }
    // The A text of a value through the plan, "<status>" when it cannot be read.
    std::string read(RegistryHandle key, const std::string& name) {
        std::uint32_t type = 0, size = 0;
        std::string data;
        const Status status = registry().queryValue(key, name, 64, type, data, size);
        return status == kSuccess ? std::string(data.c_str()) : "<" + std::to_string(status) + ">";
    }
    std::string text(RegistryHandle root, const std::string& path, std::uint32_t view,
                     const std::string& name) {
        RegistryHandle key = 0;
        const Status status = open(root, path, kKeyRead | view, key);
        if (status != kSuccess) return "<open " + std::to_string(status) + ">";
        std::string value = read(key, name);
        EXPECT_EQ(kSuccess, registry().closeKey(key));
        return value;
    }
};

TEST_F(PlanLayer, RegistryReadsSeeTheRecordsInTheirOwnViewWhileTheSystemStaysAsItWas) {
    sim_.setRegistryValue("HKLM\\Software\\Wow6432Node\\Acme", "Edition",
                          {kRegString, std::string("Home\0", 5)});
    sim_.setRegistryValue("HKLM\\Software\\Acme\\Tree\\Leaf", "Colour",
                          {kRegString, std::string("green\0", 6)});

    // Read after write, in the 64-bit view only.
    RegistryHandle acme = 0;
    ASSERT_EQ(kSuccess, registry().createKey(kLocalMachine, "Software\\Acme", kAll | k64, acme));
    ASSERT_EQ(kSuccess, registry().setValue(acme, "Edition", kRegString, "Pro"));
    EXPECT_EQ("Pro", read(acme, "Edition"));
    std::uint32_t type = 0;
    std::string wide;
    ASSERT_EQ(kSuccess, registry().queryStoredValue(acme, "edition", type, wide));
    EXPECT_EQ(std::string("P\0r\0o\0\0\0", 8), wide) << "the W call reads the A write as UTF-16";
    EXPECT_EQ("Home", text(kLocalMachine, "Software\\Acme", k32, "Edition"));
    EXPECT_EQ("Home", text(kLocalMachine, "Software\\Acme", 0, "Edition"));
    EXPECT_EQ("Pro", text(kLocalMachine, "SOFTWARE\\acme", k64, "EDITION"));

    // A path through Wow6432Node names the 32-bit key, HKCR is HKLM\Software\Classes.
    RegistryHandle made = 0;
    ASSERT_EQ(kSuccess,
              registry().createKey(kLocalMachine, "Software\\Wow6432Node\\Beta", kAll | k64, made));
    ASSERT_EQ(kSuccess, registry().setValue(made, "", kRegString, "b"));
    EXPECT_EQ("b", text(kLocalMachine, "Software\\Beta", k32, ""));
    EXPECT_EQ("<open 2>", text(kLocalMachine, "Software\\Beta", k64, ""));
    RegistryHandle server = 0;
    ASSERT_EQ(kSuccess, registry().createKey(kClassesRoot, "CLSID\\{c}", kAll, server));
    ASSERT_EQ(kSuccess, registry().setValue(server, "", kRegString, "c"));
    EXPECT_EQ("c", text(kLocalMachine, "Software\\Classes\\Wow6432Node\\CLSID\\{c}", k64, ""));
    EXPECT_EQ("<open 2>", text(kClassesRoot, "CLSID\\{c}", k64, ""));

    // A key with subkeys refuses deletion; deleted keys vanish with their values, and a key
    // made again is a new, empty one.
    RegistryHandle tree = 0;
    ASSERT_EQ(kSuccess, open(kLocalMachine, "Software\\Acme\\Tree", kAll | k64, tree));
    EXPECT_EQ(kErrorAccessDenied, registry().deleteKey(acme, "Tree"));
    RegistryHandle leaf = 0;
    ASSERT_EQ(kSuccess, open(kLocalMachine, "Software\\Acme\\Tree\\Leaf", kAll | k64, leaf));
    EXPECT_EQ(kSuccess, registry().deleteKey(tree, "Leaf"));
    std::uint32_t size = 0;
    EXPECT_EQ(kErrorKeyDeleted, registry().queryValue(leaf, "Colour", 64, type, wide, size));
    std::string name;
    EXPECT_EQ(kErrorNoMoreItems, registry().enumKey(tree, 0, name));
    EXPECT_EQ(kSuccess, registry().deleteKey(acme, "Tree"));
    EXPECT_EQ(kErrorFileNotFound, registry().deleteKey(acme, "Tree"));
    EXPECT_EQ("<open 2>", text(kLocalMachine, "Software\\Acme\\Tree\\Leaf", k64, "Colour"));
    RegistryHandle again = 0;
    ASSERT_EQ(kSuccess, registry().createKey(acme, "Tree\\Leaf", kAll, again));
    EXPECT_EQ("<2>", read(again, "Colour"));
    EXPECT_EQ(kErrorNoMoreItems, registry().enumValue(again, 0, name));
    ASSERT_EQ(kSuccess, registry().enumKey(acme, 0, name));
    EXPECT_EQ("Tree", name);

    // None of it reached the system.
    EXPECT_FALSE(sim_.registryValue("HKLM\\Software\\Acme", "Edition").has_value());
    EXPECT_FALSE(sim_.registryKeyExists("HKLM\\Software\\Wow6432Node\\Beta"));
    EXPECT_FALSE(sim_.registryKeyExists("HKCR\\Wow6432Node\\CLSID\\{c}"));
    EXPECT_TRUE(sim_.registryValue("HKLM\\Software\\Acme\\Tree\\Leaf", "Colour").has_value());

    // Every handle underneath is the plan's to close: with its own, or with the plan.
    EXPECT_EQ(3, sim_.openRegistryHandles()) << "acme, tree, leaf (deleted in the plan) are real";
    for (const RegistryHandle key : {made, server, tree, leaf, again}) {
        EXPECT_EQ(kSuccess, registry().closeKey(key));
    }
    EXPECT_EQ(kErrorInvalidHandle, registry().closeKey(tree));
    EXPECT_EQ(1, plan_->openKeys());
    plan_.reset();
    EXPECT_EQ(0, sim_.openRegistryHandles());
}

TEST_F(PlanLayer, FilesLinksProfilesAndProcessesAreRecordedNeverMade) {
    sim_.addFile("C:\\Windows\\SysWOW64\\x.dll", "32");
    sim_.addFile("C:\\Data\\a.txt", "alpha");
    FileSystem& files = plan_->files();

    // With redirection on, System32 is SysWOW64, for the records as for the system.
    ASSERT_EQ(kSuccess, files.writeFile("C:\\Windows\\System32\\x.dll", "new", false));
    EXPECT_EQ("new", files.readFile("C:\\Windows\\SysWOW64\\x.dll"));
    std::uintptr_t saved = 0;
    ASSERT_EQ(kSuccess, plan_->redirection().disable(saved));
    EXPECT_FALSE(files.readFile("C:\\Windows\\System32\\x.dll").has_value());
    ASSERT_EQ(kSuccess, plan_->redirection().revert(saved));

    EXPECT_EQ(kSuccess, files.deleteFile("C:\\Data\\a.txt"));
    EXPECT_EQ(kErrorFileNotFound, files.deleteFile("c:\\data\\A.TXT"));
    EXPECT_EQ(0x402, files.shellCopy("C:\\Data\\a.txt", "C:\\Out\\b.txt"));
    // A copy makes the folders on the way and carries the bytes as the plan reads them.
    EXPECT_EQ(0, files.shellCopy("C:\\Windows\\System32\\x.dll", "C:\\Out\\New\\y.dll"));
    EXPECT_EQ(kAttributeDirectory, files.attributes("C:\\Out\\New"));
    EXPECT_EQ(kSuccess, files.writeFile("C:\\Out\\New\\y.dll", "+", true));
    EXPECT_EQ("new+", files.readFile("C:\\Out\\New\\y.dll"));
    EXPECT_EQ("y.dll", files.firstListedName("C:\\Out\\New\\*.dll"));
    EXPECT_EQ(kErrorDirNotEmpty, files.removeDirectory("C:\\Out"));
    EXPECT_EQ(kErrorPathNotFound, files.writeFile("C:\\Nowhere\\z.txt", "z", false));

    ShellLinkData link;
    link.target = "C:\\help.exe";
    ASSERT_TRUE(plan_->shell().createLink("C:\\Data\\Help.lnk", link));
    EXPECT_TRUE(files.attributes("C:\\Data\\Help.lnk").has_value());
    EXPECT_EQ("C:\\help.exe", plan_->shell().readLink("C:\\Data\\Help.lnk").value().target);
    EXPECT_FALSE(plan_->shell().createLink("C:\\Nowhere\\Help.lnk", link));

    ProfileFiles& profiles = plan_->profiles();
    EXPECT_TRUE(profiles.writeString("C:\\Data\\s.ini", "Main", "Count", " 0x10"));
    EXPECT_EQ(16u, profiles.readInt("c:\\DATA\\s.ini", "main", "count", 7));
    EXPECT_EQ("0x", profiles.readString("C:\\Data\\s.ini", "Main", "Count", "", 3));

    // Nothing starts, and a sleep does not wait though the counter moves on.
    EXPECT_EQ(nullptr, plan_->processes().start("reg.exe delete HKLM\\X /f", kShowHidden));
    const std::uint32_t start = plan_->processes().tickMilliseconds();
    plan_->processes().sleep(2000);
    EXPECT_EQ(start + 2000, plan_->processes().tickMilliseconds());

    EXPECT_EQ("32", sim_.fileBytes("C:\\Windows\\SysWOW64\\x.dll"));
    EXPECT_EQ("alpha", sim_.fileBytes("C:\\Data\\a.txt"));
    EXPECT_FALSE(sim_.directoryExists("C:\\Out"));
    EXPECT_FALSE(sim_.fileBytes("C:\\Data\\Help.lnk").has_value());
    EXPECT_FALSE(sim_.fileBytes("C:\\Data\\s.ini").has_value());
    EXPECT_TRUE(sim_.launches().empty());
    EXPECT_EQ(0u, sim_.virtualMilliseconds());

    std::string list;
    for (const auto& change : plan_->changes()) list += Describe(change) + "\n";
    EXPECT_EQ(
        "write file C:\\Windows\\SysWOW64\\x.dll: 2 bytes -> 3 bytes\n"
        "delete file C:\\Data\\a.txt: 5 bytes -> (none)\n"
        "create folder C:\\Out: (none) -> folder\n"
        "create folder C:\\Out\\New: (none) -> folder\n"
        "copy file C:\\Out\\New\\y.dll: (none) -> 3 bytes from C:\\Windows\\SysWOW64\\x.dll\n"
        "append to file C:\\Out\\New\\y.dll: 3 bytes -> 4 bytes\n"
        "create link C:\\Data\\Help.lnk: (none) -> link to C:\\help.exe\n"
        "write profile string C:\\Data\\s.ini [Main] Count: \"\" -> \"0x10\"\n"
        "start process reg.exe delete HKLM\\X /f: (none) -> not started\n",
        list);
}

}  // namespace
}  // namespace vx::test
