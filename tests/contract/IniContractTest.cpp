// What the private-profile functions do with our settings files.

#include <string>

#include "common/Ini.h"
#include "contract/ContractFixture.h"

namespace vx::contract {
namespace {

class IniContract : public ContractTest {
protected:
    void SetUp() override {
        ContractTest::SetUp();
        file_ = FreshFolder("ini") + "\\Vexilla.INI";
    }
    void writeRaw(const std::string& text) {
        ASSERT_EQ(0u, system().files().writeFile(file_, text, false));
    }
    std::string file_;
};

TEST_F(IniContract, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ("", ReadIni(file_, "OSBranding", "Mfgr"));
    writeRaw("[OSBranding]\r\nMfgr=Contoso\r\nModel=\r\n");
    EXPECT_EQ("", ReadIni(file_, "Other", "Mfgr"));
    EXPECT_EQ("", ReadIni(file_, "OSBranding", "Phone"));
    EXPECT_EQ("", ReadIni(file_, "OSBranding", "Model"));
    EXPECT_EQ("Contoso", ReadIni(file_, "OSBranding", "Mfgr"));
}

TEST_F(IniContract, SectionsAndKeysMatchWithoutRegardToCase) {
    writeRaw("[osbranding]\r\nMFGR=Contoso Ltd\r\n");
    EXPECT_EQ("Contoso Ltd", ReadIni(file_, "OSBranding", "Mfgr"));
    EXPECT_EQ("Contoso Ltd", ReadIni(file_, "OSBRANDING", "mfgr"));
}

TEST_F(IniContract, BlanksAroundNamesAndValuesAreTrimmedAndOuterQuotesGo) {
    writeRaw(
        "[ OSBranding ]\r\n  Mfgr  =   Contoso Ltd   \r\nURL=\"http://x.example\"\r\n"
        "Phone='555 0100'\r\nHours=\"9-5\r\nModel=a \"b\" c\r\n");
    EXPECT_EQ("Contoso Ltd", ReadIni(file_, "OSBranding", "Mfgr"));
    EXPECT_EQ("http://x.example", ReadIni(file_, "OSBranding", "URL"));
    EXPECT_EQ("555 0100", ReadIni(file_, "OSBranding", "Phone"));
    EXPECT_EQ("\"9-5", ReadIni(file_, "OSBranding", "Hours"));
    EXPECT_EQ("a \"b\" c", ReadIni(file_, "OSBranding", "Model"));
}

TEST_F(IniContract, LongValuesComeBackCutTo254Characters) {
    const std::string longValue(300, 'x');
    WriteIni(file_, "OSBranding", "Model", longValue);
    EXPECT_EQ(std::string(254, 'x'), ReadIni(file_, "OSBranding", "Model"));
    WriteIni(file_, "OSBranding", "Model", std::string(254, 'y'));
    EXPECT_EQ(std::string(254, 'y'), ReadIni(file_, "OSBranding", "Model"));
}

TEST_F(IniContract, WritesCreateTheFileAndReplaceValuesInPlace) {
    WriteIni(file_, "OSBranding", "Mfgr", "Contoso");
    WriteIni(file_, "OSBranding", "Model", "X1");
    WriteIni(file_, "DesktopShortcut", "UseIE", "0");
    WriteIni(file_, "osbranding", "MFGR", "Fabrikam");
    WriteIni(file_, "OSBranding", "Phone", "");
    EXPECT_EQ("Fabrikam", ReadIni(file_, "OSBranding", "Mfgr"));
    EXPECT_EQ("X1", ReadIni(file_, "OSBranding", "Model"));
    EXPECT_EQ("0", ReadIni(file_, "DesktopShortcut", "UseIE"));
    EXPECT_EQ("", ReadIni(file_, "OSBranding", "Phone"));

    const auto text = system().files().readFile(file_);
    ASSERT_TRUE(text.has_value());
    // One Mfgr line only, and the empty value written as "Phone=".
    EXPECT_EQ(text->find("Mfgr"), text->rfind("Mfgr")) << *text;
    EXPECT_NE(std::string::npos, text->find("Phone=\r\n")) << *text;
    EXPECT_EQ(std::string::npos, text->find("Contoso")) << *text;
}

TEST_F(IniContract, IntegerReadsTakeLeadingDigits) {
    writeRaw("[General]\r\nA=12\r\nB=7x\r\nC=\r\n");
    auto& profiles = system().profiles();
    EXPECT_EQ(12u, profiles.readInt(file_, "General", "A", 0));
    EXPECT_EQ(7u, profiles.readInt(file_, "General", "B", 0));
    EXPECT_EQ(5u, profiles.readInt(file_, "General", "Missing", 5));
}

}  // namespace
}  // namespace vx::contract
