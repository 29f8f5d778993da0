#include "security/KeyPermissions.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using namespace security;
using DaclMerge = SimTest;

constexpr std::uint32_t kFull = 0xF003F;
constexpr std::uint32_t kRead = 0x20019;

std::string Descriptor(std::uint16_t control, const std::vector<Ace>& entries) {
    return BuildSecurityDescriptorBytes(control, BuildAcl(entries));
}
Ace Allow(const Sid& sid, std::uint32_t mask, std::uint8_t flags = 0) {
    return {kAccessAllowedAce, flags, mask, sid, {}};
}
Ace Deny(const Sid& sid, std::uint32_t mask, std::uint8_t flags = 0) {
    return {kAccessDeniedAce, flags, mask, sid, {}};
}
std::vector<PermissionEntry> FullControlFor(std::initializer_list<const char*> accounts) {
    std::vector<PermissionEntry> entries;
    for (const char* account : accounts) {
        entries.push_back({account, kFull, kContainerInheritAce, kAccessAllowedAce, {}});
    }
    return entries;
}

TEST_F(DaclMerge, AnExistingEntryIsReplacedInCanonicalPlace) {
    const Sid inheritedUsers = UsersSid();
    const std::string old =
        Descriptor(0, {
                          Deny(EveryoneSid(), 0x10009),
                          Allow(AdministratorsSid(), kRead),
                          Allow(LocalSystemSid(), kFull),
                          Allow(inheritedUsers, kRead, kInheritedAce | kContainerInheritAce),
                          Allow(AdministratorsSid(), kFull, kInheritedAce),
                      });
    auto entries = FullControlFor({"Administrators"});
    std::string merged;
    ASSERT_TRUE(BuildSecurityDescriptor(old, entries, merged));

    const std::string expected =
        Descriptor(0, {
                          Deny(EveryoneSid(), 0x10009),
                          Allow(LocalSystemSid(), kFull),
                          Allow(AdministratorsSid(), kFull, kContainerInheritAce),
                          Allow(inheritedUsers, kRead, kInheritedAce | kContainerInheritAce),
                          Allow(AdministratorsSid(), kFull, kInheritedAce),
                      });
    EXPECT_EQ(expected, merged) << "byte for byte";
    EXPECT_TRUE(entries[0].sid.empty()) << "looked-up SIDs are not kept";
}

TEST_F(DaclMerge, NewDeniesComeFirstAndNewAllowsAfterTheOldExplicitOnes) {
    const std::string old =
        Descriptor(0, {Allow(UsersSid(), kRead), Allow(EveryoneSid(), kRead, kInheritedAce)});
    std::vector<PermissionEntry> entries{
        {"System", kFull, kContainerInheritAce, kAccessAllowedAce, {}},
        {"Power Users", kRead, kContainerInheritAce, kAccessDeniedAce, {}},
    };
    std::string merged;
    ASSERT_TRUE(BuildSecurityDescriptor(old, entries, merged));
    EXPECT_EQ(
        Descriptor(0, {Deny(PowerUsersSid(), kRead, kContainerInheritAce), Allow(UsersSid(), kRead),
                       Allow(LocalSystemSid(), kFull, kContainerInheritAce),
                       Allow(EveryoneSid(), kRead, kInheritedAce)}),
        merged);
}

// An old list out of canonical order (an explicit allow before an explicit deny, explicit
// entries after inherited ones) comes back in it; an explicit entry after the inherited ones is
// still replaced by the new entry for its account.
TEST_F(DaclMerge, AnOldListOutOfOrderIsMergedIntoCanonicalOrder) {
    const std::string old = Descriptor(
        0, {Allow(UsersSid(), kRead), Deny(EveryoneSid(), 0x10009),
            Allow(LocalSystemSid(), kFull, kInheritedAce), Deny(AdministratorsSid(), 0x1),
            Deny(PowerUsersSid(), kRead, kInheritedAce), Allow(EveryoneSid(), kRead)});
    auto entries = FullControlFor({"Administrators"});
    std::string merged;
    ASSERT_TRUE(BuildSecurityDescriptor(old, entries, merged));
    EXPECT_EQ(Descriptor(0, {Deny(EveryoneSid(), 0x10009), Allow(UsersSid(), kRead),
                             Allow(EveryoneSid(), kRead),
                             Allow(AdministratorsSid(), kFull, kContainerInheritAce),
                             Deny(PowerUsersSid(), kRead, kInheritedAce),
                             Allow(LocalSystemSid(), kFull, kInheritedAce)}),
              merged);
}

// The ACL size field is 16-bit: a merge that would outgrow it fails instead of writing a
// list whose size field wrapped.
TEST_F(DaclMerge, AMergeThatOutgrowsTheLargestAclFails) {
    // 3276 entries of 20 bytes and the header: 65528 bytes, 7 short of the largest ACL.
    const std::vector<Ace> crowded(3276, Allow(EveryoneSid(), kRead, kInheritedAce));
    const std::string old = Descriptor(0, crowded);
    auto entries = FullControlFor({"Administrators"});
    std::string merged = "untouched";
    EXPECT_FALSE(BuildSecurityDescriptor(old, entries, merged));
    EXPECT_EQ("untouched", merged);
    EXPECT_TRUE(entries[0].sid.empty()) << "looked-up SIDs are not kept";

    const std::vector<Ace> roomy(3274, Allow(EveryoneSid(), kRead, kInheritedAce));
    const std::string fits = Descriptor(0, roomy);
    ASSERT_TRUE(BuildSecurityDescriptor(fits, entries, merged)) << "65488 + 24 bytes fit";
    EXPECT_EQ(3275u, ParseAcl(*ParseSecurityDescriptor(merged)->dacl)->size());
}

TEST_F(DaclMerge, ANullDaclGetsOnlyTheNewEntries) {
    const std::string nullDacl = BuildSecurityDescriptorBytes(0, std::nullopt);
    auto entries = FullControlFor({"Users"});
    std::string merged;
    ASSERT_TRUE(BuildSecurityDescriptor(nullDacl, entries, merged));
    EXPECT_EQ(Descriptor(0, {Allow(UsersSid(), kFull, kContainerInheritAce)}), merged);
}

TEST_F(DaclMerge, ProtectionAndAutoInheritanceAreCarriedOver) {
    auto entries = FullControlFor({"Administrators"});
    std::string merged;
    ASSERT_TRUE(BuildSecurityDescriptor(Descriptor(kSeDaclProtected, {}), entries, merged));
    EXPECT_EQ(kSeDaclProtected | kSeDaclPresent | kSeSelfRelative,
              ParseSecurityDescriptor(merged)->control);

    ASSERT_TRUE(BuildSecurityDescriptor(Descriptor(kSeDaclAutoInherited | kSeDaclProtected, {}),
                                        entries, merged));
    EXPECT_EQ(kSeDaclAutoInheritReq | kSeDaclAutoInherited | kSeDaclPresent | kSeSelfRelative,
              ParseSecurityDescriptor(merged)->control);

    sim().setVersion([] {
        platform::OsVersionRecord nt4;
        nt4.platformId = 2;
        nt4.majorVersion = 4;
        return nt4;
    }());
    ASSERT_TRUE(BuildSecurityDescriptor(Descriptor(kSeDaclProtected, {}), entries, merged));
    EXPECT_EQ(kSeDaclPresent | kSeSelfRelative, ParseSecurityDescriptor(merged)->control)
        << "control bits are a Windows 2000 feature";
}

TEST_F(DaclMerge, AnUnknownAccountFailsTheWholeMerge) {
    auto entries = FullControlFor({"Administrators", "nobody-by-this-name"});
    std::string merged = "untouched";
    EXPECT_FALSE(BuildSecurityDescriptor(Descriptor(0, {}), entries, merged));
    EXPECT_EQ("untouched", merged);
    EXPECT_TRUE(entries[0].sid.empty());
}

TEST_F(DaclMerge, OtherEntryKindsTravelUnchanged) {
    // An object entry (type 5) of a made-up size that is no allow/deny entry.
    std::string object = std::string("\x05\x00\x10\x00", 4) + std::string("\x3f\x00\x0f\x00", 4) +
                         std::string(8, '\x7f');
    Ace unusual{5, 0, 0, {}, object};
    const std::string old = Descriptor(0, {unusual});
    auto entries = FullControlFor({"System"});
    std::string merged;
    ASSERT_TRUE(BuildSecurityDescriptor(old, entries, merged));
    const auto acl = ParseAcl(*ParseSecurityDescriptor(merged)->dacl);
    ASSERT_TRUE(acl.has_value());
    ASSERT_EQ(2u, acl->size());
    EXPECT_EQ(object, (*acl)[0].raw);
}

TEST(SecurityBytes, WellKnownSidsAndMasks) {
    EXPECT_EQ("S-1-5-18", SidText(LocalSystemSid()));
    EXPECT_EQ("S-1-5-32-544", SidText(AdministratorsSid()));
    EXPECT_EQ("S-1-5-32-547", SidText(PowerUsersSid()));
    EXPECT_EQ("S-1-1-0", SidText(EveryoneSid()));
    EXPECT_EQ(16u, SidLength(AdministratorsSid()));
    EXPECT_EQ(0x20019u, PermissionMask("Read"));
    EXPECT_EQ(0x20019u, PermissionMask("X"));
    EXPECT_EQ(0x20006u, PermissionMask("W"));
    EXPECT_EQ(0xF003Fu, PermissionMask("ALL"));
    EXPECT_EQ(0xF003Fu, PermissionMask("read")) << "the words are case-sensitive";
    EXPECT_FALSE(ParseAcl(std::string("\x02\x00\x40\x00\x01\x00\x00\x00", 8)).has_value())
        << "a size beyond the bytes is refused";
}

}  // namespace
}  // namespace vx::test

namespace vx::test {
namespace {

using KeyPermissions = SimTest;

TEST_F(KeyPermissions, AnUnknownAccountFailsOnlyItsOwnUpdate) {
    sim().addRegistryKey("HKLM\\Software\\Northwind");
    sim().setVariable("USERNAME", "nobody-by-this-name");
    EXPECT_TRUE(security::GetRegKeyPermissions("HKLM", "Software\\Northwind"))
        << "one of five failed";
    const auto descriptor = sim().registryKeySecurity("HKLM\\Software\\Northwind");
    ASSERT_TRUE(descriptor.has_value());
    const auto acl = security::ParseAcl(*security::ParseSecurityDescriptor(*descriptor)->dacl);
    ASSERT_TRUE(acl.has_value());
    std::vector<std::string> granted;
    for (const auto& ace : *acl) {
        if (ace.type == security::kAccessAllowedAce && ace.mask == kFull &&
            ace.flags == security::kContainerInheritAce) {
            granted.push_back(security::SidText(ace.sid));
        }
    }
    EXPECT_EQ(
        (std::vector<std::string>{"S-1-5-18", "S-1-5-32-544", "S-1-5-32-547", "S-1-5-32-545"}),
        granted);
}

TEST_F(KeyPermissions, OnlyKeysBelowTheFourTopKeysAreWidened) {
    sim().addRegistryKey("HKLM\\Software\\Northwind");
    sim().addRegistryKey("HKCC\\Software\\Northwind");
    sim().addRegistryKey("HKCU\\Software\\Northwind");
    const auto hklm = sim().registryKeySecurity("HKLM\\Software\\Northwind");
    const auto hkcc = sim().registryKeySecurity("HKCC\\Software\\Northwind");
    const auto hkcu = sim().registryKeySecurity("HKCU\\Software\\Northwind");
    std::string account, accessType;
    EXPECT_FALSE(
        security::RegSetKeyPermission("HKCC", "Software\\Northwind", account, accessType, "ALL"));
    EXPECT_EQ("tech", account);
    EXPECT_EQ("Allow", accessType);
    EXPECT_EQ((std::vector<std::string>{"\tSetPerm\\RegSetKeyPermission - Bad skey passed:  HKCC",
                                        "\t\tDefaulting to HKLM..."}),
              lines());
    EXPECT_TRUE(security::GetRegKeyPermissions("hkdd", "Software\\Northwind")) << "all refused";
    EXPECT_EQ(12u, lines().size()) << "nothing but the two lines, five times more";
    EXPECT_EQ(hklm, sim().registryKeySecurity("HKLM\\Software\\Northwind"));
    EXPECT_EQ(hkcc, sim().registryKeySecurity("HKCC\\Software\\Northwind"));
    EXPECT_FALSE(security::GetRegKeyPermissions("hkcu", "Software\\Northwind"));
    EXPECT_NE(hkcu, sim().registryKeySecurity("HKCU\\Software\\Northwind"));
}

}  // namespace
}  // namespace vx::test
