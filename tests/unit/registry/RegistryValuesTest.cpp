#include "registry/RegistryValues.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using registry::fReadValue;
using registry::fWriteValue;
using registry::RegValue;
using RegistryValues = SimTest;
using RegistryValues32 = Sim32Test;
using Lines = std::vector<std::string>;
using platform::sim::RegistryData;

const std::string kOem = "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";

TEST_F(RegistryValues, ASuccessfulReadLogsFiveLines) {
    sim().setRegistryValue("HKLM\\" + kOem, "Manufacturer", {1, std::string("Northwind\0", 10)});
    RegValue value;
    EXPECT_EQ(0u, fReadValue("HKLM", kOem, "Manufacturer", "s", std::string(), value));
    EXPECT_EQ(RegValue(std::string("Northwind")), value);
    EXPECT_EQ((Lines{"\tmodRegistry\\fReadValue: ", "\t\t- Passed Key: HKLM\\" + kOem,
                     "\t\t- Passed Value: Manufacturer", "\t\t- Returned Value: Northwind",
                     "\t\t- lResult (0 is successful): 0"}),
              lines());
    EXPECT_EQ(0, sim().openRegistryHandles());
}

TEST_F(RegistryValues, FailedReadsSayNothingAndCloseTheKey) {
    sim().addRegistryKey("HKLM\\" + kOem);
    RegValue value = std::int32_t{3};
    EXPECT_EQ(2u, fReadValue("HKLM", kOem, "Model", "D", std::int32_t{3}, value));
    EXPECT_EQ(2u, fReadValue("HKLM", kOem + "\\Nope", "Model", "S", std::string(), value));
    EXPECT_TRUE(lines().empty());
    EXPECT_EQ(0, sim().openRegistryHandles());
}

TEST_F(RegistryValues, StringsWithoutTerminatorKeepTheirLastCharacter) {
    sim().setRegistryValue("HKLM\\Software\\T", "Raw", {1, "abc"});
    sim().setRegistryValue("HKLM\\Software\\T", "Empty", {1, ""});
    RegValue value;
    EXPECT_EQ(0u, fReadValue("HKLM", "Software\\T", "Raw", "S", std::string(), value));
    EXPECT_EQ(RegValue(std::string("abc")), value);
    EXPECT_EQ(0u, fReadValue("HKLM", "Software\\T", "Empty", "S", std::string("x"), value));
    EXPECT_EQ(RegValue(std::string()), value);
}

TEST_F(RegistryValues, BinaryBooleansAndTypeMismatches) {
    sim().setRegistryValue("HKLM\\Software\\T", "On", {3, std::string("\x01\x00", 2)});
    sim().setRegistryValue("HKLM\\Software\\T", "Text", {1, std::string("1\0", 2)});
    RegValue value;
    EXPECT_EQ(0u, fReadValue("HKLM", "Software\\T", "On", "B", false, value));
    EXPECT_EQ(RegValue(true), value);
    value = std::int32_t{9};
    EXPECT_NE(0u, fReadValue("HKLM", "Software\\T", "Text", "D", std::int32_t{9}, value));
    EXPECT_EQ(RegValue(std::int32_t{9}), value) << "a string is no number";
}

TEST_F(RegistryValues, BinaryBooleansAreWrittenAsTheyAreRead) {
    const auto stored = [&](const char* name) {
        const auto data = sim().registryValue("HKLM\\Software\\T", name);
        return data ? std::to_string(data->type) + ":" + data->bytes : "<none>";
    };
    const RegValue trueValues[] = {true, std::int32_t{-1}, std::string("True"), std::string("1")};
    for (const auto& given : trueValues) {
        EXPECT_EQ(0u, fWriteValue("HKLM", "Software\\T", "On", "b", given));
        EXPECT_EQ("3:\xFF\xFF", stored("On"));
    }
    EXPECT_EQ(0u, fWriteValue("HKLM", "Software\\T", "Off", "B", std::string("false")));
    EXPECT_EQ(std::string("3:\0\0", 4), stored("Off"));
    RegValue value;
    EXPECT_EQ(0u, fReadValue("HKLM", "Software\\T", "On", "B", false, value));
    EXPECT_EQ(RegValue(true), value);
    EXPECT_EQ(0u, fReadValue("HKLM", "Software\\T", "Off", "B", true, value));
    EXPECT_EQ(RegValue(false), value);

    sim().clearDebugLines();
    EXPECT_EQ(99u, fWriteValue("HKLM", "Software\\U", "On", "B", std::string("yes")));
    EXPECT_EQ("\tmodRegistry\\fWriteValue - VB ERROR: 13 Type mismatch", lines()[0]);
    EXPECT_FALSE(sim().registryKeyExists("HKLM\\Software\\U")) << "nothing is created";
    EXPECT_EQ(0, sim().openRegistryHandles());
}

TEST_F(RegistryValues, WritesGoToThe64BitViewWhateverThePathSays) {
    EXPECT_EQ(0u,
              fWriteValue("HKLM", "Software\\Wow6432Node\\Tallowbyte", "A", "S", std::string("1")));
    EXPECT_TRUE(sim().registryValue("HKLM\\Software\\Wow6432Node\\Tallowbyte", "A").has_value());
    EXPECT_FALSE(sim().registryKeyExists("HKLM\\Software\\Wow6432Node\\Wow6432Node"));
    EXPECT_EQ(0u, fWriteValue("HKLM", kOem, "HelpCustomized", "D", std::int32_t{0}));
    const auto stored = sim().registryValue("HKLM\\" + kOem, "HelpCustomized");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(4u, stored->type);
    EXPECT_EQ(std::string(4, '\0'), stored->bytes);
    EXPECT_TRUE(lines().empty()) << "a good write says nothing";
    EXPECT_EQ(0, sim().openRegistryHandles());
}

TEST_F(RegistryValues, UnknownTopKeyReportsErrorZero) {
    EXPECT_EQ(99u, fWriteValue("HKEY_LOCAL_MACHINE", kOem, "Model", "S", std::string("X")));
    EXPECT_EQ((Lines{"\tmodRegistry\\fWriteValue - VB ERROR: 0 ",
                     "\t\t- Passed Key: HKEY_LOCAL_MACHINE\\" + kOem, "\t\t- Passed Value: Model",
                     "\t\t- lResult (0 is successful): 99"}),
              lines());
}

TEST_F(RegistryValues, ANumberThatIsNotOneIsReportedAndNothingIsWritten) {
    EXPECT_EQ(99u, fWriteValue("HKLM", kOem, "HelpCustomized", "D", std::string("zero")));
    ASSERT_EQ(4u, lines().size());
    EXPECT_EQ("\tmodRegistry\\fWriteValue - VB ERROR: 13 Type mismatch", lines()[0]);
    EXPECT_FALSE(sim().registryValue("HKLM\\" + kOem, "HelpCustomized").has_value());
    EXPECT_EQ(0, sim().openRegistryHandles());
}

TEST_F(RegistryValues, MultiStringsDropEmptyEntriesWhenAppending) {
    sim().setRegistryValue("HKLM\\Software\\T", "L", {7, std::string("a\0\0b\0\0", 6)});
    EXPECT_EQ(0u, fWriteValue("HKLM", "Software\\T", "L", "M", std::string("c")));
    EXPECT_EQ(std::string("a\0b\0c\0\0", 7), sim().registryValue("HKLM\\Software\\T", "L")->bytes);
    EXPECT_EQ(0u, fWriteValue("HKLM", "Software\\T", "New", "M", std::string("x")));
    EXPECT_EQ(std::string("x\0\0", 3), sim().registryValue("HKLM\\Software\\T", "New")->bytes);
}

TEST_F(RegistryValues, IniModeTypesOtherThanStringAreRefusedOnWrite) {
    sim().addFile("C:\\Kit\\config\\corvid.ini", "[General]\r\nPasswordProtectedLaunch=1\r\n");
    EXPECT_EQ(99u,
              fWriteValue("C:\\Kit\\config\\corvid.ini", "General", "X", "M", std::string("a")));
    EXPECT_EQ("\tmodRegistry\\fWriteValue - VB ERROR: 0 ", lines()[0]);
    EXPECT_EQ(0u, fWriteValue("C:\\Kit\\config\\corvid.ini", "General", "PasswordProtectedLaunch",
                              "S", std::string("0")));
    EXPECT_EQ("[General]\r\nPasswordProtectedLaunch=0\r\n",
              sim().fileBytes("C:\\Kit\\config\\corvid.ini"));
}

TEST_F(RegistryValues32, On32BitWindowsThereIsOneView) {
    EXPECT_EQ(0u, fWriteValue("HKLM", "Software\\Tallowbyte\\Corvid", "DisableSidebarThemes", "S",
                              std::string("1")));
    EXPECT_TRUE(sim().registryValue("HKLM\\Software\\Tallowbyte\\Corvid", "DisableSidebarThemes"));
    RegValue value;
    EXPECT_EQ(0u, fReadValue("HKLM", "Software\\Tallowbyte\\Corvid", "DisableSidebarThemes", "S",
                             std::string(), value));
    EXPECT_EQ(RegValue(std::string("1")), value);
}

}  // namespace
}  // namespace vx::test
