// Key security and account names of the simulated Windows, as measured under Wine 8.0 with a
// 32-bit probe (64-bit and 32-bit prefixes gave the same answers).

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/SimAccounts.h"
#include "platform/sim/SimKeySecurity.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSids.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {
namespace {

constexpr std::uint32_t kGenericRead = 0x80000000;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kOwnerAndDacl =
    kOwnerSecurityInformation | kGroupSecurityInformation | kDaclSecurityInformation;

// What Wine 8 returns for a key nobody gave a descriptor: the DACL alone, and with owner and
// group (both Administrators).
const char* const kDefaultDaclHex =
    "01000480000000000000000000000000140000000200380002000000000a1800000000800102000000000005"
    "2000000021020000000018003f000f0001020000000000052000000020020000";
const char* const kDefaultFullHex =
    "0100048014000000240000000000000034000000010200000000000520000000200200000102000000000005"
    "200000002002000002003800"
    "02000000000a18000000008001020000000000052000000021020000000018003f000f00010200000000000520"
    "00000020020000";

std::string Hex(const std::string& bytes) {
    static const char* const kDigits = "0123456789abcdef";
    std::string text;
    for (const char c : bytes) {
        text += kDigits[(static_cast<unsigned char>(c) >> 4) & 0xF];
        text += kDigits[static_cast<unsigned char>(c) & 0xF];
    }
    return text;
}

void PutLe(std::string& bytes, std::size_t offset, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

struct Entry {
    std::uint8_t type;
    std::uint32_t mask;
    const char* sid;
    std::uint8_t flags = 0;
};
Entry Allow(std::uint32_t mask, const char* sid, std::uint8_t flags = 0) {
    return {kAccessAllowedAceType, mask, sid, flags};
}
Entry Deny(std::uint32_t mask, const char* sid) { return {kAccessDeniedAceType, mask, sid}; }

std::string Acl(const std::vector<Entry>& entries) {
    std::string acl(8, '\0');
    acl[0] = 2;
    for (const Entry& entry : entries) {
        const std::string sid = SidBytes(entry.sid);
        std::string ace(8, '\0');
        ace[0] = static_cast<char>(entry.type);
        ace[1] = static_cast<char>(entry.flags);
        PutLe(ace, 2, static_cast<std::uint32_t>(8 + sid.size()), 2);
        PutLe(ace, 4, entry.mask, 4);
        acl += ace + sid;
    }
    PutLe(acl, 2, static_cast<std::uint32_t>(acl.size()), 2);
    PutLe(acl, 4, static_cast<std::uint32_t>(entries.size()), 2);
    return acl;
}

// A self-relative descriptor in the layout the portable code builds: header, then owner,
// then the DACL. No DACL at all is a null DACL.
std::string Descriptor(std::optional<std::string> dacl, std::uint16_t control = 0,
                       const char* owner = nullptr) {
    std::string bytes(20, '\0');
    bytes[0] = 1;
    PutLe(bytes, 2, control | kSeSelfRelative | kSeDaclPresent, 2);
    if (owner != nullptr) {
        PutLe(bytes, 4, static_cast<std::uint32_t>(bytes.size()), 4);
        bytes += SidBytes(owner);
    }
    if (dacl) {
        PutLe(bytes, 16, static_cast<std::uint32_t>(bytes.size()), 4);
        bytes += *dacl;
    }
    return bytes;
}

std::string Owner(const std::string& descriptor) {
    DescriptorParts parts;
    if (ParseDescriptor(descriptor, parts) != kSuccess || !parts.owner) return "(none)";
    return SidText(*parts.owner);
}

// A 32-bit Windows: one registry view, so paths are stored as they are written.
class SimKeySecurity : public testing::Test {
protected:
    SimKeySecurity() : windows_(Bitness::Windows32) {}

    SimRegistry& registry() { return static_cast<SimRegistry&>(windows_.registry()); }

    // HKLM\Software\VxSec\<name>, with the given DACL when there is one.
    std::string Key(const std::string& name, std::optional<std::string> dacl = std::nullopt) {
        const std::string path = "HKLM\\Software\\VxSec\\" + name;
        windows_.addRegistryKey(path);
        if (dacl) windows_.setRegistryKeySecurity(path, Descriptor(*dacl));
        return "Software\\VxSec\\" + name;
    }
    Status Open(const std::string& path, std::uint32_t access, RegistryHandle& key) {
        return registry().openKey(kLocalMachine, path, access, key);
    }
    Status Delete(const std::string& path) { return registry().deleteKey(kLocalMachine, path); }
    // The status of opening `path` with `access`; the handle is closed again.
    Status OpenStatus(const std::string& path, std::uint32_t access) {
        RegistryHandle key = 0;
        const Status status = Open(path, access, key);
        if (status == kSuccess) {
            EXPECT_EQ(kSuccess, registry().closeKey(key));
        }
        return status;
    }
    std::string Get(RegistryHandle key, std::uint32_t information) {
        std::string descriptor;
        const Status status = registry().getKeySecurity(key, information, descriptor);
        return status == kSuccess ? descriptor : "rc=" + std::to_string(status);
    }

    SimWindows windows_;
};

TEST_F(SimKeySecurity, AKeyWithoutADescriptorOfItsOwnReportsWinesDefault) {
    RegistryHandle key = 0;
    ASSERT_EQ(kSuccess,
              registry().createKey(kLocalMachine, "Software\\VxFresh", kReadControl, key));
    EXPECT_EQ(kDefaultDaclHex, Hex(Get(key, kDaclSecurityInformation)));
    EXPECT_EQ(kDefaultFullHex, Hex(Get(key, kOwnerAndDacl)));
    EXPECT_EQ("0100048000000000000000000000000000000000", Hex(Get(key, 0)))
        << "information naming nothing";
    EXPECT_EQ(kSuccess, registry().closeKey(key));
    EXPECT_EQ(kDefaultFullHex,
              Hex(windows_.registryKeySecurity("HKLM\\Software\\VxFresh").value_or("")));

    ASSERT_EQ(kSuccess,
              registry().createKey(kClassesRoot, "CLSID\\{b1d3c4e5-0000-4000-8000-00000000feed}",
                                   kKeyRead, key));
    EXPECT_EQ(kDefaultDaclHex, Hex(Get(key, kDaclSecurityInformation)));
    EXPECT_EQ(kSuccess, registry().closeKey(key));
    EXPECT_EQ(kDefaultDaclHex, Hex(Get(kLocalMachine, kDaclSecurityInformation))) << "a root too";

    // Container-inherit entries of the parent are not passed on.
    const std::string parent = Key("Parent", Acl({Allow(kKeyAllAccess, "S-1-1-0", 0x02)}));
    ASSERT_EQ(kSuccess, registry().createKey(kLocalMachine, parent + "\\Child", kReadControl, key));
    EXPECT_EQ(kDefaultDaclHex, Hex(Get(key, kDaclSecurityInformation)));
    EXPECT_EQ(kSuccess, registry().closeKey(key));
    EXPECT_EQ(std::nullopt, windows_.registryKeySecurity("HKLM\\Software\\VxMissing"));
}

TEST_F(SimKeySecurity, ReadingNeedsReadControlAndWritingWriteDacOrWriteOwner) {
    const std::string path = Key("Rights");
    const std::string dacl = Descriptor(Acl({Allow(kKeyAllAccess, "S-1-5-32-544")}));
    const std::string owner = Descriptor(std::nullopt, 0, "S-1-5-32-544");
    struct Case {
        std::uint32_t access;
        Status get, setDacl, setOwner;
    };
    for (const Case& c :
         {Case{kKeyQueryValue, 5, 5, 5}, Case{kKeyRead, 0, 5, 5}, Case{kReadControl, 0, 5, 5},
          Case{kWriteDac, 5, 0, 5}, Case{kWriteOwner, 5, 5, 0}, Case{0, 5, 5, 5},
          Case{kKeyAllAccess, 0, 0, 0}}) {
        SCOPED_TRACE(c.access);
        RegistryHandle key = 0;
        ASSERT_EQ(kSuccess, Open(path, c.access, key));
        std::string descriptor;
        EXPECT_EQ(c.get, registry().getKeySecurity(key, kDaclSecurityInformation, descriptor));
        EXPECT_EQ(c.setDacl, registry().setKeySecurity(key, kDaclSecurityInformation, dacl));
        EXPECT_EQ(c.setOwner, registry().setKeySecurity(key, kOwnerSecurityInformation, owner));
        EXPECT_EQ(kSuccess, registry().closeKey(key));
    }

    RegistryHandle key = 0;
    ASSERT_EQ(kSuccess, Open(path, kKeyAllAccess, key));
    std::string descriptor;
    EXPECT_EQ(5u, registry().getKeySecurity(key, kSaclSecurityInformation, descriptor));
    // A deleted key's handle still reads and writes security; a closed one does not.
    ASSERT_EQ(kSuccess, Delete(path));
    EXPECT_EQ(Hex(dacl), Hex(Get(key, kDaclSecurityInformation)));
    EXPECT_EQ(kSuccess, registry().setKeySecurity(key, kDaclSecurityInformation, dacl));
    EXPECT_EQ(kSuccess, registry().closeKey(key));
    EXPECT_EQ(6u, registry().getKeySecurity(key, kDaclSecurityInformation, descriptor));
    EXPECT_EQ(6u, registry().setKeySecurity(key, kDaclSecurityInformation, dacl));
}

TEST_F(SimKeySecurity, ADaclComesBackByteForByteAndTheTokenBecomesOwner) {
    const std::string acl =
        Acl({Deny(0x10009, "S-1-1-0"), Allow(kKeyAllAccess, "S-1-5-32-544", 0x02),
             Allow(kKeyRead, "S-1-5-32-545", 0x12)});
    std::string badRevision = acl;
    badRevision[0] = 9;  // kept as given: Wine does not look at it
    for (const std::string& set :
         {Descriptor(acl), Descriptor(acl, 0x0500), Descriptor(acl, 0x1000),
          Descriptor(std::nullopt), Descriptor(Acl({})), Descriptor(badRevision)}) {
        SCOPED_TRACE(Hex(set));
        const std::string path = Key("RoundTrip");
        RegistryHandle key = 0;
        ASSERT_EQ(kSuccess, Open(path, kReadControl | kWriteDac, key));
        ASSERT_EQ(kSuccess, registry().setKeySecurity(key, kDaclSecurityInformation, set));
        EXPECT_EQ(Hex(set), Hex(Get(key, kDaclSecurityInformation)));
        EXPECT_EQ("S-1-5-21-0-0-0-513", Owner(Get(key, kOwnerAndDacl)));
        EXPECT_EQ(kSuccess, registry().closeKey(key));
        ASSERT_EQ(kSuccess, Delete(path));
    }

    // Without SE_DACL_PRESENT the DACL set is a null one.
    const std::string path = Key("NoDacl");
    RegistryHandle key = 0;
    ASSERT_EQ(kSuccess, Open(path, kReadControl | kWriteDac | kWriteOwner, key));
    std::string bare(20, '\0');
    bare[0] = 1;
    bare[3] = static_cast<char>(0x80);
    ASSERT_EQ(kSuccess, registry().setKeySecurity(key, kDaclSecurityInformation, bare));
    EXPECT_EQ("0100048000000000000000000000000000000000", Hex(Get(key, kDaclSecurityInformation)));
    // The owner replaced on its own: the DACL stays, its protection (a control bit) does not.
    ASSERT_EQ(kSuccess, registry().setKeySecurity(key, kDaclSecurityInformation,
                                                  Descriptor(Acl({}), 0x1000)));
    ASSERT_EQ(kSuccess, registry().setKeySecurity(key, kOwnerSecurityInformation,
                                                  Descriptor(std::nullopt, 0, "S-1-5-32-544")));
    EXPECT_EQ("0100048000000000000000000000000014000000" + Hex(Acl({})),
              Hex(Get(key, kDaclSecurityInformation)));
    EXPECT_EQ("S-1-5-32-544", Owner(Get(key, kOwnerAndDacl)));
    EXPECT_EQ(kSuccess, registry().closeKey(key));

    // A fresh key given only an owner also gets the token's default DACL.
    ASSERT_EQ(kSuccess, Open(Key("OwnerOnly"), kReadControl | kWriteOwner, key));
    ASSERT_EQ(kSuccess, registry().setKeySecurity(key, kOwnerSecurityInformation,
                                                  Descriptor(std::nullopt, 0, "S-1-1-0")));
    EXPECT_EQ(Hex(Descriptor(
                  Acl({Allow(0x10000000, "S-1-5-18"), Allow(0x10000000, "S-1-5-21-0-0-0-513")}))),
              Hex(Get(key, kDaclSecurityInformation)));
    EXPECT_EQ(kSuccess, registry().closeKey(key));
}

TEST_F(SimKeySecurity, MalformedDescriptorsAndInformationAreRefused) {
    RegistryHandle key = 0;
    ASSERT_EQ(kSuccess, Open(Key("Bad"), kKeyAllAccess, key));
    const std::string good = Descriptor(Acl({Allow(kKeyAllAccess, "S-1-1-0")}));
    std::string absolute = good;
    absolute[3] = 0;
    std::string revision2 = good;
    revision2[0] = 2;
    std::string overrun = good;
    overrun[22] = static_cast<char>(0x40);  // the ACL claims more bytes than there are
    std::string wildOwner = good;
    PutLe(wildOwner, 4, 0x1000, 4);
    struct Case {
        std::uint32_t information;
        std::string descriptor;
        Status expected;
    };
    for (const Case& c :
         {Case{0, good, 87}, Case{0x10, good, 87}, Case{4, good.substr(0, 19), 1338},
          Case{4, absolute, 1338}, Case{4, overrun, 1338}, Case{4, wildOwner, 1338},
          Case{4, revision2, 1305}, Case{1, good, 1338}, Case{2, good, 1338},
          Case{6, good, 1338}}) {
        SCOPED_TRACE(c.information);
        EXPECT_EQ(c.expected, registry().setKeySecurity(key, c.information, c.descriptor))
            << Hex(c.descriptor);
    }
    EXPECT_EQ(kDefaultDaclHex, Hex(Get(key, kDaclSecurityInformation))) << "nothing was set";
    EXPECT_EQ(kSuccess, registry().closeKey(key));
    EXPECT_THROW(windows_.setRegistryKeySecurity("HKLM\\Software\\VxSec\\Bad", absolute),
                 std::invalid_argument);
}

TEST_F(SimKeySecurity, OpeningIsCheckedAgainstTheDaclInOrder) {
    struct Case {
        const char* what;
        std::vector<Entry> entries;
        std::uint32_t access;
        Status expected;
    };
    const std::vector<Case> cases = {
        {"deny all: query",
         {Deny(kKeyAllAccess, "S-1-1-0"), Allow(kKeyAllAccess, "S-1-1-0")},
         kKeyQueryValue,
         5},
        {"deny all: all", {Deny(kKeyAllAccess, "S-1-1-0")}, kKeyAllAccess, 5},
        {"deny all: the owner's WRITE_DAC", {Deny(kKeyAllAccess, "S-1-1-0")}, kWriteDac, 0},
        {"deny all: the owner's standard rights", {Deny(kKeyAllAccess, "S-1-1-0")}, 0x1F0000, 0},
        {"deny all: nothing asked", {Deny(kKeyAllAccess, "S-1-1-0")}, 0, 0},
        {"allow, then deny",
         {Allow(kKeyAllAccess, "S-1-1-0"), Deny(kKeyAllAccess, "S-1-1-0")},
         kKeyAllAccess,
         0},
        {"deny set, then allow: set",
         {Deny(2, "S-1-1-0"), Allow(kKeyAllAccess, "S-1-1-0")},
         kKeyWrite,
         5},
        {"deny set, then allow: read",
         {Deny(2, "S-1-1-0"), Allow(kKeyAllAccess, "S-1-1-0")},
         kKeyRead,
         0},
        {"a deny of an owner right still ends the check",
         {Deny(kWriteDac, "S-1-1-0"), Allow(kKeyAllAccess, "S-1-1-0")},
         kWriteDac | kKeyQueryValue,
         5},
        {"generic read entry", {Allow(kGenericRead, "S-1-1-0")}, kKeyRead, 0},
        {"generic read entry: write", {Allow(kGenericRead, "S-1-1-0")}, kKeyWrite, 5},
        {"generic read asked", {Allow(kKeyRead, "S-1-1-0")}, kGenericRead | kKeyWow64_32Key, 0},
        {"inherit-only entries do not count", {Allow(kKeyAllAccess, "S-1-1-0", 0x0A)}, kKeyRead, 5},
        {"inherited entries do", {Allow(kKeyAllAccess, "S-1-1-0", 0x10)}, kKeyAllAccess, 0},
        {"empty DACL: READ_CONTROL", {}, kReadControl, 0},
        {"empty DACL: query", {}, kKeyQueryValue, 5},
        {"split over two groups",
         {Allow(1, "S-1-1-0"), Allow(0x20018, "S-1-5-32-545")},
         kKeyRead,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = Key("Check", Acl(c.entries));
        EXPECT_EQ(c.expected, OpenStatus(path, c.access));
        EXPECT_EQ(kSuccess, Delete(path));
    }

    // The token: the user, Everyone, Local, Interactive, Authenticated Users, Administrators
    // and Users; not SYSTEM, Power Users, CREATOR OWNER or OWNER RIGHTS.
    for (const char* sid :
         {kUserSid, "S-1-2-0", "S-1-5-4", "S-1-5-11", "S-1-5-32-544", "S-1-5-32-545"}) {
        SCOPED_TRACE(sid);
        EXPECT_EQ(kSuccess,
                  OpenStatus(Key("Token", Acl({Allow(kKeyAllAccess, sid)})), kKeyAllAccess));
    }
    for (const char* sid : {"S-1-5-18", "S-1-5-32-547", "S-1-3-0", "S-1-3-4"}) {
        SCOPED_TRACE(sid);
        EXPECT_EQ(5u, OpenStatus(Key("Token", Acl({Allow(kKeyAllAccess, sid)})), kKeyRead));
    }
    // A null DACL: anyone may do anything.
    windows_.setRegistryKeySecurity("HKLM\\Software\\VxSec\\Token", Descriptor(std::nullopt));
    EXPECT_EQ(kSuccess, OpenStatus("Software\\VxSec\\Token", kKeyAllAccess));
}

TEST_F(SimKeySecurity, MaximumAllowedGetsWhatTheDaclLeaves) {
    const std::string acl = Acl({Deny(0x10009, "S-1-1-0"), Allow(kKeyAllAccess, "S-1-1-0")});
    RegistryHandle key = 0;
    ASSERT_EQ(kSuccess, Open(Key("Max", acl), kMaximumAllowed, key));
    std::uint32_t type = 0, size = 0;
    std::string data;
    EXPECT_EQ(5u, registry().queryValue(key, "v", 16, type, data, size));
    EXPECT_EQ(kSuccess, registry().setValue(key, "v", kRegString, "x"));
    EXPECT_EQ(Hex(Descriptor(acl)), Hex(Get(key, kDaclSecurityInformation)));
    EXPECT_EQ(kSuccess, registry().closeKey(key));

    // Denying everything leaves the owner only SYNCHRONIZE: the handle opens, and can do nothing.
    ASSERT_EQ(kSuccess,
              Open(Key("MaxNone", Acl({Deny(kKeyAllAccess, "S-1-1-0")})), kMaximumAllowed, key));
    EXPECT_EQ(5u, registry().setValue(key, "v", kRegString, "x"));
    EXPECT_EQ("rc=5", Get(key, kDaclSecurityInformation));
    EXPECT_EQ(kSuccess, registry().closeKey(key));

    // A fresh key and a null DACL give every key right.
    for (const bool nullDacl : {false, true}) {
        const std::string path = Key("MaxOpen");
        if (nullDacl)
            windows_.setRegistryKeySecurity("HKLM\\Software\\VxSec\\MaxOpen",
                                            Descriptor(std::nullopt));
        ASSERT_EQ(kSuccess, Open(path, kMaximumAllowed, key));
        EXPECT_EQ(kSuccess, registry().setValue(key, "v", kRegString, "x"));
        EXPECT_EQ(kSuccess, registry().setKeySecurity(key, kOwnerSecurityInformation,
                                                      Descriptor(std::nullopt, 0, "S-1-5-32-544")));
        EXPECT_EQ(kSuccess, registry().closeKey(key));
        EXPECT_EQ(kSuccess, Delete(path));
    }
}

TEST_F(SimKeySecurity, AnOwnerOutsideTheTokenGetsNothingForFree) {
    const std::string path = Key("Foreign");
    windows_.setRegistryKeySecurity(
        "HKLM\\Software\\VxSec\\Foreign",
        Descriptor(Acl({Deny(kKeyAllAccess, "S-1-1-0")}), 0, "S-1-5-18"));
    EXPECT_EQ("S-1-5-18",
              Owner(windows_.registryKeySecurity("HKLM\\Software\\VxSec\\Foreign").value_or("")));
    for (const std::uint32_t access :
         {kReadControl, kWriteDac, kWriteOwner, kMaximumAllowed, kDelete}) {
        SCOPED_TRACE(access);
        EXPECT_EQ(5u, OpenStatus(path, access));
    }
    EXPECT_EQ(kSuccess, OpenStatus(path, 0));
    EXPECT_EQ(5u, Delete(path));

    // Deleting needs DELETE from the DACL then, and nothing else.
    windows_.setRegistryKeySecurity("HKLM\\Software\\VxSec\\Foreign",
                                    Descriptor(Acl({Allow(kDelete, "S-1-1-0")}), 0, "S-1-5-18"));
    EXPECT_EQ(kSuccess, Delete(path));
    EXPECT_FALSE(windows_.registryKeyExists("HKLM\\Software\\VxSec\\Foreign"));
}

TEST_F(SimKeySecurity, OnlySubkeysStopADeletionByAnOwner) {
    const std::string locked = Acl({Deny(0x10009, "S-1-1-0"), Allow(kKeyAllAccess, "S-1-1-0")});
    // The key's own DACL does not matter: the token owns it.
    for (const std::string& dacl : {locked, Acl({Deny(kKeyAllAccess, "S-1-1-0")}), Acl({})}) {
        EXPECT_EQ(kSuccess, Delete(Key("Self", dacl)));
    }
    // A locked subkey stops its parent only by being there; it goes itself when asked.
    Key("Tree");
    Key("Tree\\Locked\\Inner");
    windows_.setRegistryKeySecurity("HKLM\\Software\\VxSec\\Tree\\Locked", Descriptor(locked));
    RegistryHandle tree = 0;
    ASSERT_EQ(kSuccess, Open("Software\\VxSec\\Tree", 0, tree));
    EXPECT_EQ(5u, Delete("Software\\VxSec\\Tree"));
    EXPECT_EQ(5u, OpenStatus("Software\\VxSec\\Tree\\Locked", kKeyAllAccess))
        << "so no walk can empty it";
    EXPECT_EQ(5u, registry().deleteKey(tree, "Locked"));
    EXPECT_EQ(kSuccess, registry().deleteKey(tree, "Locked\\Inner"));
    EXPECT_EQ(kSuccess, registry().deleteKey(tree, "Locked"));
    EXPECT_EQ(kSuccess, registry().closeKey(tree));
    EXPECT_EQ(kSuccess, Delete("Software\\VxSec\\Tree"));
}

TEST_F(SimKeySecurity, CreatingChecksAnExistingKeyOnlyAndHandlesKeepTheirRights) {
    const std::string path = Key("Shut");
    Key("Shut\\Inner");
    RegistryHandle writer = 0;
    ASSERT_EQ(kSuccess, Open(path, kKeySetValue, writer));
    windows_.setRegistryKeySecurity("HKLM\\Software\\VxSec\\Shut",
                                    Descriptor(Acl({Deny(kKeyAllAccess, "S-1-1-0")})));
    EXPECT_EQ(kSuccess, registry().setValue(writer, "still", kRegString, "yes"))
        << "checked when opened only";
    EXPECT_EQ(kSuccess, registry().closeKey(writer));

    RegistryHandle key = 0;
    EXPECT_EQ(5u, registry().createKey(kLocalMachine, path, kKeyRead, key));
    ASSERT_EQ(kSuccess, registry().createKey(kLocalMachine, path, 0, key));
    EXPECT_EQ(kSuccess, registry().closeKey(key));
    // No right on a key is needed to reach or create what lies below it.
    EXPECT_EQ(kSuccess, OpenStatus(path + "\\Inner", kKeyAllAccess));
    ASSERT_EQ(kSuccess, registry().createKey(kLocalMachine, path + "\\New", kKeyAllAccess, key));
    EXPECT_EQ(kSuccess, registry().closeKey(key));
    EXPECT_EQ(0, windows_.openRegistryHandles());
}

TEST_F(SimKeySecurity, AccountNamesResolveAsUnderWine) {
    SimAccounts& accounts = static_cast<SimAccounts&>(windows_.accounts());
    const auto lookup = [&accounts](const std::string& name) {
        const std::optional<std::string> sid = accounts.lookupAccountSid(name);
        return sid ? SidText(*sid) : std::string("none");
    };
    struct Case {
        const char* name;
        const char* sid;
    };
    for (const Case& c : {Case{"tech", kUserSid},
                          Case{"SIMPC\\tech", kUserSid},
                          Case{"ELSEWHERE\\TECH", kUserSid},
                          Case{"System", "S-1-5-18"},
                          Case{"SYSTEM", "S-1-5-18"},
                          Case{"NT AUTHORITY\\SYSTEM", "S-1-5-18"},
                          Case{"Administrators", "S-1-5-32-544"},
                          Case{"BUILTIN\\Administrators", "S-1-5-32-544"},
                          Case{"users", "S-1-5-32-545"},
                          Case{"Power Users", "S-1-5-32-547"},
                          Case{"Everyone", "S-1-1-0"},
                          Case{"Authenticated Users", "S-1-5-11"},
                          Case{"BUILTIN", "S-1-5-32"},
                          Case{"", "S-1-5-32"},
                          Case{"SIMPC", "S-1-5-21-0-0-0"},
                          Case{"NOSUCHPC\\Administrators", "none"},
                          Case{"BUILTIN\\Everyone", "none"},
                          Case{"SIMPC\\System", "none"},
                          Case{" Administrators", "none"},
                          Case{"LocalSystem", "none"},
                          Case{"Administrator", "none"},
                          Case{"nobody", "none"},
                          Case{"NT AUTHORITY", "none"},
                          Case{"SIMPC\\", "none"}}) {
        EXPECT_EQ(c.sid, lookup(c.name)) << "\"" << c.name << "\"";
    }
}

}  // namespace
}  // namespace vx::platform::sim
