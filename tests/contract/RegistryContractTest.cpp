// Registry values through the top-key / key-path / type-code layer, and the registry views a
// 32-bit program meets on 64-bit Windows.

#include <string>
#include <vector>

#include "contract/ContractFixture.h"
#include "registry/RegistryValues.h"

namespace vx::contract {
namespace {

using platform::RegistryHandle;
using registry::fReadValue;
using registry::fWriteValue;
using registry::RegValue;

class RegistryContract : public ContractTest {
protected:
    void SetUp() override {
        ContractTest::SetUp();
        id_ = "VexillaContract\\run" + std::to_string(system().processes().tickMilliseconds()) +
              "-" + std::to_string(++counter_);
        key_ = "Software\\" + id_;
    }
    void TearDown() override {
        for (const std::uint32_t view : {platform::kKeyWow64_64Key, platform::kKeyWow64_32Key}) {
            deleteTree(platform::kLocalMachine, "Software\\VexillaContract", view);
            deleteTree(platform::kClassesRoot, "CLSID\\{" + guid() + "}", view);
        }
        ContractTest::TearDown();
    }

    // Bottom-up, as plain key deletion refuses a key with subkeys.
    void deleteTree(RegistryHandle root, const std::string& path, std::uint32_t view) {
        auto& registry = system().registry();
        RegistryHandle key = 0;
        if (registry.openKey(root, path, platform::kKeyAllAccess | view, key) != 0) {
            return;
        }
        std::vector<std::string> children;
        std::string name;
        for (std::uint32_t i = 0; registry.enumKey(key, i, name) == 0; ++i) {
            children.push_back(name);
        }
        for (const auto& child : children) {
            deleteTree(root, path + "\\" + child, view);
            static_cast<void>(registry.deleteKey(key, child));
        }
        static_cast<void>(registry.closeKey(key));
        const auto slash = path.find_last_of('\\');
        RegistryHandle parent = 0;
        if (registry.openKey(root, path.substr(0, slash), platform::kKeyAllAccess | view, parent) ==
            0) {
            static_cast<void>(registry.deleteKey(parent, path.substr(slash + 1)));
            static_cast<void>(registry.closeKey(parent));
        }
    }

    bool keyExists(RegistryHandle root, const std::string& path, std::uint32_t access) {
        RegistryHandle key = 0;
        const auto status = system().registry().openKey(root, path, access, key);
        if (status == 0) {
            static_cast<void>(system().registry().closeKey(key));
        }
        return status == 0;
    }

    std::string guid() const { return "vexilla-contract-" + id_.substr(id_.find('\\') + 1); }

    std::string id_, key_;
    static inline int counter_ = 0;
};

TEST_F(RegistryContract, ValuesReadBackAsWritten) {
    EXPECT_EQ(0u, fWriteValue("HKLM", key_, "Manufacturer", "S", std::string("Northwind Systems")));
    EXPECT_EQ(0u, fWriteValue("HKLM", key_, "HelpCustomized", "D", std::int32_t{0}));
    EXPECT_EQ(0u, fWriteValue("HKLM", key_, "Count", "d", std::string("-42")));
    EXPECT_EQ(0u, fWriteValue("hklm", key_, "", "S", std::string("default value")));

    RegValue value;
    EXPECT_EQ(0u, fReadValue("HKLM", key_, "Manufacturer", "S", std::string(), value));
    EXPECT_EQ(RegValue(std::string("Northwind Systems")), value);
    EXPECT_EQ(0u, fReadValue("HKLM", key_, "HelpCustomized", "D", std::int32_t{7}, value));
    EXPECT_EQ(RegValue(std::int32_t{0}), value);
    EXPECT_EQ(0u, fReadValue("HKLM", key_, "Count", "D", std::int32_t{0}, value));
    EXPECT_EQ(RegValue(std::int32_t{-42}), value);
    EXPECT_EQ(0u, fReadValue("HKLM", key_, "", "S", std::string(), value));
    EXPECT_EQ(RegValue(std::string("default value")), value);
}

TEST_F(RegistryContract, ExpandableStringsAreStoredWithTheirType) {
    EXPECT_EQ(0u, fWriteValue("HKLM", key_, "InProc", "E",
                              std::string("%SystemRoot%\\system32\\shdocvw.dll")));
    RegistryHandle key = 0;
    ASSERT_EQ(0u, system().registry().openKey(
                      platform::kLocalMachine, key_,
                      platform::kKeyQueryValue |
                          (World().is64BitWindows() ? platform::kKeyWow64_64Key : 0),
                      key));
    std::uint32_t type = 0, size = 0;
    std::string data;
    EXPECT_EQ(0u, system().registry().queryValue(key, "InProc", 256, type, data, size));
    EXPECT_EQ(platform::kRegExpandString, type);
    EXPECT_EQ(std::string("%SystemRoot%\\system32\\shdocvw.dll") + '\0', data);
    EXPECT_EQ(data.size(), size);
    // Asking with no room gives the size needed.
    EXPECT_EQ(platform::kErrorMoreData,
              system().registry().queryValue(key, "InProc", 0, type, data, size));
    EXPECT_EQ(34u, size);
    EXPECT_EQ(0u, system().registry().closeKey(key));

    RegValue value = std::string("untouched");
    EXPECT_EQ(0u, fReadValue("HKLM", key_, "InProc", "E", std::string("untouched"), value));
    EXPECT_EQ(RegValue(std::string("untouched")), value) << "an E read only looks";
}

TEST_F(RegistryContract, MultiStringsAppend) {
    EXPECT_EQ(0u, fWriteValue("HKLM", key_, "List", "M", std::string("a")));
    EXPECT_EQ(0u, fWriteValue("HKLM", key_, "List", "M", std::string("b")));
    RegValue value;
    EXPECT_EQ(0u, fReadValue("HKLM", key_, "List", "M", std::string(), value));
    EXPECT_EQ(RegValue(std::string("a\0b\0", 4)), value);
    EXPECT_EQ(0u, fWriteValue("HKLM", key_, "List", "M", std::string("b")));
    EXPECT_EQ(0u, fReadValue("HKLM", key_, "List", "M", std::string(), value));
    EXPECT_EQ(RegValue(std::string("a\0b\0b\0", 6)), value);
}

TEST_F(RegistryContract, BinaryBooleansAreTwoBytesAndReadBackAsWritten) {
    const std::string deep = key_ + "\\one\\two";
    EXPECT_EQ(0u, fWriteValue("HKLM", deep, "Flag", "B", true));
    EXPECT_EQ(0u, fWriteValue("HKLM", deep, "Off", "B", false));
    RegValue value = std::string("default");
    EXPECT_EQ(0u, fReadValue("HKLM", deep, "Flag", "B", std::string("default"), value));
    EXPECT_EQ(RegValue(true), value);
    EXPECT_EQ(0u, fReadValue("HKLM", deep, "Off", "B", true, value));
    EXPECT_EQ(RegValue(false), value);

    const std::uint32_t view = World().is64BitWindows() ? platform::kKeyWow64_64Key : 0;
    RegistryHandle key = 0;
    ASSERT_EQ(0u, system().registry().openKey(platform::kLocalMachine, deep,
                                              platform::kKeyQueryValue | view, key))
        << "every key on the way was created";
    std::uint32_t type = 0, size = 0;
    std::string data;
    EXPECT_EQ(0u, system().registry().queryValue(key, "Flag", 16, type, data, size));
    EXPECT_EQ(platform::kRegBinary, type);
    EXPECT_EQ(std::string(2, '\xFF'), data) << "a VB True";
    EXPECT_EQ(0u, system().registry().queryValue(key, "Off", 16, type, data, size));
    EXPECT_EQ(std::string(2, '\0'), data);
    EXPECT_EQ(0u, system().registry().closeKey(key));
}

TEST_F(RegistryContract, MissingValuesAndKeysKeepTheDefault) {
    RegValue value;
    EXPECT_EQ(2u, fReadValue("HKLM", key_ + "\\absent", "X", "S", std::string("dflt"), value));
    EXPECT_EQ(RegValue(std::string("dflt")), value);
    EXPECT_EQ(0u, fWriteValue("HKLM", key_, "Other", "S", std::string("x")));
    EXPECT_EQ(2u, fReadValue("HKLM", key_, "Missing", "D", std::int32_t{5}, value));
    EXPECT_EQ(RegValue(std::int32_t{5}), value);
}

TEST_F(RegistryContract, UnknownTopKeysNeverReachTheRegistry) {
    RegValue value = std::string("kept");
    EXPECT_EQ(99u, fReadValue("HKEY_LOCAL_MACHINE", key_, "X", "S", std::string("kept"), value));
    EXPECT_EQ(RegValue(std::string("kept")), value);
    EXPECT_EQ(99u, fWriteValue("HKEY_LOCAL_MACHINE", key_, "X", "S", std::string("v")));
    EXPECT_FALSE(keyExists(platform::kLocalMachine, key_, platform::kKeyQueryValue));
}

TEST_F(RegistryContract, WritesLandInThe64BitView) {
    EXPECT_EQ(0u, fWriteValue("HKLM", key_, "Model", "S", std::string("X1")));
    EXPECT_EQ(0u, fWriteValue("HKCR", "CLSID\\{" + guid() + "}\\InProcServer32", "", "E",
                              std::string("%SystemRoot%\\system32\\shdocvw.dll")));
    if (World().is64BitWindows()) {
        EXPECT_TRUE(keyExists(platform::kLocalMachine, key_,
                              platform::kKeyQueryValue | platform::kKeyWow64_64Key));
        EXPECT_FALSE(keyExists(platform::kLocalMachine, key_,
                               platform::kKeyQueryValue | platform::kKeyWow64_32Key));
        EXPECT_FALSE(keyExists(platform::kLocalMachine, "Software\\Wow6432Node\\" + id_,
                               platform::kKeyQueryValue | platform::kKeyWow64_64Key));
        EXPECT_TRUE(keyExists(platform::kClassesRoot, "CLSID\\{" + guid() + "}",
                              platform::kKeyQueryValue | platform::kKeyWow64_64Key));
        EXPECT_FALSE(keyExists(platform::kClassesRoot, "CLSID\\{" + guid() + "}",
                               platform::kKeyQueryValue | platform::kKeyWow64_32Key));
    } else {
        EXPECT_TRUE(keyExists(platform::kLocalMachine, key_, platform::kKeyQueryValue));
    }
    RegValue value;
    EXPECT_EQ(0u, fReadValue("HKLM", key_, "Model", "S", std::string(), value));
    EXPECT_EQ(RegValue(std::string("X1")), value);
}

TEST_F(RegistryContract, AWow6432NodePathIsReadInTheRedirectedView) {
    if (!World().is64BitWindows()) {
        GTEST_SKIP() << "one registry view on 32-bit Windows";
    }
    RegistryHandle key = 0;
    ASSERT_EQ(
        0u, system().registry().createKey(platform::kLocalMachine, key_,
                                          platform::kKeySetValue | platform::kKeyWow64_32Key, key));
    ASSERT_EQ(0u, system().registry().setValue(key, "Where", platform::kRegString,
                                               std::string("32-bit view") + '\0'));
    ASSERT_EQ(0u, system().registry().closeKey(key));

    RegValue value;
    EXPECT_EQ(0u, fReadValue("HKLM", "Software\\Wow6432Node\\" + id_, "Where", "S", std::string(),
                             value));
    EXPECT_EQ(RegValue(std::string("32-bit view")), value);
    EXPECT_EQ(2u, fReadValue("HKLM", key_, "Where", "S", std::string(), value))
        << "the plain path is read in the 64-bit view";
}

TEST_F(RegistryContract, ATopKeyNamingAFileReadsAndWritesThatFile) {
    const std::string file = FreshFolder("regini") + "\\toolkit.ini";
    ASSERT_EQ(0u, system().files().writeFile(
                      file, "[Config]\r\nDisableSideBarThemes=1\r\nCount=12\r\n", false));
    RegValue value;
    EXPECT_EQ(0u, fReadValue(file, "Config", "DisableSideBarThemes", "S", std::string(), value));
    EXPECT_EQ(RegValue(std::string("1")), value);
    EXPECT_EQ(0u, fReadValue(file, "Config", "Absent", "S", std::string("dflt"), value));
    EXPECT_EQ(RegValue(std::string("dflt")), value);
    EXPECT_EQ(0u, fReadValue(file, "Config", "Count", "D", std::int32_t{0}, value));
    EXPECT_EQ(RegValue(std::int32_t{12}), value);

    EXPECT_EQ(0u, fWriteValue(file, "General", "PasswordProtectedLaunch", "S", std::string("0")));
    EXPECT_EQ("0",
              system().profiles().readString(file, "General", "PasswordProtectedLaunch", "", 255));
    EXPECT_EQ(99u, fWriteValue(file, "General", "Number", "D", std::int32_t{3}));
}

}  // namespace
}  // namespace vx::contract
