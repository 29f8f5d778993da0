#include "engine/BrandingActions.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

using RemoveBranding = EngineTest;

TEST_F(RemoveBranding, UndoesWhatApplyDidOnVista) {
    settings(
        "[OSBranding]\r\nMfgr=Northwind\r\nModel=NW\r\n[DesktopShortcut]\r\nShortcutURL=http://"
        "a.example\r\n"
        "ShortcutName=Help\r\n");
    kitFile("oemlogo.bmp", "BM");
    engine::ApplyBranding();
    engine::DropDesktopShortcut();
    engine::RemoveBranding();
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\System32\\oemlogo.bmp").has_value());
    for (const char* value :
         {"Logo", "Manufacturer", "SupportHours", "SupportPhone", "SupportURL", "Model"}) {
        EXPECT_FALSE(sim().registryValue(kOemKey, value).has_value()) << value;
    }
    EXPECT_TRUE(sim().registryValue(kOemKey, "HelpCustomized").has_value());
    EXPECT_FALSE(sim().fileBytes("C:\\Users\\Public\\Desktop\\Help.url").has_value());
}

TEST_F(RemoveBranding, UndoesWhatApplyDidOnXp) {
    sim().setVersion(platform::sim::WindowsXP());
    settings("[OSBranding]\r\nButtonName=Help\r\nButtonAction=x.exe\r\n");
    kitFile("oeminfo.ini", "[General]\r\n");
    engine::ApplyBranding();
    ASSERT_TRUE(sim().registryKeyExists(kLinkKey + "\\Instance\\InitPropertyBag"));
    engine::RemoveBranding();
    EXPECT_FALSE(sim().registryKeyExists(kLinkKey));
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\System32\\oeminfo.ini").has_value());
}

TEST_F(RemoveBranding, ANeverBrandedSystemStaysAsItWas) {
    sim().setRegistryValue(kOemKey, "HelpCustomized", {4, std::string(4, '\0')});
    engine::RemoveBranding();
    EXPECT_TRUE(sim().registryValue(kOemKey, "HelpCustomized").has_value());
    EXPECT_TRUE(sim().launches().empty());
    EXPECT_TRUE(sim().registryKeyExists("HKCR\\CLSID"));
}

}  // namespace
}  // namespace vx::test
