#include "engine/OemLink.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

using OemLink = EngineTest;

TEST_F(OemLink, EveryRowWithItsType) {
    Settings(
        "[OSBranding]\r\nButtonName=Northwind Support\r\nButtonToolTip=Get help\r\n"
        "ButtonAction=https://support.example.com\r\nButtonAltAction=C:\\Tools\\info.exe\r\n"
        "ButtonAltName=System information\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("C:\\Windows\\System32\\shell32.dll,-24", Text(kLinkKey + "\\DefaultIcon", ""));
    EXPECT_EQ("Northwind Support", Text(kLinkKey, ""));
    EXPECT_EQ("Northwind Support", Text(kLinkKey, "LocalizedString"));
    EXPECT_EQ("Get help", Text(kLinkKey, "InfoTip"));
    const std::string bag = kLinkKey + "\\Instance\\InitPropertyBag";
    EXPECT_EQ("{13709620-C279-11CE-A49E-444553540000}", Text(bag, "CLSID"));
    EXPECT_EQ("ShellExecute", Text(bag, "method"));
    EXPECT_EQ("Northwind Support", Text(bag, "Command"));
    EXPECT_EQ("https://support.example.com", Text(bag, "Param1"));
    EXPECT_EQ("C:\\Tools\\info.exe", Text(bag, "properties"));
    EXPECT_EQ("System information", Text(bag, "propertiestext"));
    EXPECT_EQ("{3f454f0e-42ae-4d7c-8ea3-328250d6e272}", Text(kLinkKey + "\\Instance", "CLSID"));
    EXPECT_EQ(4u, Type(kLinkKey + "\\ShellFolder", "Attributes"));
    EXPECT_EQ("", Text(kLinkKey +
                           "\\shellex\\ContextMenuHandlers\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}",
                       ""));
    EXPECT_EQ("", Text(kLinkKey + "\\shellex\\MayChangeDefaultMenu", ""));
    EXPECT_EQ(2u, Type(kLinkKey + "\\InProcServer32", ""));
    EXPECT_EQ("%SystemRoot%\\system32\\shdocvw.dll", Text(kLinkKey + "\\InProcServer32", ""));
    EXPECT_EQ("Apartment", Text(kLinkKey + "\\InProcServer32", "ThreadingModel"));
    EXPECT_FALSE(sim().registryKeyExists(
        "HKLM\\Software\\Classes\\Wow6432Node\\CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}"));
}

TEST_F(OemLink, AProgramActionIsItsOwnIconInAnyCase) {
    Settings("[OSBranding]\r\nButtonName=Tools\r\nButtonAction=C:\\Tools\\SETUP.EXE\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("C:\\Tools\\SETUP.EXE,0", Text(kLinkKey + "\\DefaultIcon", ""));
}

TEST_F(OemLink, AnIconFromTheKitIsCopiedAndUsed) {
    Settings(
        "[OSBranding]\r\nButtonName=Tools\r\nButtonAction=x.exe\r\nButtonIcon=support.ico\r\n");
    KitFile("support.ico", "ICO");
    engine::RegisterOemLink();
    EXPECT_EQ("C:\\Windows\\support.ico", Text(kLinkKey + "\\DefaultIcon", ""));
    EXPECT_EQ("ICO", sim().fileBytes("C:\\Windows\\support.ico"));
}

TEST_F(OemLink, AMissingIconKeepsTheFirstRowAndCopiesNothing) {
    Settings("[OSBranding]\r\nButtonName=Tools\r\nButtonAction=x.exe\r\nButtonIcon=absent.ico\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("x.exe,0", Text(kLinkKey + "\\DefaultIcon", ""));
    EXPECT_FALSE(sim().fileBytes("C:\\Windows\\absent.ico").has_value());
}

TEST_F(OemLink, OneAlternateFieldAloneWritesNoPropertiesAndKeepsOlderOnes) {
    sim().setRegistryValue(kLinkKey + "\\Instance\\InitPropertyBag", "properties",
                           {1, std::string("older\0", 6)});
    Settings(
        "[OSBranding]\r\nButtonName=Tools\r\nButtonAction=x.exe\r\nButtonAltName=Only a name\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("older", Text(kLinkKey + "\\Instance\\InitPropertyBag", "properties"));
    EXPECT_EQ("<missing>", Text(kLinkKey + "\\Instance\\InitPropertyBag", "propertiestext"));
}

TEST_F(OemLink, NothingWithoutANameOrAnAction) {
    Settings("[OSBranding]\r\nButtonName=Tools\r\n");
    engine::RegisterOemLink();
    Settings("[OSBranding]\r\nButtonAction=x.exe\r\n");
    engine::RegisterOemLink();
    EXPECT_FALSE(sim().registryKeyExists(kLinkKey));
}

TEST_F(OemLink, AnIconNameThatLeavesTheKitIsRefused) {
    sim().addFile("C:\\Windows\\System32\\evil.ico", "X");
    Settings(
        "[OSBranding]\r\nButtonName=Tools\r\nButtonAction=x.exe\r\nButtonIcon=..\\.."
        "\\Windows\\System32\\evil.ico\r\n");
    engine::RegisterOemLink();
    EXPECT_EQ("x.exe,0", Text(kLinkKey + "\\DefaultIcon", ""));
    EXPECT_EQ("Tools", Text(kLinkKey, "")) << "the rest of the registration runs";
    EXPECT_EQ("\tmodBranding: ButtonIcon is not a plain file name; step skipped", lines().front());
}

}  // namespace
}  // namespace vx::test
