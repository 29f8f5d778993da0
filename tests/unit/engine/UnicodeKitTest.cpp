#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "platform/TextMode.h"
#include "registry/RegistryKey.h"
#include "ui/Editor.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

const std::string kMark = "\xEF\xBB\xBF";
const std::string kDesktop = "C:\\Users\\Public\\Desktop\\";

// A kit written by today's Notepad, run through Main as a deployment script runs it.
class UnicodeKit : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        sim().setModuleFileName(kKit + "vexilla.exe");
    }
    int runMain(const std::string& commandLine) {
        ResetState();
        report_.clear();
        sim().setCommandArguments(commandLine);
        return engine::Main([] {}, [this](const std::string& line) { report_.push_back(line); });
    }
    // The value as the W calls give it, back in UTF-8; "<missing>" when there is none.
    std::string stored(const std::string& name) {
        registry::RegistryKey key;
        if (key.open(platform::kLocalMachine,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation",
                     platform::kKeyQueryValue | platform::kKeyWow64_64Key) != platform::kSuccess) {
            return "<missing>";
        }
        std::uint32_t type = 0;
        std::string bytes;
        if (platform::Current().registry().queryStoredValue(key.handle(), name, type, bytes) !=
            platform::kSuccess) {
            return "<missing>";
        }
        std::string text = platform::Utf8FromUtf16(bytes);
        if (!text.empty() && text.back() == '\0') text.pop_back();
        return text;
    }
    bool reportHas(const std::string& part) const {
        for (const std::string& line : report_) {
            if (line.find(part) != std::string::npos) return true;
        }
        return false;
    }
    std::vector<std::string> report_;
};

TEST_F(UnicodeKit, Utf8TextReachesTheRegistryTheDesktopAndTheEditorWhole) {
    const std::string kit = kMark +
                            "[OSBranding]\r\n"
                            "; written by Notepad\r\n"
                            "Mfgr=Müller Systemtechnik\r\n"
                            "Model=株式会社テスト\r\n"
                            "\r\n"
                            "[DesktopShortcut]\r\n"
                            "ShortcutURL=https://support.example\r\n"
                            "ShortcutName=Ångström Data\r\n";
    settings(kit);
    ASSERT_EQ(0, runMain("/autobrand /desklnk"));
    EXPECT_TRUE(platform::TextIsUtf8()) << "a kit with a byte-order mark switches the run";
    EXPECT_EQ("Müller Systemtechnik", stored("Manufacturer"));
    EXPECT_EQ("株式会社テスト", stored("Model"));
    EXPECT_TRUE(reportHas("set Manufacturer = \"Müller Systemtechnik\" (was absent, 64-bit view)"))
        << "the report in UTF-8";
    const auto shortcut = sim().fileBytes(kDesktop + "Ångström Data.url");
    ASSERT_TRUE(shortcut.has_value()) << "the shortcut carries the kit's name";
    EXPECT_NE(std::string::npos, shortcut->find("URL=https://support.example"));

    // The editor shows the text as written and saves it back the way it was read.
    ui::EditorFields fields = ui::LoadFields();
    EXPECT_EQ("Müller Systemtechnik", fields.mfgr);
    EXPECT_EQ("株式会社テスト", fields.model);
    EXPECT_EQ("Ångström Data", fields.dropDesktopShortcutName);
    fields.model = "株式会社テスト 2";
    ui::SaveFields(fields);
    const std::string saved = sim().fileBytes(kKit + "Vexilla.INI").value_or("");
    EXPECT_EQ(0u, saved.rfind(kMark + "[OSBranding]\r\n; written by Notepad\r\n", 0))
        << "the mark stays first, the comment stays";
    EXPECT_NE(std::string::npos, saved.find("Model=株式会社テスト 2\r\nPhone=\r\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("ButtonIcon=\r\n\r\n[DesktopShortcut]"))
        << "new keys follow the section's last entry; the blank line stays";
    EXPECT_EQ(platform::TextFileEncoding::Utf8WithMark, platform::DetectTextFileEncoding(saved));

    // Removal finds the same names.
    ASSERT_EQ(0, runMain("/rem"));
    EXPECT_EQ("<missing>", stored("Manufacturer"));
    EXPECT_FALSE(sim().fileBytes(kDesktop + "Ångström Data.url").has_value());
}

TEST_F(UnicodeKit, AnAnsiKitStaysAnsiAndStoresTheSameCharacters) {
    // The same manufacturer, once in code page 1252 and once in UTF-8 without a mark: the
    // registry ends up holding the same characters either way.
    settings("[OSBranding]\r\nMfgr=M\xFCller Systemtechnik\r\nModel=\xC5ngstr\xF6m Data\r\n");
    ASSERT_EQ(0, runMain("/autobrand"));
    EXPECT_FALSE(platform::TextIsUtf8());
    const std::string ansiManufacturer = stored("Manufacturer");
    const std::string ansiModel = stored("Model");
    EXPECT_EQ("Müller Systemtechnik", ansiManufacturer);

    settings("[OSBranding]\r\nMfgr=Müller Systemtechnik\r\nModel=Ångström Data\r\n");
    ASSERT_EQ(0, runMain("/autobrand"));
    EXPECT_TRUE(platform::TextIsUtf8()) << "well-formed UTF-8 without a mark is UTF-8";
    EXPECT_EQ(ansiManufacturer, stored("Manufacturer"));
    EXPECT_EQ(ansiModel, stored("Model"));
}

TEST_F(UnicodeKit, FactoryRestoreFindsAShortcutNamedBeyondAsciiInEitherMode) {
    // The record of placed files lists its paths through the W calls; each reaches the file
    // calls in the run's own text.
    for (const std::string& kit :
         {std::string("[DesktopShortcut]\r\nShortcutURL=http://s\r\nShortcutName=Soci\xE9t\xE9\r\n"),
          kMark + "[DesktopShortcut]\r\nShortcutURL=http://s\r\nShortcutName=株式会社テスト\r\n"}) {
        settings(kit);
        ASSERT_EQ(0, runMain("/desklnk"));
        const std::string shortcut =
            kDesktop + (platform::TextIsUtf8() ? "株式会社テスト.url" : "Soci\xE9t\xE9.url");
        ASSERT_TRUE(sim().fileBytes(shortcut).has_value());
        ASSERT_EQ(0, runMain("/restore"));
        EXPECT_FALSE(sim().fileBytes(shortcut).has_value()) << shortcut;
    }
}

TEST_F(UnicodeKit, ASupportTextInUtf8SwitchesTheRunAndLoadsWhole) {
    settings("[OSBranding]\r\nMfgr=Northwind\r\n");
    kitFile("oeminfo.ini", kMark + "[General]\r\nManufacturer=株式会社テスト\r\n"
                                   "[Support Information]\r\nLine1=Ångström\r\n");
    EXPECT_EQ(static_cast<int>(engine::ExitCode::NoSwitch), runMain("/nothing"));
    EXPECT_TRUE(platform::TextIsUtf8());
    const ui::EditorFields fields = ui::LoadFields();
    EXPECT_EQ("株式会社テスト", fields.mfgr);
    EXPECT_NE(std::string::npos, fields.supportText.find("Ångström"));
}

}  // namespace
}  // namespace vx::test
