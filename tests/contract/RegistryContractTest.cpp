// Registry values through the top-key / key-path / type-code layer, and the registry views a
// 32-bit program meets on 64-bit Windows.

#include <string>
#include <string_view>
#include <vector>

#include "contract/ContractFixture.h"
#include "registry/RegistryValues.h"

namespace vx::contract {
namespace {

using platform::RegistryHandle;
using registry::fReadValue;
using registry::fWriteValue;
using registry::RegValue;

// UTF-16LE bytes, as the W calls store strings.
std::string Utf16(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

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

    // A handle on the test's key (created when missing) in the view the program writes.
    RegistryHandle openTestKey(const std::string& subKey, std::uint32_t access) {
        const std::uint32_t view = World().is64BitWindows() ? platform::kKeyWow64_64Key : 0;
        RegistryHandle key = 0;
        EXPECT_EQ(0u, system().registry().createKey(platform::kLocalMachine, key_ + subKey,
                                                    access | view, key));
        return key;
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

// The W calls: bytes as stored, the strings in UTF-16LE, names in UTF-8; the A calls read
// the same values through the ANSI code page (1252 here).
TEST_F(RegistryContract, StoredValuesRoundTripExactly) {
    auto& registry = system().registry();
    const RegistryHandle key = openTestKey("", platform::kKeyQueryValue | platform::kKeySetValue);
    std::uint32_t type = 0, size = 0;
    std::string bytes, ansi;
    const auto expectStored = [&](const std::string& name, std::uint32_t wantType,
                                  const std::string& wantBytes) {
        SCOPED_TRACE(name);
        bytes = "untouched";
        EXPECT_EQ(0u, registry.queryStoredValue(key, name, type, bytes));
        EXPECT_EQ(wantType, type);
        EXPECT_EQ(wantBytes, bytes);
    };

    const std::string mueller = Utf16(std::u16string(u"M\u00fcller") + u'\0');
    ASSERT_EQ(0u, registry.setStoredValue(key, "Owner", platform::kRegString, mueller));
    expectStored("Owner", platform::kRegString, mueller);
    EXPECT_EQ(0u, registry.queryValue(key, "Owner", 256, type, ansi, size));
    EXPECT_EQ(std::string("M\374ller") + '\0', ansi);

    // A unit outside the code page reads through the A call as '?', the euro sign as 0x80.
    const std::string wide = Utf16(std::u16string(u"5\u20ac \u4e2d") + u'\0');
    ASSERT_EQ(0u, registry.setStoredValue(key, "Price", platform::kRegString, wide));
    expectStored("Price", platform::kRegString, wide);
    EXPECT_EQ(0u, registry.queryValue(key, "Price", 256, type, ansi, size));
    EXPECT_EQ(std::string("5\x80 ?") + '\0', ansi);

    // No terminator is added to what the W call is given, an odd size included; the A call
    // reads whole units and no terminator.
    ASSERT_EQ(0u, registry.setStoredValue(key, "Bare", platform::kRegString, Utf16(u"AB")));
    expectStored("Bare", platform::kRegString, Utf16(u"AB"));
    EXPECT_EQ(0u, registry.queryValue(key, "Bare", 256, type, ansi, size));
    EXPECT_EQ("AB", ansi);
    EXPECT_EQ(2u, size);
    const std::string odd("A\0B", 3);
    ASSERT_EQ(0u, registry.setStoredValue(key, "Odd", platform::kRegString, odd));
    expectStored("Odd", platform::kRegString, odd);
    EXPECT_EQ(0u, registry.queryValue(key, "Odd", 256, type, ansi, size));
    EXPECT_EQ("A", ansi);
    ASSERT_EQ(0u, registry.setValue(key, "Odd", platform::kRegString, "x"));
    expectStored("Odd", platform::kRegString, Utf16(std::u16string(u"x") + u'\0'));
    ASSERT_EQ(0u, registry.setStoredValue(key, "Empty", platform::kRegString, ""));
    expectStored("Empty", platform::kRegString, "");

    // A UTF-8 name is the ANSI name of the same characters; what the A call stores reads
    // back through the W call widened, with the terminator it added.
    const std::string path = Utf16(std::u16string(u"%SystemRoot%\\\u00e4") + u'\0');
    ASSERT_EQ(0u, registry.setStoredValue(key, "Pfad-\xc3\xa4", platform::kRegExpandString, path));
    expectStored("Pfad-\xc3\xa4", platform::kRegExpandString, path);
    EXPECT_EQ(0u, registry.queryValue(key, "Pfad-\xe4", 256, type, ansi, size));
    EXPECT_EQ(std::string("%SystemRoot%\\\xe4") + '\0', ansi);
    ASSERT_EQ(0u, registry.setValue(key, "Ansi", platform::kRegString, "\x80uro"));
    expectStored("Ansi", platform::kRegString, Utf16(std::u16string(u"\u20acuro") + u'\0'));
    const std::string list = Utf16(std::u16string(u"a\0b\0\0", 5));
    ASSERT_EQ(0u, registry.setStoredValue(key, "List", platform::kRegMultiString, list));
    expectStored("List", platform::kRegMultiString, list);

    // More than the first read's buffer.
    const std::string longText = Utf16(std::u16string(300, u'x') + u'\0');
    ASSERT_EQ(0u, registry.setStoredValue(key, "Long", platform::kRegString, longText));
    expectStored("Long", platform::kRegString, longText);

    // Other types are bytes, both ways.
    const std::string dword("\x2a\0\0\x80", 4);
    ASSERT_EQ(0u, registry.setStoredValue(key, "", platform::kRegDword, dword));
    expectStored("", platform::kRegDword, dword);
    EXPECT_EQ(0u, registry.queryValue(key, "", 256, type, ansi, size));
    EXPECT_EQ(dword, ansi);
    const std::string binary("\0\xff\0\x10\xfe", 5);
    ASSERT_EQ(0u, registry.setStoredValue(key, "Blob", platform::kRegBinary, binary));
    expectStored("Blob", platform::kRegBinary, binary);

    bytes = "untouched";
    EXPECT_EQ(platform::kErrorFileNotFound, registry.queryStoredValue(key, "None", type, bytes));
    EXPECT_EQ("untouched", bytes);
    EXPECT_EQ(0u, registry.closeKey(key));
}

// Wine lists values by lower-case name ("_" before letters), the default value first.
// Listing and reading need KEY_QUERY_VALUE, writing KEY_SET_VALUE.
TEST_F(RegistryContract, ValuesAreListedByNameAndNeedTheirRights) {
    auto& registry = system().registry();
    RegistryHandle key = openTestKey("\\List", platform::kKeyQueryValue | platform::kKeySetValue);
    std::string name = "untouched";
    EXPECT_EQ(platform::kErrorNoMoreItems, registry.enumValue(key, 0, name));
    EXPECT_EQ("untouched", name);
    const std::string one("\1\0\0\0", 4);
    for (const char* created : {"c", "_u", "A", "", "b", "Zed", "ab", "\303\274ber", "[x", "abc"}) {
        ASSERT_EQ(0u, registry.setStoredValue(key, created, platform::kRegDword, one));
    }
    std::vector<std::string> listed;
    for (std::uint32_t i = 0; registry.enumValue(key, i, name) == 0; ++i) listed.push_back(name);
    const std::vector<std::string> expected = {"",    "[x", "_u", "A",   "ab",
                                               "abc", "b",  "c",  "Zed", "\303\274ber"};
    EXPECT_EQ(expected, listed);
    EXPECT_EQ(platform::kErrorNoMoreItems, registry.enumValue(key, 10, name));
    EXPECT_EQ(0u, registry.closeKey(key));

    // The longest name there can be.
    const std::string longest(16383, 'n');
    key = openTestKey("\\Longest", platform::kKeyQueryValue | platform::kKeySetValue);
    ASSERT_EQ(0u, registry.setStoredValue(key, longest, platform::kRegDword, one));
    EXPECT_EQ(0u, registry.enumValue(key, 0, name));
    EXPECT_EQ(longest, name);
    EXPECT_EQ(0u, registry.closeKey(key));

    std::uint32_t type = 0;
    std::string bytes;
    key = openTestKey("\\List", platform::kKeySetValue);
    EXPECT_EQ(platform::kErrorAccessDenied, registry.queryStoredValue(key, "A", type, bytes));
    EXPECT_EQ(platform::kErrorAccessDenied, registry.enumValue(key, 0, name));
    EXPECT_EQ(0u, registry.setStoredValue(key, "d", platform::kRegDword, one));
    EXPECT_EQ(0u, registry.closeKey(key));
    key = openTestKey("\\List", platform::kKeyEnumerateSubKeys);
    EXPECT_EQ(platform::kErrorAccessDenied, registry.enumValue(key, 0, name));
    EXPECT_EQ(0u, registry.closeKey(key));
    key = openTestKey("\\List", platform::kKeyQueryValue);
    EXPECT_EQ(platform::kErrorAccessDenied,
              registry.setStoredValue(key, "e", platform::kRegDword, one));
    EXPECT_EQ(0u, registry.queryStoredValue(key, "D", type, bytes));
    EXPECT_EQ(one, bytes);
    EXPECT_EQ(0u, registry.enumValue(key, 8, name));
    EXPECT_EQ("d", name) << "the name as first set";
    EXPECT_EQ(0u, registry.enumValue(key, 10, name));
    EXPECT_EQ("\303\274ber", name);
    EXPECT_EQ(platform::kErrorNoMoreItems, registry.enumValue(key, 11, name));
    EXPECT_EQ(0u, registry.closeKey(key));
}

}  // namespace
}  // namespace vx::contract
