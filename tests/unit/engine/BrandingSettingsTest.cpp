#include "common/AppState.h"
#include "engine/BrandingSettings.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using BrandingSettings = SimTest;

TEST_F(BrandingSettings, EveryKeyRoundTripsThroughTheActiveFile) {
    State().settingsFilePath = "C:\\Tools\\Vexilla\\Vexilla.INI";
    for (const auto& key : engine::settings::kSaveOrder) {
        engine::WriteSetting(key, std::string("value of ") + key.name);
    }
    for (const auto& key : engine::settings::kSaveOrder) {
        EXPECT_EQ(std::string("value of ") + key.name, engine::ReadSetting(key));
    }
    const auto text = sim().fileBytes(State().settingsFilePath);
    ASSERT_TRUE(text.has_value());
    EXPECT_LT(text->find("[OSBranding]"), text->find("[DesktopShortcut]"));
    EXPECT_LT(text->find("Mfgr="), text->find("ButtonIcon="));
    EXPECT_LT(text->find("ShortcutURL="), text->find("UseIE="));
}

TEST_F(BrandingSettings, LongValuesComeBackCutAndMissingOnesEmpty) {
    State().settingsFilePath = "C:\\Tools\\Vexilla\\Vexilla.INI";
    EXPECT_EQ("", engine::ReadSetting(engine::settings::kModel));
    engine::WriteSetting(engine::settings::kModel, std::string(300, 'm'));
    EXPECT_EQ(std::string(254, 'm'), engine::ReadSetting(engine::settings::kModel));
    engine::WriteSetting(engine::settings::kUrl, "");
    EXPECT_EQ("", engine::ReadSetting(engine::settings::kUrl));
    EXPECT_NE(std::string::npos, sim().fileBytes(State().settingsFilePath)->find("URL=\r\n"));
}

}  // namespace
}  // namespace vx::test
