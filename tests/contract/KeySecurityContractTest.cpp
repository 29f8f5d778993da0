// Key permissions rewritten with the real security calls, and key deletion with escalation.

#include <algorithm>
#include <string>
#include <vector>

#include "contract/ContractFixture.h"
#include "deletion/RegistryDelete.h"
#include "registry/RegistryValues.h"
#include "security/KeyPermissions.h"

namespace vx::contract {
namespace {

using namespace security;
using deletion::fDeleteKey;
using platform::RegistryHandle;
using registry::fWriteValue;

class KeySecurityContract : public ContractTest {
protected:
    void SetUp() override {
        ContractTest::SetUp();
        view_ = World().is64BitWindows() ? platform::kKeyWow64_64Key : 0;
        guid_ = "{vexilla-contract-" + std::to_string(system().processes().tickMilliseconds()) +
                "-" + std::to_string(++counter_) + "}";
        key_ = "Software\\VexillaContract\\" + guid_;
    }
    void TearDown() override {
        World().removeOwnershipTool();
        for (const auto& [root, path] : cleanup_) {
            unlock(root, path);
            bool notFound = false;
            const auto slash = path.find_last_of('\\');
            static_cast<void>(fDeleteKey(root == platform::kClassesRoot ? "HKCR" : "HKLM",
                                         path.substr(0, slash), path.substr(slash + 1), notFound));
        }
        ContractTest::TearDown();
    }

    std::string dacl(RegistryHandle root, const std::string& path) {
        RegistryHandle key = 0;
        std::string descriptor;
        if (system().registry().openKey(root, path, platform::kReadControl | view_, key) == 0) {
            static_cast<void>(
                system().registry().getKeySecurity(key, kDaclSecurityInformation, descriptor));
            static_cast<void>(system().registry().closeKey(key));
        }
        return descriptor;
    }
    platform::Status setDacl(RegistryHandle root, const std::string& path,
                             const std::vector<Ace>& entries) {
        RegistryHandle key = 0;
        auto status = system().registry().openKey(root, path, platform::kWriteDac | view_, key);
        if (status == 0) {
            status = system().registry().setKeySecurity(
                key, kDaclSecurityInformation, BuildSecurityDescriptorBytes(0, BuildAcl(entries)));
            static_cast<void>(system().registry().closeKey(key));
        }
        return status;
    }
    // Everyone may do everything again, on the key and below it.
    void unlock(RegistryHandle root, const std::string& path) {
        static_cast<void>(
            setDacl(root, path, {{kAccessAllowedAce, 0, 0xF003F, EveryoneSid(), {}}}));
        RegistryHandle key = 0;
        if (system().registry().openKey(root, path, platform::kKeyEnumerateSubKeys | view_, key) !=
            0) {
            return;
        }
        std::vector<std::string> children;
        std::string name;
        for (std::uint32_t i = 0; system().registry().enumKey(key, i, name) == 0; ++i) {
            children.push_back(name);
        }
        static_cast<void>(system().registry().closeKey(key));
        for (const auto& child : children) {
            unlock(root, path + "\\" + child);
        }
    }
    std::vector<Ace> entriesOf(const std::string& descriptor) {
        const auto parsed = ParseSecurityDescriptor(descriptor);
        if (!parsed || !parsed->dacl) {
            return {};
        }
        return ParseAcl(*parsed->dacl).value_or(std::vector<Ace>{});
    }
    bool exists(RegistryHandle root, const std::string& path, std::uint32_t view) {
        RegistryHandle key = 0;
        const auto status =
            system().registry().openKey(root, path, platform::kKeyQueryValue | view, key);
        if (status == 0) {
            static_cast<void>(system().registry().closeKey(key));
        }
        return status == 0;
    }

    std::uint32_t view_ = 0;
    std::string guid_, key_;
    std::vector<std::pair<RegistryHandle, std::string>> cleanup_;
    static inline int counter_ = 0;
};

TEST_F(KeySecurityContract, ADaclIsRewrittenInCanonicalOrder) {
    ASSERT_EQ(0u, fWriteValue("HKLM", key_, "x", "S", std::string("1")));
    cleanup_.emplace_back(platform::kLocalMachine, key_);
    ASSERT_EQ(0u, setDacl(platform::kLocalMachine, key_,
                          {{kAccessAllowedAce, 0, 0x20019, AdministratorsSid(), {}},
                           {kAccessAllowedAce, 0, 0x20019, UsersSid(), {}},
                           {kAccessAllowedAce, 0, 0xF003F, AdministratorsSid(), {}}}));
    std::string account = "Administrators", accessType;
    ASSERT_TRUE(RegSetKeyPermission("HKLM", key_, account, accessType, "ALL"));
    EXPECT_EQ("Allow", accessType);

    const auto entries = entriesOf(dacl(platform::kLocalMachine, key_));
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(UsersSid(), entries[0].sid);
    EXPECT_EQ(0x20019u, entries[0].mask);
    EXPECT_EQ(AdministratorsSid(), entries[1].sid) << "one Administrators entry, the new one";
    EXPECT_EQ(0xF003Fu, entries[1].mask);
    EXPECT_EQ(kContainerInheritAce, entries[1].flags);
}

TEST_F(KeySecurityContract, FullControlForTheFiveAccounts) {
    ASSERT_EQ(0u, fWriteValue("HKLM", key_, "x", "S", std::string("1")));
    cleanup_.emplace_back(platform::kLocalMachine, key_);
    EXPECT_FALSE(GetRegKeyPermissions("HKLM", key_)) << "none of the five failed";
    const auto user = AccountSid(Variable("USERNAME"));
    ASSERT_TRUE(user.has_value());
    std::vector<Sid> granted;
    for (const auto& entry : entriesOf(dacl(platform::kLocalMachine, key_))) {
        if (entry.type == kAccessAllowedAce && entry.mask == 0xF003F &&
            entry.flags == kContainerInheritAce) {
            granted.push_back(entry.sid);
        }
    }
    for (const auto& sid :
         {*user, LocalSystemSid(), AdministratorsSid(), PowerUsersSid(), UsersSid()}) {
        EXPECT_NE(granted.end(), std::find(granted.begin(), granted.end(), sid)) << SidText(sid);
    }
}

TEST_F(KeySecurityContract, AClassTreeIsDeletedInThe64BitView) {
    const std::string clsid = "CLSID\\" + guid_;
    ASSERT_EQ(0u, fWriteValue("HKCR", clsid + "\\Instance\\InitPropertyBag", "method", "S",
                              std::string("ShellExecute")));
    ASSERT_EQ(0u, fWriteValue("HKCR", clsid + "\\InProcServer32", "", "E",
                              std::string("%SystemRoot%\\x.dll")));
    ASSERT_EQ(0u, fWriteValue("HKCR", clsid + "\\shellex\\ContextMenuHandlers\\" + guid_, "", "S",
                              std::string()));
    if (World().is64BitWindows()) {
        RegistryHandle twin = 0;
        ASSERT_EQ(0u, system().registry().createKey(
                          platform::kClassesRoot, clsid,
                          platform::kKeySetValue | platform::kKeyWow64_32Key, twin));
        ASSERT_EQ(0u, system().registry().closeKey(twin));
        cleanup_.emplace_back(platform::kClassesRoot, clsid);
    }
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteKey("HKCR", "CLSID", guid_, notFound));
    EXPECT_FALSE(notFound);
    EXPECT_FALSE(exists(platform::kClassesRoot, clsid, view_));
    if (World().is64BitWindows()) {
        EXPECT_TRUE(exists(platform::kClassesRoot, clsid, platform::kKeyWow64_32Key))
            << "the 32-bit twin stays";
        view_ = platform::kKeyWow64_32Key;  // for the clean-up
    }
    notFound = false;
    EXPECT_EQ(0u, fDeleteKey("HKCR", "CLSID", "{vexilla-never-there}", notFound));
    EXPECT_TRUE(notFound);
}

TEST_F(KeySecurityContract, ARefusedDeletionEscalatesAndPutsThePermissionsBack) {
    World().installOwnershipTool();
    ASSERT_EQ(0u, fWriteValue("HKLM", key_ + "\\locked\\inner", "x", "S", std::string("1")));
    cleanup_.emplace_back(platform::kLocalMachine, key_);
    // Nobody may list or read "locked": Windows will not delete its parent.
    ASSERT_EQ(0u, setDacl(platform::kLocalMachine, key_ + "\\locked",
                          {{kAccessDeniedAce, 0, 0x10009, EveryoneSid(), {}},
                           {kAccessAllowedAce, 0, 0xF003F, EveryoneSid(), {}}}));
    const std::string before = dacl(platform::kLocalMachine, key_);
    const std::string lockedBefore = dacl(platform::kLocalMachine, key_ + "\\locked");
    ASSERT_FALSE(before.empty());

    bool notFound = false;
    const auto slash = key_.find_last_of('\\');
    const auto status = fDeleteKey("HKLM", key_.substr(0, slash), key_.substr(slash + 1), notFound);
    EXPECT_NE(0u, status);
    EXPECT_NE(2u, status);
    EXPECT_FALSE(notFound);
    EXPECT_TRUE(exists(platform::kLocalMachine, key_, view_));

    const std::string full = "HKEY_LOCAL_MACHINE\\" + key_;
    const auto commands = World().ownershipToolCommands();
    ASSERT_EQ(2u, commands.size());
    EXPECT_NE(std::string::npos, commands[0].find("subinacl.exe\" /keyreg \"" + full +
                                                  "\" /setowner=administrators /grant="));
    EXPECT_NE(std::string::npos, commands[1].find("subinacl.exe\" /subkeyreg \"" + full +
                                                  "\" /setowner=administrators /grant="));

    EXPECT_EQ(before, dacl(platform::kLocalMachine, key_)) << "the widened DACL is put back";
    EXPECT_EQ(lockedBefore, dacl(platform::kLocalMachine, key_ + "\\locked"));
}

}  // namespace
}  // namespace vx::contract
