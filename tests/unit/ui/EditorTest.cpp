#include "platform/sim/SimWindows.h"
#include "ui/Editor.h"
#include "unit/common/BmpBytes.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

using namespace ui;
using Editor = EngineTest;

TEST_F(Editor, WithoutSettingsTheCommonBoxesStayEmpty) {
    kitFile("oemlogo.bmp", "BM");
    const auto fields = LoadFields();
    EXPECT_EQ("", fields.mfgr);
    EXPECT_EQ("", fields.model);
    EXPECT_EQ("", fields.phoneNumber);
    EXPECT_EQ("", fields.supportHours);
    EXPECT_EQ("", fields.supportURL);
    EXPECT_FALSE(fields.useIE) << "the default browser is selected";
    EXPECT_EQ(kKit + "oemlogo.bmp", fields.logoPreviewFile);
    EXPECT_EQ("", fields.iconPreviewFile);
}

TEST_F(Editor, EveryBoxLoadsFromItsKey) {
    settings(
        "[OSBranding]\r\nMfgr=Northwind\r\nModel=NW-5\r\nPhone=555\r\nHours=9-5\r\nURL=example."
        "com\r\n"
        "ButtonName=Help\r\nButtonToolTip=Tip\r\nButtonAction=x.exe\r\nButtonAltAction=y.exe\r\n"
        "ButtonAltName=Why\r\nButtonIcon=support.ico\r\n[DesktopShortcut]\r\nShortcutURL=http://"
        "s\r\n"
        "ShortcutName=S\r\nShortcutIcon=s.ico\r\nUseIE=1\r\n");
    kitFile("support.ico", "ICO");
    const auto fields = LoadFields();
    EXPECT_EQ("Northwind", fields.mfgr);
    EXPECT_EQ("NW-5", fields.model);
    EXPECT_EQ("555", fields.phoneNumber);
    EXPECT_EQ("9-5", fields.supportHours);
    EXPECT_EQ("example.com", fields.supportURL);
    EXPECT_EQ("Help", fields.buttonName);
    EXPECT_EQ("Tip", fields.buttonTip);
    EXPECT_EQ("x.exe", fields.buttonAction);
    EXPECT_EQ("y.exe", fields.altAction);
    EXPECT_EQ("Why", fields.altActionName);
    EXPECT_EQ("support.ico", fields.iconName);
    EXPECT_EQ(kKit + "support.ico", fields.iconPreviewFile);
    EXPECT_EQ("http://s", fields.dropDesktopShortcutURL);
    EXPECT_EQ("S", fields.dropDesktopShortcutName);
    EXPECT_EQ("s.ico", fields.dropDesktopShortcutIcon);
    EXPECT_TRUE(fields.useIE);
}

TEST_F(Editor, IconNamesComeFromTheKitOnly) {
    settings("[OSBranding]\r\nButtonIcon=absent.ico\r\n");
    EXPECT_EQ("", LoadFields().iconName);
    settings("[OSBranding]\r\nButtonIcon=\r\n[Config]\r\nDropDesktopShortcutIcon=fallback.ico\r\n");
    kitFile("fallback.ico");
    EXPECT_EQ("fallback.ico", LoadFields().iconName);
    settings("[DesktopShortcut]\r\nUseIE=true\r\n");
    EXPECT_FALSE(LoadFields().useIE);
}

TEST_F(Editor, TheKitsSupportTextOverridesManufacturerAndModel) {
    settings("[OSBranding]\r\nMfgr=From settings\r\nModel=M1\r\n");
    kitFile("oeminfo.ini",
            "[General]\r\nManufacturer=From oeminfo\r\nModel=M2\r\nSupportURL=x\r\n"
            "[Support Information]\r\nLine1=Call us\r\n; comment\r\n\r\nLine2=Mon-Fri\r\nbare "
            "line\r\n");
    const auto fields = LoadFields();
    EXPECT_EQ("From oeminfo", fields.mfgr);
    EXPECT_EQ("M2", fields.model);
    EXPECT_EQ("x\r\nCall us\r\nMon-Fri\r\nbare line", fields.supportText);
}

TEST_F(Editor, SavingWritesEveryKeyInOrderAndTheSupportText) {
    EditorFields fields;
    fields.mfgr = "Northwind";
    fields.buttonName = "Help";
    fields.useIE = true;
    fields.supportText = "Call us\r\nMon-Fri 8-18\r\n(555) 0100";
    SaveFields(fields);
    const auto settingsText = *sim().fileBytes(kKit + "Vexilla.INI");
    std::size_t at = 0;
    for (const char* key :
         {"Mfgr=Northwind", "Model=", "Phone=", "Hours=", "URL=", "ButtonName=Help",
          "ButtonToolTip=", "ButtonAction=", "ButtonAltAction=", "ButtonAltName=", "ButtonIcon=",
          "ShortcutURL=", "ShortcutName=", "ShortcutIcon=", "UseIE=1"}) {
        const auto found = settingsText.find(key, at);
        ASSERT_NE(std::string::npos, found) << key << " in order in\n" << settingsText;
        at = found;
    }
    EXPECT_EQ(std::string::npos, settingsText.find("DropDesktopShortcutIcon"));
    EXPECT_EQ(std::string::npos, settingsText.find("SupportProvider")) << "empty and not there";
    EXPECT_EQ(std::string::npos, settingsText.find("SupportAppURL"));
    EXPECT_EQ(
        "[General]\r\nManufacturer=Northwind\r\nModel=\r\n[Support Information]\r\nLine1=Call "
        "us\r\n"
        "Line2=Mon-Fri 8-18\r\nLine3=(555) 0100\r\n",
        sim().fileBytes(kKit + "oeminfo.ini"));

    EditorFields reloaded;
    LoadSupportText(reloaded);
    EXPECT_EQ(fields.supportText, reloaded.supportText) << "line for line";
}

// The two Windows 10 boxes: loaded, saved back, cleared, and applied by "Vexilla Now"'s apply.
TEST_F(Editor, TheWindows10BoxesGoThroughLoadSaveAndApply) {
    settings(
        "[OSBranding]\r\nMfgr=Northwind\r\nSupportProvider=Northwind Care\r\n"
        "SupportAppURL=northwind-help:open\r\n");
    auto fields = LoadFields();
    EXPECT_EQ("Northwind Care", fields.supportProvider);
    EXPECT_EQ("northwind-help:open", fields.supportAppURL);

    auto release = platform::sim::Windows8();
    release.majorVersion = 10;
    release.minorVersion = 0;
    release.buildNumber = 22631;
    sim().setVersion(release);
    EditorApply(fields);
    EXPECT_EQ("Northwind Care", text(kOemKey, "SupportProvider"));
    EXPECT_EQ("northwind-help:open", text(kOemKey, "SupportAppURL"));

    fields.supportProvider = "Northwind Service";
    fields.supportAppURL = "";
    SaveFields(fields);
    const auto saved = *sim().fileBytes(kKit + "Vexilla.INI");
    EXPECT_NE(std::string::npos, saved.find("SupportProvider=Northwind Service\r\n")) << saved;
    EXPECT_EQ("", LoadFields().supportAppURL) << "a cleared box clears the key";
    EXPECT_EQ("Northwind Service", LoadFields().supportProvider);
}

TEST_F(Editor, TheLogoCheckWarnsUnderThePreview) {
    kitFile("oemlogo.bmp", BitmapBytes(240, 240, 24));
    EXPECT_EQ(
        "oemlogo.bmp is larger than 120 x 120: Windows scales it down\r\n"
        "oemlogo.bmp is not 32-bit colour: Windows Vista and later expect a 32-bit logo",
        LoadFields().logoWarning);
    kitFile("oemlogo.bmp", BitmapBytes(120, 120, 32));
    EXPECT_EQ("", LoadFields().logoWarning);
    kitFile("oemlogo.bmp", "not a picture");
    EXPECT_EQ("oemlogo.bmp is not a BMP file: System Properties may not show it",
              LoadFields().logoWarning);
}

TEST_F(Editor, AnEmptySupportTextGivesTheGeneralSectionOnly) {
    kitFile("oeminfo.ini", "[Support Information]\r\nLine1=old\r\n");
    EditorFields fields;
    fields.model = "NW";
    SaveSupportText(fields);
    EXPECT_EQ("[General]\r\nManufacturer=\r\nModel=NW\r\n", sim().fileBytes(kKit + "oeminfo.ini"));
}

TEST(EditorRules, SidebarEntriesMapToActions) {
    EXPECT_EQ(SidebarAction::ShowCommon, ActionForLabel(0));
    EXPECT_EQ(SidebarAction::ShowSeven, ActionForLabel(3));
    EXPECT_EQ(SidebarAction::SaveAndClose, ActionForLabel(6));
    EXPECT_EQ(SidebarAction::RestoreFactoryBranding, ActionForLabel(7)) << "the next free index";
    EXPECT_EQ(SidebarAction::None, ActionForLabel(8));
    EXPECT_EQ(SidebarAction::ShowXPINI, ActionForTaskItem(1, 3));
    EXPECT_EQ(SidebarAction::None, ActionForTaskItem(1, 5));
    EXPECT_EQ(SidebarAction::BrandNow, ActionForTaskItem(2, 1));
    EXPECT_EQ(SidebarAction::RemoveBranding, ActionForTaskItem(2, 2));
    EXPECT_EQ(SidebarAction::RestoreFactoryBranding, ActionForTaskItem(2, 3));
    EXPECT_EQ(SidebarAction::None, ActionForTaskItem(2, 4));
    EXPECT_EQ(SidebarAction::SaveAndClose, ActionForTaskItem(3, 1));
    EXPECT_EQ(SidebarAction::SaveAndClose, ActionForTaskItem(3, 9));
    EXPECT_EQ(SidebarAction::None, ActionForTaskItem(4, 1));
}

TEST(EditorRules, SupportUrlsKeepTheirSchemeAndEmptyStaysEmpty) {
    EXPECT_EQ("https://example.com", NormaliseSupportUrl("https://example.com"));
    EXPECT_EQ("HTTP://Example.com", NormaliseSupportUrl("HTTP://Example.com"));
    EXPECT_EQ("HttpS://x", NormaliseSupportUrl("HttpS://x"));
    EXPECT_EQ("http://example.com", NormaliseSupportUrl("example.com"));
    EXPECT_EQ("", NormaliseSupportUrl(""));
}

TEST(EditorRules, SupportUrlsGetHttpOnlyWithoutAScheme) {
    const struct {
        const char* typed;
        const char* written;
    } cases[] = {
        {"mailto:help@x", "mailto:help@x"},
        {"ftp://files.example.com/drivers", "ftp://files.example.com/drivers"},
        {"file:///C:/x", "file:///C:/x"},
        {"tel:+1555", "tel:+1555"},
        {"tel:5551234", "tel:5551234"},  // more digits than a port has
        {"HTTPS://EXAMPLE.COM", "HTTPS://EXAMPLE.COM"},
        {"svn+ssh://host/repo", "svn+ssh://host/repo"},
        {"a:b", "a:b"},
        {"a:", "a:"},
        {" www.x.com ", "http://www.x.com"},
        {"\t mailto:help@x \t", "mailto:help@x"},
        {"www.x.com:8080/a", "http://www.x.com:8080/a"},
        {"localhost:8080", "http://localhost:8080"},
        {"host:1?q", "http://host:1?q"},
        {"host:99999#top", "http://host:99999#top"},
        {"host:8080x", "host:8080x"},  // not a port: the digits run on
        {"1host:80", "http://1host:80"},
        {"support.example.com/help?a=b:c", "http://support.example.com/help?a=b:c"},
        {"-x:y", "http://-x:y"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& [typed, written] : cases) {
        EXPECT_EQ(written, NormaliseSupportUrl(typed)) << '"' << typed << '"';
    }
}

class BrandNowTest : public EngineTest {
protected:
    int systemPropertiesOpened() const {
        int opened = 0;
        for (const auto& launch : const_cast<BrandNowTest*>(this)->sim().launches()) {
            opened += launch.commandLine == "control.exe /name Microsoft.System" ||
                      launch.commandLine == "RUNDLL32.EXE shell32.dll,Control_RunDLL sysdm.cpl,,0";
        }
        return opened;
    }
    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        for (const auto& box : sim().messageBoxes()) {
            texts.push_back(box.text);
            EXPECT_EQ("Vexilla", box.title);
        }
        return texts;
    }
    void SetUp() override {
        EngineTest::SetUp();
        sim().defineProgram("control.exe", {0, 0});
        sim().defineProgram("RUNDLL32.EXE", {0, 0});
    }
};

TEST_F(BrandNowTest, SavesBrandsAndTalksToTheUser) {
    EditorFields fields;
    fields.mfgr = "Northwind";
    fields.supportURL = "support.example.com";
    fields.model = "";
    sim().setRegistryValue(kOemKey, "Model", {1, std::string("Old\0", 4)});
    BrandNow(fields);
    EXPECT_EQ((std::vector<std::string>{"Done", "Completed!"}), messages())
        << "no shortcut question";
    EXPECT_EQ(2, systemPropertiesOpened());
    EXPECT_EQ("Northwind", text(kOemKey, "Manufacturer"));
    EXPECT_EQ("http://support.example.com", text(kOemKey, "SupportURL"));
    EXPECT_FALSE(sim().registryValue(kOemKey, "Model").has_value());
    EXPECT_NE(std::string::npos, sim().fileBytes(kKit + "Vexilla.INI")->find("Mfgr=Northwind"));
}

TEST_F(BrandNowTest, OffersTheShortcutWhenThereIsAnAddress) {
    EditorFields fields;
    fields.dropDesktopShortcutURL = "http://support.example.com";
    fields.dropDesktopShortcutName = "Support";
    sim().queueMessageBoxAnswer(platform::kAnswerOk);
    sim().queueMessageBoxAnswer(platform::kAnswerYes);
    BrandNow(fields);
    EXPECT_EQ((std::vector<std::string>{"Done", "Drop a custom desktop shortcut?", "Completed!"}),
              messages());
    EXPECT_EQ(platform::MessageButtons::YesNo, sim().messageBoxes()[1].buttons);
    EXPECT_TRUE(sim().fileBytes("C:\\Users\\Public\\Desktop\\Support.url").has_value());
}

TEST_F(BrandNowTest, OnXpTheLinkIsRegisteredFromTheBoxes) {
    sim().setVersion(platform::sim::WindowsXP());
    EditorFields fields;
    fields.buttonName = "Help";
    fields.buttonAction = "https://support.example.com";
    BrandNow(fields);
    EXPECT_EQ("Help", text(kLinkKey, ""));
    EXPECT_EQ("<missing>", text(kLinkKey + "\\Instance\\InitPropertyBag", "properties"));
    EXPECT_EQ("Apartment", text(kLinkKey + "\\InProcServer32", "ThreadingModel"))
        << "the whole tree";
    EXPECT_FALSE(sim().registryValue(kOemKey, "Manufacturer").has_value());
    EXPECT_EQ(2, systemPropertiesOpened());
    EXPECT_EQ("RUNDLL32.EXE shell32.dll,Control_RunDLL sysdm.cpl,,0",
              sim().launches().back().commandLine);
}

TEST_F(BrandNowTest, RemovingFromTheEditorSaysDone) {
    RemoveBrandingFromEditor();
    EXPECT_EQ((std::vector<std::string>{"Done"}), messages());
    EXPECT_EQ(1, systemPropertiesOpened());
    EXPECT_EQ(1, sim().launches().back().showWindow);
}

// Branded from the editor over a vendor's values: "Restore Factory Branding" asks first. No
// changes nothing and says nothing more; Yes brings the vendor's values back, opens System
// Properties once and says "Done".
TEST_F(BrandNowTest, RestoringFactoryBrandingAsksFirst) {
    sim().setRegistryValue(kOemKey, "Manufacturer", {1, std::string("Contoso\0", 8)});
    EditorFields fields;
    fields.mfgr = "Northwind";
    BrandNow(fields);
    ASSERT_EQ("Northwind", text(kOemKey, "Manufacturer"));
    const std::string question =
        "Restore the factory branding that Vexilla recorded before its first change, and remove "
        "what Vexilla placed?";

    sim().queueMessageBoxAnswer(platform::kAnswerNo);
    RestoreFactoryBrandingFromEditor();
    EXPECT_EQ((std::vector<std::string>{"Done", "Completed!", question}), messages());
    EXPECT_EQ(platform::MessageButtons::YesNo, sim().messageBoxes().back().buttons);
    EXPECT_EQ(2, systemPropertiesOpened()) << "only Vexilla Now's two";
    EXPECT_EQ("Northwind", text(kOemKey, "Manufacturer"));

    sim().queueMessageBoxAnswer(platform::kAnswerYes);
    RestoreFactoryBrandingFromEditor();
    EXPECT_EQ((std::vector<std::string>{"Done", "Completed!", question, question, "Done"}),
              messages());
    EXPECT_EQ(platform::MessageButtons::Ok, sim().messageBoxes().back().buttons);
    EXPECT_EQ(3, systemPropertiesOpened());
    EXPECT_EQ("Contoso", text(kOemKey, "Manufacturer"));
    EXPECT_EQ("<missing>", text(kOemKey, "SupportURL")) << "what Vexilla wrote is gone";
}

}  // namespace
}  // namespace vx::test
