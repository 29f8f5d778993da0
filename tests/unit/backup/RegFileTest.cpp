#include "backup/RegFile.h"

#include <gtest/gtest.h>

#include <string>

namespace vx::backup {
namespace {

StoredValue Dword(std::uint32_t number) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(number >> (8 * i)));
    return {4, bytes};
}

// Every kind of record the backup writes comes back exactly, and the text is what regedit
// reads: the header first, Wow6432Node in the path of the 32-bit view, plain strings quoted.
TEST(RegFile, RoundTripsEveryRecordExactly) {
    const std::string latin = std::string("M\xfc") + std::string(1, '\0') + "ller";
    const std::vector<KeyRecord> keys = {
        {"HKEY_LOCAL_MACHINE",
         "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation",
         RegistryView::Native,
         true,
         {{"Manufacturer", StoredValue{1, WideStringBytes("Contoso \"Labs\" C:\\")}},
          {"Model", std::nullopt},
          {"HelpCustomized", Dword(0x12345678)},
          {"Logo", StoredValue{2, WideStringBytes("%SystemRoot%\\oemlogo.bmp")}},
          {"Odd", StoredValue{1, "A\0B\0"}},  // stored without a terminator
          {"Latin", StoredValue{1, latin}},   // not ASCII: written as bytes
          {"Blob", StoredValue{3, std::string(60, '\x7f')}},
          {"Empty", StoredValue{3, ""}},
          {"Short", StoredValue{4, "\x01\x02"}}}},  // a DWORD of the wrong size
        {"HKEY_LOCAL_MACHINE",
         "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation",
         RegistryView::Redirected,
         false,
         {}},
        {"HKEY_CLASSES_ROOT", "CLSID\\{1}", RegistryView::Redirected, false, {}},
        {"HKEY_CLASSES_ROOT",
         "CLSID\\{1}",
         RegistryView::Redirected,
         true,
         {{"", StoredValue{1, WideStringBytes("Link")}}}},
        {"HKEY_CLASSES_ROOT",
         "CLSID\\{1}\\InProcServer32",
         RegistryView::Native,
         true,
         {{"", StoredValue{0x2000, "x"}}}},
    };
    const auto text = WriteRegFile(keys, {"Vexilla factory backup", "second line\\"});
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->starts_with("Windows Registry Editor Version 5.00\r\n"));
    EXPECT_NE(text->find("[-HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\"
                         "CurrentVersion\\OEMInformation]\r\n"),
              std::string::npos);
    EXPECT_NE(text->find("[HKEY_CLASSES_ROOT\\Wow6432Node\\CLSID\\{1}]\r\n@=\"Link\"\r\n"),
              std::string::npos);
    EXPECT_NE(text->find("\"Manufacturer\"=\"Contoso \\\"Labs\\\" C:\\\\\"\r\n"),
              std::string::npos);
    EXPECT_NE(text->find("\"HelpCustomized\"=dword:12345678\r\n"), std::string::npos);
    EXPECT_NE(text->find("\"Model\"=-\r\n"), std::string::npos);
    EXPECT_NE(text->find(",\\\r\n  7f"), std::string::npos)
        << "long data continues on the next line";

    const auto read = ReadRegFile(*text);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->size(), keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ((*read)[k].root, keys[k].root);
        EXPECT_EQ((*read)[k].path, keys[k].path);
        EXPECT_EQ((*read)[k].view, keys[k].view);
        EXPECT_EQ((*read)[k].present, keys[k].present);
        ASSERT_EQ((*read)[k].values.size(), keys[k].values.size());
        for (std::size_t v = 0; v < keys[k].values.size(); ++v) {
            const ValueRecord& expected = keys[k].values[v];
            const ValueRecord& actual = (*read)[k].values[v];
            EXPECT_EQ(actual.name, expected.name);
            ASSERT_EQ(actual.value.has_value(), expected.value.has_value()) << expected.name;
            if (expected.value) {
                EXPECT_EQ(actual.value->type, expected.value->type) << expected.name;
                EXPECT_EQ(actual.value->bytes, expected.value->bytes) << expected.name;
            }
        }
    }
}

// A damaged or foreign file is refused as a whole, never half applied.
TEST(RegFile, RefusesWhatItDidNotWrite) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n";
    EXPECT_FALSE(ReadRegFile(""));
    EXPECT_FALSE(ReadRegFile("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n"));
    EXPECT_FALSE(ReadRegFile(header + "\"Orphan\"=\"value\"\r\n")) << "value before any key";
    EXPECT_FALSE(ReadRegFile(header + "[-HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=-\r\n"))
        << "value under a removed key";
    EXPECT_FALSE(ReadRegFile(header + "[HKEY_CURRENT_USER\\A]\r\n"))
        << "a root the backup never uses";
    EXPECT_FALSE(ReadRegFile(header + "[HKEY_LOCAL_MACHINE\\A\\\\B]\r\n")) << "empty key name";
    EXPECT_FALSE(ReadRegFile(header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=hex:1,zz\r\n"));
    EXPECT_FALSE(ReadRegFile(header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=dword:123\r\n"));
    EXPECT_FALSE(ReadRegFile(header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=\"open\r\n"));
    EXPECT_FALSE(ReadRegFile(header + "[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=\"a\\nb\"\r\n"));
    EXPECT_FALSE(
        WriteRegFile({{"HKEY_LOCAL_MACHINE", "A\xe9", RegistryView::Native, true, {}}}, {}))
        << "a key name the ASCII file cannot hold";
    const auto unix = ReadRegFile(
        "Windows Registry Editor Version 5.00\n; note\n\n"
        "[HKEY_LOCAL_MACHINE\\A]\n\"V\"=hex(7):41,00,\\\n  00,00\n");
    ASSERT_TRUE(unix.has_value());
    ASSERT_EQ(unix->size(), 1u);
    EXPECT_EQ(unix->front().values.at(0).value->bytes, std::string("A\0\0\0", 4));
}

}  // namespace
}  // namespace vx::backup
