#include "engine/OemLink.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

using OemLink = EngineTest;

TEST_F(OemLink, EveryRowWithItsType) {
    settings(
        "[OSBranding]\r\nButtonName=Northwind Support\r\nButtonToolTip=Get help\r\n"
        "ButtonAction=https://support.example.com\r\nButtonAltAction=C:\\Tools\\info.exe\r\n"
        "ButtonAltName=System information\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("C:\\Windows\\System32\\shell32.dll,-24", text(kLinkKey + "\\DefaultIcon", ""));
    EXPECT_EQ("Northwind Support", text(kLinkKey, ""));
    EXPECT_EQ("Northwind Support", text(kLinkKey, "LocalizedString"));
    EXPECT_EQ("Get help", text(kLinkKey, "InfoTip"));
    const std::string bag = kLinkKey + "\\Instance\\InitPropertyBag";
    EXPECT_EQ("{13709620-C279-11CE-A49E-444553540000}", text(bag, "CLSID"));
    EXPECT_EQ("ShellExecute", text(bag, "method"));
    EXPECT_EQ("Northwind Support", text(bag, "Command"));
    EXPECT_EQ("https://support.example.com", text(bag, "Param1"));
    EXPECT_EQ("C:\\Tools\\info.exe", text(bag, "properties"));
    EXPECT_EQ("System information", text(bag, "propertiestext"));
    EXPECT_EQ("{3f454f0e-42ae-4d7c-8ea3-328250d6e272}", text(kLinkKey + "\\Instance", "CLSID"));
    EXPECT_EQ(4u, type(kLinkKey + "\\ShellFolder", "Attributes"));
    EXPECT_EQ("", text(kLinkKey +
                           "\\shellex\\ContextMenuHandlers\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}",
                       ""));
    EXPECT_EQ("", text(kLinkKey + "\\shellex\\MayChangeDefaultMenu", ""));
    EXPECT_EQ(2u, type(kLinkKey + "\\InProcServer32", ""));
    EXPECT_EQ("%SystemRoot%\\system32\\shdocvw.dll", text(kLinkKey + "\\InProcServer32", ""));
    EXPECT_EQ("Apartment", text(kLinkKey + "\\InProcServer32", "ThreadingModel"));
    EXPECT_FALSE(sim().registryKeyExists(
        "HKLM\\Software\\Classes\\Wow6432Node\\CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}"));
}

TEST_F(OemLink, AProgramActionIsItsOwnIconInAnyCase) {
    settings("[OSBranding]\r\nButtonName=Tools\r\nButtonAction=C:\\Tools\\SETUP.EXE\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("C:\\Tools\\SETUP.EXE,0", text(kLinkKey + "\\DefaultIcon", ""));
}

TEST_F(OemLink, AnIconFromTheKitIsCopiedAndUsed) {
    settings(
        "[OSBranding]\r\nButtonName=Tools\r\nButtonAction=x.exe\r\nButtonIcon=support.ico\r\n");
    kitFile("support.ico", "ICO");
    engine::RegisterOemLink();
    EXPECT_EQ("C:\\Windows\\support.ico", text(kLinkKey + "\\DefaultIcon", ""));
    EXPECT_EQ("ICO", sim().fileBytes("C:\\Windows\\support.ico"));
}

TEST_F(OemLink, AMissingIconKeepsTheFirstRowAndCopiesNothing) {
    settings("[OSBranding]\r\nButtonName=Tools\r\nButtonAction=x.exe\r\nButtonIcon=absent.ico\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("x.exe,0", text(kLinkKey + "\\DefaultIcon", ""));
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\absent.ico").has_value());
}

TEST_F(OemLink, AnIconNamingAFolderOfWindowsIsLeftOut) {
    sim().addDirectory("C:\\Windows\\Help");
    kitFile("Help", "ICO");
    settings("[OSBranding]\r\nButtonName=Tools\r\nButtonAction=x.exe\r\nButtonIcon=Help\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("x.exe,0", text(kLinkKey + "\\DefaultIcon", ""));
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\Help\\Help").has_value());
}

TEST_F(OemLink, OneAlternateFieldAloneWritesNoPropertiesAndKeepsOlderOnes) {
    sim().setRegistryValue(kLinkKey + "\\Instance\\InitPropertyBag", "properties",
                           {1, std::string("older\0", 6)});
    settings(
        "[OSBranding]\r\nButtonName=Tools\r\nButtonAction=x.exe\r\nButtonAltName=Only a name\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("older", text(kLinkKey + "\\Instance\\InitPropertyBag", "properties"));
    EXPECT_EQ("<missing>", text(kLinkKey + "\\Instance\\InitPropertyBag", "propertiestext"));
}

TEST_F(OemLink, NothingWithoutANameOrAnAction) {
    settings("[OSBranding]\r\nButtonName=Tools\r\n");
    engine::RegisterOemLink();
    settings("[OSBranding]\r\nButtonAction=x.exe\r\n");
    engine::RegisterOemLink();
    EXPECT_FALSE(sim().registryKeyExists(kLinkKey));
}

TEST_F(OemLink, AnIconNameThatLeavesTheKitIsRefused) {
    sim().addFile("C:\\Windows\\System32\\evil.ico", "X");
    settings(
        "[OSBranding]\r\nButtonName=Tools\r\nButtonAction=x.exe\r\nButtonIcon=..\\.."
        "\\Windows\\System32\\evil.ico\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("x.exe,0", text(kLinkKey + "\\DefaultIcon", ""));
    EXPECT_EQ("Tools", text(kLinkKey, "")) << "the rest of the registration runs";
    EXPECT_EQ("\tmodBranding: ButtonIcon is not a plain file name; step skipped", lines().front());
}

}  // namespace
}  // namespace vx::test
