// The simulated registry: the views a 32-bit process meets, handles and status codes, as
// measured under Wine 8 (64-bit and 32-bit prefixes, 32-bit probe). Writes in the 64-bit view
// (HKLM\Software and HKCR\CLSID), the plain path missing from it after a 32-bit-view write,
// a missing key, and values read back as written are pinned by
// tests/contract/RegistryContractTest.cpp.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {
namespace {

constexpr std::uint32_t kReadWrite =
    kKeyQueryValue | kKeySetValue | kKeyCreateSubKey | kKeyEnumerateSubKeys;
constexpr std::uint32_t kView64 = kReadWrite | kKeyWow64_64Key;
constexpr std::uint32_t kView32 = kReadWrite | kKeyWow64_32Key;

bool Holds(const std::optional<RegistryData>& value, std::uint32_t type, const std::string& bytes) {
    return value.has_value() && value->type == type && value->bytes == bytes;
}

class SimRegistryTest : public testing::Test {
protected:
    explicit SimRegistryTest(Bitness bitness = Bitness::Windows64) : windows_(bitness) {}

    SimRegistry& registry() { return static_cast<SimRegistry&>(windows_.registry()); }

    // The stored key a call reaches, or "rc=<status>"; the handle is closed again.
    std::string Reach(RegistryHandle parent, const std::string& path, std::uint32_t access,
                      bool create = false) {
        RegistryHandle key = 0;
        const Status status = create ? registry().createKey(parent, path, access, key)
                                     : registry().openKey(parent, path, access, key);
        if (status != kSuccess) return "rc=" + std::to_string(status);
        const std::string reached = registry().storedPath(key).value_or("?");
        EXPECT_EQ(0u, registry().closeKey(key));
        return reached;
    }
    std::string Make(RegistryHandle parent, const std::string& path, std::uint32_t access) {
        return Reach(parent, path, access, true);
    }
    RegistryHandle Open(RegistryHandle parent, const std::string& path, std::uint32_t access) {
        RegistryHandle key = 0;
        EXPECT_EQ(0u, registry().openKey(parent, path, access, key)) << path;
        return key;
    }

    SimWindows windows_;
};

class SimRegistry32Test : public SimRegistryTest {
protected:
    SimRegistry32Test() : SimRegistryTest(Bitness::Windows32) {}
};

TEST_F(SimRegistryTest, RootPathsReachWow6432NodeUnlessTheNativeViewIsAsked) {
    EXPECT_EQ("HKLM\\Software\\Wow6432Node\\VxA", Make(kLocalMachine, "Software\\VxA", kReadWrite));
    EXPECT_EQ("HKLM\\Software\\Wow6432Node\\VxB", Make(kLocalMachine, "SOFTWARE\\VxB", kView32));
    EXPECT_EQ("HKLM\\Software\\VxD",
              Make(kLocalMachine, "Software\\VxD", kView64 | kKeyWow64_32Key))
        << "the 64-bit flag wins";
    EXPECT_EQ("HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\OEMInformation",
              Make(kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation",
                   kReadWrite));
    // Naming Wow6432Node reaches the same key from both views, never a nested one.
    EXPECT_EQ("HKLM\\Software\\Wow6432Node\\VxA",
              Reach(kLocalMachine, "Software\\Wow6432Node\\VxA", kReadWrite));
    EXPECT_EQ("HKLM\\Software\\Wow6432Node\\VxA",
              Reach(kLocalMachine, "Software\\Wow6432Node\\VxA", kView64));
    // Outside HKLM\Software nothing has a Wow6432Node.
    EXPECT_EQ("HKLM\\System\\VxE", Make(kLocalMachine, "System\\VxE", kReadWrite));
    EXPECT_EQ("HKU\\" + std::string(kUserSid) + "\\Software\\VxF",
              Make(kCurrentUser, "Software\\VxF", kView32));
    EXPECT_TRUE(windows_.registryKeyExists("HKCU\\Software\\VxF"));
    EXPECT_TRUE(windows_.registryKeyExists("HKLM\\Software\\Wow6432Node\\VxA"));
    EXPECT_FALSE(windows_.registryKeyExists("HKLM\\Software\\VxA"));
}

TEST_F(SimRegistryTest, AnyKeyThatHasAWow6432NodeRedirectsTheThirtyTwoBitView) {
    windows_.addRegistryKey("HKCU\\Software\\VxUser\\Wow6432Node\\Inner");
    const std::string user = "HKU\\" + std::string(kUserSid) + "\\Software\\VxUser";
    EXPECT_EQ(user + "\\Wow6432Node", Reach(kCurrentUser, "Software\\VxUser", kReadWrite));
    EXPECT_EQ(user + "\\Wow6432Node\\Inner",
              Reach(kCurrentUser, "Software\\VxUser\\Inner", kReadWrite));
    EXPECT_EQ(user, Reach(kCurrentUser, "Software\\VxUser", kView64));
    EXPECT_EQ("rc=2", Reach(kCurrentUser, "Software\\VxUser\\Inner", kView64));
}

TEST_F(SimRegistryTest, ClassesShareEverythingButTheirOwnThirtyTwoBitKeys) {
    const std::string classes = "HKLM\\Software\\Classes\\";
    EXPECT_EQ(classes + "Wow6432Node\\CLSID\\{1}", Make(kClassesRoot, "CLSID\\{1}", kReadWrite));
    EXPECT_EQ(classes + "Wow6432Node\\Interface\\{2}",
              Make(kClassesRoot, "Interface\\{2}", kView32));
    EXPECT_EQ(classes + "Wow6432Node\\CLSID\\{4}",
              Make(kLocalMachine, "Software\\Classes\\CLSID\\{4}", kReadWrite));
    // Names Classes\Wow6432Node lacks are found and made in the shared Classes.
    EXPECT_EQ(classes + ".vx", Make(kClassesRoot, ".vx", kReadWrite));
    EXPECT_EQ(classes + "Vx.Prog\\CLSID", Make(kClassesRoot, "Vx.Prog\\CLSID", kReadWrite));
    EXPECT_EQ(classes + "AppID\\{5}", Make(kClassesRoot, "AppID\\{5}", kReadWrite));
    EXPECT_EQ(classes + "TypeLib\\{6}", Make(kClassesRoot, "TypeLib\\{6}", kReadWrite));
    EXPECT_EQ(classes + "VxShared", Make(kClassesRoot, "Wow6432Node\\VxShared", kReadWrite));
    EXPECT_EQ(classes + "VxShared2",
              Make(kLocalMachine, "Software\\Classes\\Wow6432Node\\VxShared2", kReadWrite));
    EXPECT_EQ(classes + "Wow6432Node\\VxOwn", Make(kClassesRoot, "Wow6432Node\\VxOwn", kView64));
    EXPECT_EQ(classes + "Wow6432Node\\VxOwn", Reach(kClassesRoot, "VxOwn", kReadWrite));
    EXPECT_EQ("rc=2", Reach(kClassesRoot, "VxOwn", kView64));
    // Ending on Classes\Wow6432Node without naming it gives the shared Classes key.
    EXPECT_EQ("HKLM\\Software\\Classes", Reach(kLocalMachine, "Software\\Classes", kReadWrite));
    EXPECT_EQ("HKLM\\Software\\Classes",
              Reach(kLocalMachine, "Software\\Wow6432Node\\Classes", kReadWrite));
    EXPECT_EQ("HKLM\\Software\\Classes\\Wow6432Node",
              Reach(kLocalMachine, "Software\\Wow6432Node\\Classes", kView64));
    EXPECT_EQ("HKLM\\Software\\Classes\\Wow6432Node",
              Reach(kClassesRoot, "Wow6432Node", kReadWrite));
}

TEST_F(SimRegistryTest, BelowAHandleTheWalkStartsAtItsOwnKey) {
    windows_.addRegistryKey("HKLM\\Software\\VxOnly64");
    const RegistryHandle software64 = Open(kLocalMachine, "Software", kView64);
    EXPECT_EQ("HKLM\\Software\\VxOnly64", Reach(software64, "VxOnly64", kReadWrite));
    EXPECT_EQ("rc=2", Reach(software64, "VxOnly64", kView32));
    EXPECT_EQ("HKLM\\Software\\VxNew", Make(software64, "VxNew", kReadWrite));
    EXPECT_EQ("HKLM\\Software\\Wow6432Node\\VxNew32", Make(software64, "VxNew32", kView32));
    EXPECT_EQ("HKLM\\Software\\Wow6432Node", Reach(software64, "", kReadWrite));
    EXPECT_EQ("HKLM\\Software", Make(software64, "", kReadWrite)) << "create: same key";
    EXPECT_EQ("HKLM\\Software", Reach(software64, "", kView64));

    const RegistryHandle software32 = Open(kLocalMachine, "Software", kReadWrite);
    EXPECT_EQ("HKLM\\Software\\Wow6432Node", registry().storedPath(software32));
    EXPECT_EQ("HKLM\\Software\\Wow6432Node\\VxAny", Make(software32, "VxAny", kView64));

    const RegistryHandle classes64 = Open(kLocalMachine, "Software\\Classes", kView64);
    EXPECT_EQ("HKLM\\Software\\Classes\\Wow6432Node\\CLSID", Reach(classes64, "CLSID", kReadWrite));
    EXPECT_EQ("HKLM\\Software\\Classes\\Wow6432Node", Make(classes64, "", kReadWrite));

    // A handle whose key the 32-bit view lacks is used as it is.
    const RegistryHandle only64 = Open(kLocalMachine, "Software\\VxOnly64", kView64);
    EXPECT_EQ("HKLM\\Software\\VxOnly64\\Sub", Make(only64, "Sub", kView32));
    for (RegistryHandle key : {software64, software32, classes64, only64}) {
        EXPECT_EQ(0u, registry().closeKey(key));
    }
    EXPECT_EQ(0, windows_.openRegistryHandles());
}

TEST_F(SimRegistry32Test, ThirtyTwoBitWindowsHasOneViewAndIgnoresTheFlags) {
    EXPECT_FALSE(windows_.registryKeyExists("HKLM\\Software\\Wow6432Node"));
    EXPECT_EQ("HKLM\\Software\\VxA", Make(kLocalMachine, "Software\\VxA", kReadWrite));
    EXPECT_EQ("HKLM\\Software\\VxA", Reach(kLocalMachine, "Software\\VxA", kView64));
    EXPECT_EQ("HKLM\\Software\\VxA", Reach(kLocalMachine, "Software\\VxA", kView32));
    EXPECT_EQ("HKLM\\Software\\Classes\\CLSID\\{1}", Make(kClassesRoot, "CLSID\\{1}", kReadWrite));
    EXPECT_EQ("HKLM\\Software\\Wow6432Node\\VxB",
              Make(kLocalMachine, "Software\\Wow6432Node\\VxB", kReadWrite))
        << "an ordinary name here";
    EXPECT_EQ("rc=2", Reach(kLocalMachine, "Software\\VxB", kReadWrite));
}

TEST_F(SimRegistryTest, PathsAndHandlesGiveTheSystemsCodes) {
    EXPECT_EQ("rc=161", Reach(kLocalMachine, "\\Software", kReadWrite));
    EXPECT_EQ("rc=161", Make(kClassesRoot, "\\VxX", kReadWrite));
    EXPECT_EQ("HKLM\\Software\\Classes\\Wow6432Node\\CLSID",
              Reach(kClassesRoot, "\\CLSID", kReadWrite))
        << "opening below HKCR forgives one leading backslash";
    EXPECT_EQ("HKLM\\Software\\VxC\\D", Make(kLocalMachine, "Software\\\\VxC\\D\\", kView64));
    EXPECT_EQ("HKLM\\Software\\VxC\\D", Reach(kLocalMachine, "software\\vxc\\d", kView64));
    const std::string part(120, 'a');
    const std::string longest = "VxP\\" + part + "\\" + std::string(135, 'b');
    ASSERT_EQ(260u, longest.size());
    EXPECT_NE("rc=234", Make(kCurrentUser, longest, kView64));
    EXPECT_EQ("rc=234", Make(kCurrentUser, longest + "b", kView64));
    EXPECT_EQ("rc=234", Reach(kCurrentUser, longest + "b", kView64));
    const RegistryHandle user = Open(kCurrentUser, "Software", kReadWrite);
    EXPECT_NE("rc=87", Make(user, std::string(256, 'L'), kReadWrite));
    EXPECT_EQ("rc=87", Make(user, std::string(257, 'M'), kReadWrite));

    RegistryHandle key = 0xDEAD;
    EXPECT_EQ(0u, registry().openKey(kLocalMachine, "", kReadWrite, key));
    EXPECT_EQ(kLocalMachine, key) << "an empty name below a root is the root itself";
    EXPECT_EQ(0u, registry().openKey(kDynData, "", kReadWrite, key));
    EXPECT_EQ("rc=2", Reach(kDynData, "X", kReadWrite));
    EXPECT_EQ("HKLM", Make(kLocalMachine, "", kReadWrite));
    EXPECT_EQ("rc=6", Reach(0x80000007u, "X", kReadWrite));
    EXPECT_EQ("rc=6", Reach(0x1234, "X", kReadWrite));
    EXPECT_EQ(0u, registry().closeKey(kClassesRoot));
    EXPECT_EQ(0u, registry().closeKey(user));
    EXPECT_EQ(6u, registry().closeKey(user)) << "closed twice";
    EXPECT_EQ("rc=6", Reach(user, "X", kReadWrite));
    EXPECT_EQ(0, windows_.openRegistryHandles());
}

TEST_F(SimRegistryTest, DeletingRefusesKeysWithSubkeysAndUsesTheThirtyTwoBitView) {
    windows_.addRegistryKey("HKLM\\Software\\VxDel");
    windows_.addRegistryKey("HKLM\\Software\\Wow6432Node\\VxDel\\Child");
    EXPECT_EQ(5u, registry().deleteKey(kLocalMachine, "Software\\VxDel"));
    EXPECT_EQ(0u, registry().deleteKey(kLocalMachine, "Software\\VxDel\\child"));
    EXPECT_EQ(0u, registry().deleteKey(kLocalMachine, "Software\\VxDel"));
    EXPECT_FALSE(windows_.registryKeyExists("HKLM\\Software\\Wow6432Node\\VxDel"));
    EXPECT_TRUE(windows_.registryKeyExists("HKLM\\Software\\VxDel"));
    EXPECT_EQ(2u, registry().deleteKey(kLocalMachine, "Software\\VxDel"));
    const RegistryHandle software64 = Open(kLocalMachine, "Software", kView64);
    EXPECT_EQ(0u, registry().deleteKey(software64, "VxDel"));
    EXPECT_FALSE(windows_.registryKeyExists("HKLM\\Software\\VxDel"));
    EXPECT_EQ(2u, registry().deleteKey(kLocalMachine, "Software\\VxNope\\Deeper"));
    EXPECT_EQ(5u, registry().deleteKey(kLocalMachine, ""));
    EXPECT_EQ(161u, registry().deleteKey(kClassesRoot, "\\CLSID"));
    EXPECT_EQ(6u, registry().deleteKey(0x1234, "X"));
    EXPECT_EQ(0u, registry().closeKey(software64));
}

TEST_F(SimRegistryTest, AKeyDeletedWhileOpenAnswersKeyDeleted) {
    RegistryHandle key = 0;
    ASSERT_EQ(0u, registry().createKey(kCurrentUser, "Software\\VxGone", kKeyAllAccess, key));
    ASSERT_EQ(0u, registry().setValue(key, "v", kRegString, "x"));
    EXPECT_EQ(0u, registry().deleteKey(key, "")) << "an empty name deletes the handle's key";
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::string data;
    std::string name;
    RegistryHandle below = 0;
    EXPECT_EQ(1018u, registry().queryValue(key, "v", 16, type, data, size));
    EXPECT_EQ(1018u, registry().setValue(key, "v", kRegString, "y"));
    EXPECT_EQ(1018u, registry().deleteValue(key, "v"));
    EXPECT_EQ(1018u, registry().enumKey(key, 0, name));
    EXPECT_EQ(1018u, registry().openKey(key, "", kReadWrite, below));
    EXPECT_EQ(1018u, registry().createKey(key, "X", kReadWrite, below));
    // A key made again under the same name is a new key: the old handle does not reach it.
    windows_.addRegistryKey("HKCU\\Software\\VxGone");
    EXPECT_EQ(1018u, registry().setValue(key, "v", kRegString, "y"));
    EXPECT_FALSE(windows_.registryValue("HKCU\\Software\\VxGone", "v").has_value());
    EXPECT_EQ(0u, registry().closeKey(key));
    EXPECT_EQ(0, windows_.openRegistryHandles());
}

TEST_F(SimRegistryTest, QueryAnswersMoreDataWithTheSizeAndLeavesTheBufferAlone) {
    const RegistryHandle key = Open(kCurrentUser, "Software", kReadWrite);
    ASSERT_EQ(0u, registry().setValue(key, "Text", kRegString, "abc"));
    ASSERT_EQ(0u, registry().setValue(key, "Empty", kRegBinary, ""));
    std::uint32_t type = 0xDEAD;
    std::uint32_t size = 0xBEEF;
    std::string data = "sentinel";
    EXPECT_EQ(234u, registry().queryValue(key, "TEXT", 0, type, data, size));
    EXPECT_EQ(kRegString, type);
    EXPECT_EQ(4u, size) << "the missing terminator was added";
    EXPECT_EQ("sentinel", data);
    EXPECT_EQ(234u, registry().queryValue(key, "text", 3, type, data, size));
    EXPECT_EQ("sentinel", data);
    EXPECT_EQ(0u, registry().queryValue(key, "Text", 4, type, data, size));
    EXPECT_EQ(std::string("abc\0", 4), data);
    EXPECT_EQ(0u, registry().queryValue(key, "Empty", 0, type, data, size));
    EXPECT_EQ(kRegBinary, type);
    EXPECT_EQ(0u, size);
    EXPECT_EQ("", data);

    type = 0xDEAD;
    size = 0xBEEF;
    data = "sentinel";
    EXPECT_EQ(2u, registry().queryValue(key, "Missing", 64, type, data, size));
    EXPECT_EQ(2u, registry().queryValue(key, "", 64, type, data, size)) << "default not set";
    EXPECT_EQ(0xDEADu, type);
    EXPECT_EQ(0xBEEFu, size);
    EXPECT_EQ("sentinel", data);
    EXPECT_EQ(0u, registry().closeKey(key));
}

TEST_F(SimRegistryTest, SettingReplacesTypeAndDataAndKeepsBinaryBytesAsGiven) {
    const RegistryHandle key = Open(kCurrentUser, "Software", kReadWrite);
    ASSERT_EQ(0u, registry().setValue(key, "V", kRegString, "abc"));
    ASSERT_EQ(0u, registry().setValue(key, "v", kRegDword, std::string("\1\0\0", 3)));
    EXPECT_TRUE(
        Holds(windows_.registryValue("HKCU\\Software", "V"), kRegDword, std::string("\1\0\0", 3)));
    ASSERT_EQ(0u, registry().setValue(key, "Multi", kRegMultiString, std::string("a\0b", 3)));
    EXPECT_EQ(std::string("a\0b\0", 4), windows_.registryValue("HKCU\\Software", "multi")->bytes);
    ASSERT_EQ(0u, registry().setValue(key, "Raw", kRegBinary, "\xff\x81"));
    EXPECT_EQ("\xff\x81", windows_.registryValue("HKCU\\Software", "Raw")->bytes);
    ASSERT_EQ(0u, registry().setValue(key, "", kRegString, "d"));
    EXPECT_EQ(std::string("d\0", 2), windows_.registryValue("HKCU\\Software", "")->bytes);
    EXPECT_EQ(0u, registry().deleteValue(key, "RAW"));
    EXPECT_EQ(2u, registry().deleteValue(key, "Raw"));
    EXPECT_FALSE(windows_.registryValue("HKCU\\Software", "Raw").has_value());
    EXPECT_EQ(0u, registry().closeKey(key));
}

TEST_F(SimRegistryTest, SubkeysAreListedInLowerCaseOrderWithTheCaseOfCreation) {
    for (const char* name : {"b", "MiXeD", "_u", "A", "Z", "[y", "0", "mixed", "a"}) {
        windows_.addRegistryKey(std::string("HKCU\\Software\\VxNames\\") + name);
    }
    const std::vector<std::string> expected = {"0", "[y", "_u", "A", "b", "MiXeD", "Z"};
    const RegistryHandle key = Open(kCurrentUser, "Software\\VxNames", kReadWrite);
    std::vector<std::string> listed;
    std::string name;
    std::uint32_t index = 0;
    Status status = kSuccess;
    while ((status = registry().enumKey(key, index, name)) == kSuccess) {
        listed.push_back(name);
        ++index;
    }
    EXPECT_EQ(259u, status);
    EXPECT_EQ(expected, listed);
    EXPECT_EQ(0u, registry().closeKey(key));
}

TEST_F(SimRegistryTest, EachCallNeedsItsRightOnTheHandle) {
    windows_.setRegistryValue("HKCU\\Software\\VxRights", "v", {kRegString, std::string("x\0", 2)});
    windows_.addRegistryKey("HKCU\\Software\\VxRights\\Sub");
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::string data;
    std::string name;
    const RegistryHandle readOnly = Open(kCurrentUser, "Software\\VxRights", kKeyQueryValue);
    EXPECT_EQ(0u, registry().queryValue(readOnly, "v", 8, type, data, size));
    EXPECT_EQ(5u, registry().setValue(readOnly, "v", kRegString, "y"));
    EXPECT_EQ(5u, registry().deleteValue(readOnly, "v"));
    EXPECT_EQ(5u, registry().enumKey(readOnly, 0, name));
    EXPECT_EQ("HKU\\" + std::string(kUserSid) + "\\Software\\VxRights\\New",
              Make(readOnly, "New", kKeyQueryValue))
        << "creating below a handle needs no right on it";

    const RegistryHandle writeOnly = Open(kCurrentUser, "Software\\VxRights", kKeySetValue);
    EXPECT_EQ(5u, registry().queryValue(writeOnly, "v", 8, type, data, size));
    EXPECT_EQ(0u, registry().setValue(writeOnly, "v", kRegString, "y"));

    const RegistryHandle generic = Open(kCurrentUser, "Software\\VxRights", 0x80000000u);
    EXPECT_EQ(0u, registry().queryValue(generic, "v", 8, type, data, size));
    EXPECT_EQ(0u, registry().enumKey(generic, 0, name));
    EXPECT_EQ(5u, registry().setValue(generic, "v", kRegString, "z"));
    for (RegistryHandle key : {readOnly, writeOnly, generic}) {
        EXPECT_EQ(0u, registry().closeKey(key));
    }
}

TEST_F(SimRegistryTest, TheTestViewAddressesStoredPathsThroughTheRootAliases) {
    windows_.setRegistryValue("HKCR\\CLSID\\{7}", "", {kRegString, std::string("x", 1)});
    EXPECT_TRUE(windows_.registryKeyExists("HKLM\\Software\\Classes\\CLSID\\{7}"));
    EXPECT_TRUE(
        Holds(windows_.registryValue("hklm\\software\\classes\\clsid\\{7}", ""), kRegString, "x"))
        << "stored as given, without a terminator";
    windows_.addRegistryKey("HKLM\\Software\\Wow6432Node\\Classes\\VxThroughLink");
    EXPECT_TRUE(windows_.registryKeyExists("HKLM\\Software\\Classes\\Wow6432Node\\VxThroughLink"));
    windows_.addRegistryKey("HKEY_CURRENT_USER\\Software\\VxLong");
    EXPECT_TRUE(windows_.registryKeyExists("HKU\\" + std::string(kUserSid) + "\\Software\\VxLong"));
    EXPECT_FALSE(windows_.registryValue("HKCU\\Software\\VxMissing", "v").has_value());
    EXPECT_THROW(windows_.addRegistryKey("HKXX\\Software"), std::invalid_argument);
    EXPECT_THROW(static_cast<void>(windows_.registryKeyExists("")), std::invalid_argument);
}

}  // namespace
}  // namespace vx::platform::sim
