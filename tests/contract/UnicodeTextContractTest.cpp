// The UTF-8 text mode: a name outside the ANSI code page ("株式会社テスト" on a Western
// system) goes through the registry, the file system and the profile functions whole, and
// text the code page does hold is stored as the ANSI calls store it.

#include <string>

#include "common/Ini.h"
#include "contract/ContractFixture.h"
#include "platform/TextFile.h"
#include "platform/TextMode.h"

namespace vx::contract {
namespace {

using platform::RegistryHandle;

const std::string kJapanese = "株式会社テスト";
const std::string kMark = "\xEF\xBB\xBF";

class UnicodeTextContract : public ContractTest {
protected:
    void SetUp() override {
        ContractTest::SetUp();
        key_ = "Software\\VexillaContract\\unicode" +
               std::to_string(system().processes().tickMilliseconds());
    }
    void TearDown() override {
        auto& registry = system().registry();
        RegistryHandle parent = 0;
        if (registry.openKey(platform::kLocalMachine, "Software\\VexillaContract",
                             platform::kKeyAllAccess, parent) == platform::kSuccess) {
            RegistryHandle key = 0;
            if (registry.openKey(parent, key_.substr(key_.rfind('\\') + 1),
                                 platform::kKeyAllAccess, key) == platform::kSuccess) {
                std::string name;
                while (registry.enumValue(key, 0, name) == platform::kSuccess &&
                       registry.deleteValue(key, name) == platform::kSuccess) {
                }
                static_cast<void>(registry.closeKey(key));
            }
            static_cast<void>(registry.deleteKey(parent, key_.substr(key_.rfind('\\') + 1)));
            static_cast<void>(registry.closeKey(parent));
        }
        ContractTest::TearDown();
    }
    RegistryHandle createKey() {
        RegistryHandle key = 0;
        EXPECT_EQ(platform::kSuccess, system().registry().createKey(platform::kLocalMachine, key_,
                                                                    platform::kKeyAllAccess, key));
        return key;
    }
    std::string storedUtf8(RegistryHandle key, const std::string& name) {
        std::uint32_t type = 0;
        std::string bytes;
        if (system().registry().queryStoredValue(key, name, type, bytes) != platform::kSuccess) {
            return "<missing>";
        }
        return platform::Utf8FromUtf16(bytes);
    }
    std::string key_;
};

TEST_F(UnicodeTextContract, RegistryValuesAndNamesKeepEveryCharacter) {
    auto& registry = system().registry();
    // The ANSI calls store code page 1252's "Müller" as the characters it stands for...
    RegistryHandle key = createKey();
    ASSERT_EQ(platform::kSuccess, registry.setValue(key, "Ansi", platform::kRegString, "M\xFCller"));
    static_cast<void>(registry.closeKey(key));

    platform::SetTextMode(platform::TextMode::Utf8);
    key = createKey();
    // ... and the UTF-8 mode stores the same characters from UTF-8.
    ASSERT_EQ(platform::kSuccess, registry.setValue(key, "Utf8", platform::kRegString, "Müller"));
    EXPECT_EQ(storedUtf8(key, "Ansi"), storedUtf8(key, "Utf8"));
    EXPECT_EQ(std::string("Müller") + '\0', storedUtf8(key, "Utf8"));

    // A name and a value the code page lacks, through every call of the family.
    const std::string name = "C:\\Users\\Public\\Desktop\\" + kJapanese + ".url";
    ASSERT_EQ(platform::kSuccess, registry.setValue(key, name, platform::kRegString, kJapanese));
    EXPECT_EQ(kJapanese + '\0', storedUtf8(key, name));
    std::uint32_t type = 0, size = 0;
    std::string data;
    ASSERT_EQ(platform::kSuccess, registry.queryValue(key, name, 256, type, data, size));
    EXPECT_EQ(kJapanese + '\0', data);
    EXPECT_EQ(data.size(), size);
    EXPECT_EQ(platform::kErrorMoreData, registry.queryValue(key, name, 4, type, data, size));
    bool listed = false;
    std::string listedName;
    for (std::uint32_t i = 0; registry.enumValue(key, i, listedName) == platform::kSuccess; ++i) {
        listed = listed || listedName == name;
    }
    EXPECT_TRUE(listed);
    EXPECT_EQ(platform::kSuccess, registry.deleteValue(key, name));
    EXPECT_EQ("<missing>", storedUtf8(key, name));
    static_cast<void>(registry.closeKey(key));
}

TEST_F(UnicodeTextContract, FilesAndProfilesKeepEveryCharacterAndTheirEncoding) {
    const std::string folder = FreshFolder("unicode");
    platform::SetTextMode(platform::TextMode::Utf8);
    auto& files = system().files();
    const std::string shortcut = folder + "\\" + kJapanese + ".url";
    ASSERT_EQ(platform::kSuccess, files.writeFile(shortcut, "[InternetShortcut]\r\n", false));
    EXPECT_TRUE(files.attributes(shortcut).has_value());
    EXPECT_EQ(std::optional<std::string>("[InternetShortcut]\r\n"), files.readFile(shortcut));
    EXPECT_EQ(std::optional<std::string>(kJapanese + ".url"),
              files.firstListedName(folder + "\\*.url"));
    EXPECT_EQ(platform::kSuccess, files.deleteFile(shortcut));
    EXPECT_FALSE(files.attributes(shortcut).has_value());

    // A settings file with a byte-order mark: the mark is no part of the first section, and a
    // write keeps it, the file's other lines and its encoding.
    const std::string settings = folder + "\\Vexilla.INI";
    ASSERT_EQ(platform::kSuccess,
              files.writeFile(settings,
                              kMark + "[OSBranding]\r\n; ours\r\nMfgr=Ångström Data\r\nModel=x\r\n",
                              false));
    EXPECT_EQ("Ångström Data", ReadIni(settings, "OSBranding", "Mfgr"));
    WriteIni(settings, "OSBranding", "Model", kJapanese);
    EXPECT_EQ(kJapanese, ReadIni(settings, "OSBranding", "Model"));
    EXPECT_EQ(std::optional<std::string>(kMark + "[OSBranding]\r\n; ours\r\nMfgr=Ångström Data\r\n"
                                                 "Model=" + kJapanese + "\r\n"),
              files.readFile(settings));

    // An ANSI file in the same run reads through the code page and stays in it.
    const std::string ansi = folder + "\\oeminfo.ini";
    ASSERT_EQ(platform::kSuccess,
              files.writeFile(ansi, "[General]\r\nManufacturer=M\xFCller\r\n", false));
    EXPECT_EQ("Müller", ReadIni(ansi, "General", "Manufacturer"));
    WriteIni(ansi, "General", "Model", "\xC3\x85");  // "Å", which the code page holds
    EXPECT_EQ(std::optional<std::string>("[General]\r\nManufacturer=M\xFCller\r\nModel=\xC5\r\n"),
              files.readFile(ansi));
}

}  // namespace
}  // namespace vx::contract
