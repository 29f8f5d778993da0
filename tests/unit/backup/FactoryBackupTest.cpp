#include "backup/FactoryBackup.h"

#include <string>
#include <vector>

#include "backup/BrandingPlaces.h"
#include "backup/RegistryState.h"
#include "engine/BrandingActions.h"
#include "unit/engine/EngineFixture.h"

namespace vx::test {
namespace {

using backup::RestoreOutcome;

const std::string kOemKeyWow =
    "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";
const std::string kLogo = "C:\\Windows\\System32\\oemlogo.bmp";
const std::string kBackupFolder = "C:\\ProgramData\\Vexilla\\FactoryBackup";

std::string Flatten(const std::vector<backup::KeyRecord>& records) {
    std::string text;
    for (const auto& key : records) {
        text += "[" + key.path + (key.present ? "" : " absent") + "]\n";
        for (const auto& value : key.values) {
            text += value.name + "=" + std::to_string(value.value->type) + ":" +
                    value.value->bytes + "\n";
        }
    }
    return text;
}

class FactoryBackup : public EngineTest {
protected:
    // Every key and value below HKLM\Software and the link class, in every view, as text.
    std::string RegistryNow() {
        std::string text;
        for (const auto view : backup::ViewsOfThisSystem()) {
            text += Flatten(backup::ReadTree("HKEY_LOCAL_MACHINE", "Software", view).value());
            text += Flatten(backup::ReadTree("HKEY_CLASSES_ROOT",
                                             "CLSID\\" + std::string(backup::kOemLinkClassId), view)
                                .value());
        }
        return text;
    }
    std::string FilesNow() {
        std::string text;
        for (const std::string& path : {kLogo, std::string("C:\\Windows\\System32\\oeminfo.ini"),
                                        std::string("C:\\Windows\\support.ico"),
                                        std::string("C:\\Users\\Public\\Desktop\\Help.url")}) {
            text += path + "=" + sim().fileBytes(path).value_or("<none>") + "\n";
        }
        return text;
    }
    int LinesWith(const std::string& part) {
        int count = 0;
        for (const auto& line : lines()) count += line.find(part) != std::string::npos ? 1 : 0;
        return count;
    }
    void Kit(const std::string& manufacturer, const std::string& logo) {
        settings("[OSBranding]\r\nMfgr=" + manufacturer +
                 "\r\nModel=M1\r\nURL=x.example\r\n"
                 "ButtonName=Help\r\nButtonAction=x.exe\r\nButtonIcon=support.ico\r\n"
                 "[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=Help\r\n"
                 "ShortcutIcon=support.ico\r\n");
        kitFile("oemlogo.bmp", logo);
        kitFile("support.ico", "ICO-" + manufacturer);
        kitFile("oeminfo.ini", "[General]\r\nManufacturer=" + manufacturer + "\r\n");
    }
};

// A refurbished machine: the vendor's values in both views (one value Vexilla never touches,
// one stored without a terminator), the vendor's logo. Two kits applied, a shortcut dropped,
// the branding removed: the restore brings back every byte, removes what Vexilla placed and
// then its own backup; a second restore finds nothing to do.
TEST_F(FactoryBackup, ARefurbishedMachineGetsEveryFactoryByteBack) {
    sim().setRegistryValue(kOemKey, "Manufacturer", {1, std::string("Contoso\0", 8)});
    sim().setRegistryValue(kOemKey, "Logo", {2, std::string("%SystemRoot%\\oem.bmp\0", 22)});
    sim().setRegistryValue(kOemKey, "SupportURL", {1, "http://contoso.example"});
    sim().setRegistryValue(kOemKey, "VendorTag", {3, "\x01\x02"});
    sim().setRegistryValue(kOemKeyWow, "Manufacturer", {1, std::string("Contoso 32\0", 11)});
    sim().addFile(kLogo, "BM-factory");
    const std::string registryBefore = RegistryNow();
    const std::string filesBefore = FilesNow();

    Kit("Northwind", "BM-northwind");
    engine::ApplyBranding();
    EXPECT_EQ(1, LinesWith("FactoryBackup: taken in " + kBackupFolder));
    ASSERT_TRUE(sim().fileBytes(kBackupFolder + "\\factory.reg").has_value());
    const std::string backupText = *sim().fileBytes(kBackupFolder + "\\factory.reg");
    EXPECT_EQ("BM-factory", sim().fileBytes(kBackupFolder + "\\oemlogo.bmp"));

    Kit("Fabrikam", "BM-fabrikam");
    engine::ApplyBranding();
    engine::DropDesktopShortcut();
    EXPECT_EQ(2, LinesWith("FactoryBackup: found the backup")) << "apply and drop both find it";
    EXPECT_EQ(backupText, sim().fileBytes(kBackupFolder + "\\factory.reg")) << "never overwritten";
    EXPECT_EQ("ICO-Fabrikam", sim().fileBytes("C:\\Windows\\support.ico"));
    engine::RemoveBranding();
    EXPECT_NE(registryBefore, RegistryNow());

    EXPECT_EQ(RestoreOutcome::Restored, backup::RestoreFactoryState());
    EXPECT_EQ(registryBefore, RegistryNow()) << "both views, the untouched value, the terminator";
    EXPECT_EQ(filesBefore, FilesNow()) << "factory logo back, icon and shortcut gone";
    EXPECT_FALSE(sim().directoryExists("C:\\ProgramData\\Vexilla"));
    EXPECT_FALSE(sim().registryKeyExists("HKLM\\Software\\Vexilla"));

    EXPECT_EQ(RestoreOutcome::NoBackup, backup::RestoreFactoryState());
    EXPECT_EQ(1, LinesWith("FactoryBackup: there is no backup; nothing was restored"));
    EXPECT_EQ(registryBefore, RegistryNow());
}

// On XP the support text and the whole OEM link class come back as they were, including keys
// and values Vexilla would never write.
TEST_F(FactoryBackup, XpGetsItsSupportTextAndLinkClassBack) {
    sim().setVersion(platform::sim::WindowsXP());
    sim().setRegistryValue(kLinkKey, "", {1, std::string("Vendor Help\0", 12)});
    sim().setRegistryValue(kLinkKey + "\\VendorOnly", "Flag", {4, std::string(4, '\x07')});
    sim().addFile("C:\\Windows\\System32\\oeminfo.ini", "[General]\r\nManufacturer=Contoso\r\n");
    const std::string registryBefore = RegistryNow();
    const std::string filesBefore = FilesNow();

    Kit("Northwind", "BM-northwind");
    engine::ApplyBranding();
    engine::RemoveBranding();
    EXPECT_FALSE(sim().registryKeyExists(kLinkKey));
    Kit("Fabrikam", "BM-fabrikam");
    engine::ApplyBranding();

    EXPECT_EQ(RestoreOutcome::Restored, backup::RestoreFactoryState());
    EXPECT_EQ(registryBefore, RegistryNow());
    EXPECT_EQ(filesBefore, FilesNow());
}

// A backup someone edited since it was taken is never applied, and stays for an administrator.
TEST_F(FactoryBackup, AnAlteredBackupIsRefusedAndNothingChanges) {
    sim().setRegistryValue(kOemKey, "Manufacturer", {1, std::string("Contoso\0", 8)});
    Kit("Northwind", "BM");
    engine::ApplyBranding();
    const std::string file = kBackupFolder + "\\factory.reg";
    std::string text = *sim().fileBytes(file);
    text.replace(text.find("Contoso"), 7, "Evil Co");
    sim().addFile(file, text);
    const std::string registryBefore = RegistryNow();

    EXPECT_EQ(RestoreOutcome::Refused, backup::RestoreFactoryState());
    EXPECT_EQ(registryBefore, RegistryNow());
    EXPECT_EQ(text, sim().fileBytes(file));
    EXPECT_EQ(1, LinesWith("was changed since it was taken; nothing was restored"));
}

// An icon name that is a Windows file: the drop uses the file that is there and never
// replaces it; the removal leaves it, with or without a file of that name in the kit.
TEST_F(FactoryBackup, AWindowsFileNamedAsTheIconIsNeverReplacedNorDeleted) {
    sim().addFile("C:\\Windows\\win.ini", "[fonts]\r\n");
    settings(
        "[DesktopShortcut]\r\nShortcutURL=http://a.example\r\nShortcutName=Help\r\n"
        "ShortcutIcon=win.ini\r\n");
    kitFile("win.ini", "kit's own");
    engine::DropDesktopShortcut();
    EXPECT_EQ("[fonts]\r\n", sim().fileBytes("C:\\Windows\\win.ini"));
    EXPECT_NE(std::string::npos, sim()
                                     .fileBytes("C:\\Users\\Public\\Desktop\\Help.url")
                                     ->find("IconFile=C:\\Windows\\win.ini"));
    EXPECT_EQ(1, LinesWith("C:\\Windows\\win.ini was not placed by Vexilla: it is not replaced"));
    engine::RemoveBranding();
    EXPECT_EQ("[fonts]\r\n", sim().fileBytes("C:\\Windows\\win.ini"));
    EXPECT_FALSE(sim().fileBytes("C:\\Users\\Public\\Desktop\\Help.url").has_value());
    EXPECT_EQ(1, LinesWith("C:\\Windows\\win.ini was not placed by Vexilla: it stays"));
}

}  // namespace
}  // namespace vx::test
