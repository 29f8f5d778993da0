#include <algorithm>
#include <map>

#include "deletion/RegistryDelete.h"
#include "registry/RegistryKey.h"
#include "security/Ownership.h"
#include "security/SecurityBytes.h"
#include "unit/SimFixture.h"

namespace vx::test {
namespace {

using namespace security;
using deletion::fDeleteKey;
using deletion::fDeleteSubkeys;
using deletion::fDeleteValue;
using Lines = std::vector<std::string>;

const std::string kOem = "Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";
const std::string kLink = "{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}";

std::string Dacl(const std::vector<Ace>& entries) {
    return BuildSecurityDescriptorBytes(0, BuildAcl(entries));
}
std::string DaclOf(const std::string& descriptor) {
    const auto parsed = ParseSecurityDescriptor(descriptor);
    return parsed && parsed->dacl ? *parsed->dacl : std::string("<none>");
}
Ace Entry(std::uint8_t type, std::uint32_t mask, const Sid& sid) {
    return {type, 0, mask, sid, {}};
}

// The security of every key of the simulated registry, by stored path.
void CollectSecurity(const platform::sim::SimWindows& sim, const std::string& key,
                     std::map<std::string, std::string>& out) {
    out[key] = sim.registryKeySecurity(key).value_or("<none>");
    for (const auto& child : sim.registrySubkeys(key)) {
        CollectSecurity(sim, key + "\\" + child, out);
    }
}
std::map<std::string, std::string> EveryKeySecurity(const platform::sim::SimWindows& sim) {
    std::map<std::string, std::string> all;
    for (const char* hive : {"HKLM", "HKU", "HKDD"}) {
        CollectSecurity(sim, hive, all);
    }
    return all;
}

// The simulated Windows with a reg.exe that deletes what it is given, as the 64-bit reg.exe
// of an administrator can where our own calls were refused: the key named (as stored, below
// HKLM) with everything below it. Everything else is the simulated Windows itself.
class RegExeDeletes final : public platform::Platform, private platform::Processes {
public:
    explicit RegExeDeletes(platform::sim::SimWindows& sim) : sim_(sim) {}
    platform::DebugChannel& debug() override { return sim_.debug(); }
    platform::Environment& environment() override { return sim_.environment(); }
    platform::FileSystem& files() override { return sim_.files(); }
    platform::Redirection& redirection() override { return sim_.redirection(); }
    platform::Processes& processes() override { return *this; }
    platform::ProfileFiles& profiles() override { return sim_.profiles(); }
    platform::SystemInfo& system() override { return sim_.system(); }
    platform::Registry& registry() override { return sim_.registry(); }
    platform::UserInterface& userInterface() override { return sim_.userInterface(); }
    platform::Accounts& accounts() override { return sim_.accounts(); }
    platform::Shell& shell() override { return sim_.shell(); }

    std::unique_ptr<platform::Process> start(const std::string& commandLine,
                                             int showWindow) override {
        const std::string verb = "reg.exe DELETE \"";
        if (commandLine.rfind(verb, 0) == 0) {
            const std::string key =
                commandLine.substr(verb.size(), commandLine.find('"', verb.size()) - verb.size());
            if (sim_.registryKeyExists(key)) {
                remove(key);
            }
        }
        return sim_.processes().start(commandLine, showWindow);
    }
    void pumpMessages() override { sim_.processes().pumpMessages(); }
    void sleep(std::uint32_t milliseconds) override { sim_.processes().sleep(milliseconds); }
    std::uint32_t tickMilliseconds() override { return sim_.processes().tickMilliseconds(); }

private:
    // A key below HKLM: full control for everyone on the way down, then bottom-up in the
    // 64-bit view, where Wow6432Node is a key like any other.
    void remove(const std::string& key) {
        sim_.setRegistryKeySecurity(key, Dacl({Entry(kAccessAllowedAce, 0xF003F, EveryoneSid())}));
        for (const auto& child : sim_.registrySubkeys(key)) {
            remove(key + "\\" + child);
        }
        const auto leaf = key.rfind('\\');
        registry::RegistryKey parent;
        ASSERT_EQ(0u, parent.open(platform::kLocalMachine, key.substr(5, leaf - 5),
                                  platform::kKeyAllAccess | platform::kKeyWow64_64Key));
        ASSERT_EQ(0u, sim_.registry().deleteKey(parent.handle(), key.substr(leaf + 1)));
    }
    platform::sim::SimWindows& sim_;
};

class RegistryDelete : public SimTest {
protected:
    int count(const std::string& text) const {
        return static_cast<int>(std::count_if(
            lines().begin(), lines().end(),
            [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }
    std::vector<std::string> commands() const {
        std::vector<std::string> commands;
        for (const auto& launch : sim().launches()) {
            commands.push_back(launch.commandLine);
        }
        return commands;
    }
    void toolBesideProgram() {
        sim().addFile("C:\\Tools\\Vexilla\\subinacl.exe", "MZ");
        sim().defineProgram("C:\\Tools\\Vexilla\\subinacl.exe", {0, 100});
    }
    platform::sim::SimWindows& sim() { return SimTest::sim(); }
    const platform::sim::SimWindows& sim() const {
        return const_cast<RegistryDelete*>(this)->SimTest::sim();
    }
};

TEST_F(RegistryDelete, AbsentValuesAndKeysAreNotFoundWithoutEscalation) {
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteValue("HKLM", kOem, "Model", notFound));
    EXPECT_TRUE(notFound);
    EXPECT_EQ((Lines{"\tmodRegistry\\fDeleteValue:", "\t\t- Passed Key: HKLM\\" + kOem,
                     "\t\t- Passed Value: Model", "\t\t- lResult: 2 NOT FOUND"}),
              lines());

    sim().clearDebugLines();
    notFound = false;
    EXPECT_EQ(0u, fDeleteKey("HKCR", "CLSID", kLink, notFound));
    EXPECT_TRUE(notFound);
    // The walk below the key looks first and finds nothing to open.
    EXPECT_EQ((Lines{"\tmodRegistry\\fDeleteSubkeys passed: HKCR\\CLSID\\" + kLink,
                     "\tmodRegistry\\fDeleteSubkeys: Error opening key: CLSID\\" + kLink,
                     "\tmodRegistry\\fDeleteKey: ", "\t\t- Key: HKCR\\CLSID\\" + kLink,
                     "\t\t- lResult: 2 NOT FOUND"}),
              lines());
    EXPECT_TRUE(sim().launches().empty());
}

TEST_F(RegistryDelete, AValueDeletionSucceedsAndSaysSo) {
    sim().setRegistryValue("HKLM\\" + kOem, "Model", {1, std::string("X1\0", 3)});
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteValue("HKLM", kOem, "Model", notFound));
    EXPECT_FALSE(notFound);
    EXPECT_FALSE(sim().registryValue("HKLM\\" + kOem, "Model").has_value());
    EXPECT_EQ("\t\t- lResult: 0 SUCCESS", lines().back());
    EXPECT_EQ(0, sim().openRegistryHandles());
}

TEST_F(RegistryDelete, ARefusedValueIsRetriedOnceAfterWideningPermissions) {
    sim().setRegistryValue("HKLM\\" + kOem, "Model", {1, std::string("X1\0", 3)});
    // Users may not set values; the widening replaces that entry with full control.
    sim().setRegistryKeySecurity("HKLM\\" + kOem,
                                 Dacl({Entry(kAccessDeniedAce, 0x2, UsersSid()),
                                       Entry(kAccessAllowedAce, 0xF003F, EveryoneSid())}));
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteValue("HKLM", kOem, "Model", notFound));
    EXPECT_FALSE(sim().registryValue("HKLM\\" + kOem, "Model").has_value());
    EXPECT_GE(count("SetPerm\\UpdatePermissionsOfRegistryKey: True"), 1);
    EXPECT_TRUE(sim().launches().empty()) << "no tool beside the program";
}

TEST_F(RegistryDelete, TheRetryOfAValueStaysInTheViewOfTheFirstAttempt) {
    const std::string key32 = "HKLM\\Software\\Wow6432Node\\Northwind";
    const std::string key64 = "HKLM\\Software\\Northwind";
    for (const auto& key : {key32, key64}) {
        sim().setRegistryValue(key, "Model", {1, std::string("X1\0", 3)});
    }
    sim().setRegistryKeySecurity(key32, Dacl({Entry(kAccessDeniedAce, 0x2, UsersSid()),
                                              Entry(kAccessAllowedAce, 0xF003F, EveryoneSid())}));
    const auto security64 = sim().registryKeySecurity(key64);
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteValue("HKLM", "Software\\Wow6432Node\\Northwind", "Model", notFound));
    EXPECT_FALSE(sim().registryValue(key32, "Model").has_value());
    EXPECT_TRUE(sim().registryValue(key64, "Model").has_value()) << "the other view's namesake";
    EXPECT_EQ(security64, sim().registryKeySecurity(key64));
    EXPECT_EQ("\t\t- Passed Key: HKLM\\software\\northwind", lines()[lines().size() - 3]);
}

TEST_F(RegistryDelete, TheOwnershipCommandsForAValueQuoteTheTool) {
    sim().setModuleFileName("C:\\Program Files\\Vexilla\\vexilla.exe");
    sim().addFile("C:\\Program Files\\Vexilla\\subinacl.exe", "MZ");
    sim().defineProgram("C:\\Program Files\\Vexilla\\subinacl.exe", {0, 100});
    sim().setRegistryValue("HKLM\\" + kOem, "Logo", {1, std::string("x\0", 2)});
    sim().setRegistryKeySecurity("HKLM\\" + kOem,
                                 Dacl({Entry(kAccessDeniedAce, 0x2, UsersSid()),
                                       Entry(kAccessAllowedAce, 0xF003F, EveryoneSid())}));
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteValue("HKLM", kOem, "Logo", notFound));
    const std::string target =
        "\"C:\\Program Files\\Vexilla\\subinacl.exe\" /subkeyreg \"hkey_local_machine\\" + kOem +
        "\"";
    EXPECT_EQ((std::vector<std::string>{target + " /setowner=SIMPC\\tech",
                                        target + " /sgrant=SIMPC\\tech=F",
                                        target + " /grant=SIMPC\\tech=F"}),
              commands());
    for (const auto& launch : sim().launches()) {
        EXPECT_EQ(0, launch.showWindow);
    }
}

TEST_F(RegistryDelete, AnOwnershipToolThatDoesNotEndIsLeftBehindAfterFiveMinutes) {
    const std::string tool = "C:\\Tools\\Vexilla\\subinacl.exe";
    sim().addFile(tool, "MZ");
    sim().defineProgram(tool, {0, 0xFFFFFFFF});
    for (const char* name : {"Logo", "Model"}) {
        sim().setRegistryValue("HKLM\\" + kOem, name, {1, std::string("x\0", 2)});
    }
    const auto lockValues = [&] {
        sim().setRegistryKeySecurity("HKLM\\" + kOem,
                                     Dacl({Entry(kAccessDeniedAce, 0x2, UsersSid()),
                                           Entry(kAccessAllowedAce, 0xF003F, EveryoneSid())}));
    };
    lockValues();
    const std::string leftBehind = "subinacl.exe did not finish within 5 minutes; going on";
    auto start = sim().virtualMilliseconds();
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteValue("HKLM", kOem, "Logo", notFound)) << "widened and retried";
    EXPECT_EQ(3, count(leftBehind));
    EXPECT_GE(sim().virtualMilliseconds() - start, 3 * kOwnershipToolTimeLimitMs);
    EXPECT_LT(sim().virtualMilliseconds() - start, 3 * (kOwnershipToolTimeLimitMs + 1000));
    std::string owner, grantee;
    TakeOwnershipOfKey("HKCR", "CLSID\\" + kLink, owner, grantee);
    EXPECT_EQ(5, count(leftBehind));

    // A slow run that ends within the limit is waited for to its end.
    sim().defineProgram(tool, {0, 4 * 60 * 1000});
    lockValues();
    sim().clearDebugLines();
    start = sim().virtualMilliseconds();
    EXPECT_EQ(0u, fDeleteValue("HKLM", kOem, "Model", notFound));
    EXPECT_EQ(0, count(leftBehind));
    EXPECT_GE(sim().virtualMilliseconds() - start, 3 * 4 * 60 * 1000u);
}

class RefusedTree : public RegistryDelete {
protected:
    void SetUp() override {
        RegistryDelete::SetUp();
        toolBesideProgram();
        sim().defineProgram("reg.exe", {1, 100});
        sim().addRegistryKey("HKCR\\CLSID\\" + kLink + "\\InProcServer32");
        sim().addRegistryKey("HKCR\\CLSID\\" + kLink + "\\Instance\\InitPropertyBag");
        // A subkey nobody may look into: Windows refuses to delete its parent.
        locked_ = Dacl({Entry(kAccessDeniedAce, 0x10009, EveryoneSid()),
                        Entry(kAccessAllowedAce, 0xF003F, EveryoneSid())});
        sim().setRegistryKeySecurity("HKCR\\CLSID\\" + kLink + "\\Instance", locked_);
        before_ = *sim().registryKeySecurity("HKCR\\CLSID\\" + kLink);
    }
    std::string locked_, before_;
};

TEST_F(RefusedTree, EscalatesTwiceThenHandsOverToRegExe) {
    bool notFound = false;
    const auto status = fDeleteKey("HKCR", "CLSID", kLink, notFound);
    EXPECT_EQ(5u, status);
    EXPECT_FALSE(notFound);
    EXPECT_EQ(2, count("modRegistry\\fDeleteKey - Error:  5"));
    EXPECT_EQ(1, count("Attempting second run using subinacl..."));
    EXPECT_EQ(1, count("Still not working, attempting deletion with reg.exe"));
    const std::string full = "HKEY_CLASSES_ROOT\\CLSID\\" + kLink;
    EXPECT_EQ((std::vector<std::string>{"\"C:\\Tools\\Vexilla\\subinacl.exe\" /keyreg \"" + full +
                                            "\" /setowner=administrators /grant=tech=f",
                                        "\"C:\\Tools\\Vexilla\\subinacl.exe\" /subkeyreg \"" +
                                            full + "\" /setowner=administrators /grant=tech=f",
                                        "reg.exe DELETE \"HKCR\\CLSID\\" + kLink + "\" /f"}),
              commands());
    EXPECT_EQ("\t\t- lResult (0=Success 2=Not Found): 5", lines().back());
}

TEST_F(RefusedTree, AFailedRemovalPutsTheWidenedPermissionsBack) {
    bool notFound = false;
    ASSERT_NE(0u, fDeleteKey("HKCR", "CLSID", kLink, notFound));
    EXPECT_EQ(DaclOf(before_), DaclOf(*sim().registryKeySecurity("HKCR\\CLSID\\" + kLink)));
    EXPECT_EQ(DaclOf(locked_),
              DaclOf(*sim().registryKeySecurity("HKCR\\CLSID\\" + kLink + "\\Instance")));
    EXPECT_TRUE(sim().registryKeyExists("HKCR\\CLSID\\" + kLink + "\\Instance"));
    EXPECT_FALSE(sim().registryKeyExists("HKCR\\CLSID\\" + kLink + "\\InProcServer32"))
        << "what could go went";
}

TEST_F(RegistryDelete, RegExeIsGivenTheKeyAsNamedAndItsSuccessCounts) {
    // The same tree in both views; the one of our own view cannot be deleted by us.
    const std::string tree32 = "HKLM\\Software\\Wow6432Node\\Northwind\\Tree";
    const std::string tree64 = "HKLM\\Software\\Northwind\\Tree";
    for (const auto& key : {tree32, tree64}) {
        sim().addRegistryKey(key + "\\Locked\\Inner");
    }
    sim().setRegistryKeySecurity(tree32 + "\\Locked",
                                 Dacl({Entry(kAccessDeniedAce, 0x10009, EveryoneSid()),
                                       Entry(kAccessAllowedAce, 0xF003F, EveryoneSid())}));
    sim().defineProgram("reg.exe", {0, 100});
    RegExeDeletes windows(sim());
    platform::Install(windows);
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteKey("HKLM", "Software\\Wow6432Node\\Northwind", "Tree", notFound));
    platform::Install(sim());
    EXPECT_FALSE(notFound);
    EXPECT_FALSE(sim().registryKeyExists(tree32));
    EXPECT_TRUE(sim().registryKeyExists(tree64 + "\\Locked\\Inner")) << "the other view's";
    EXPECT_EQ("reg.exe DELETE \"" + tree32 + "\" /f", commands().back());
    EXPECT_EQ(1, count("\tcmd:  reg.exe delete \"" + tree32 + "\" /f"));
    EXPECT_EQ(2, count("modRegistry\\fDeleteKey - Error:  5"));
    EXPECT_EQ("\t\t- lResult: 0 SUCCESS", lines().back());
    EXPECT_EQ(0, sim().openRegistryHandles());
}

TEST_F(RegistryDelete, ANestedTreeIsEmptiedBottomUp) {
    for (const char* key : {"\\a\\b\\c", "\\a\\d", "\\e"}) {
        sim().addRegistryKey("HKCR\\CLSID\\" + kLink + key);
    }
    sim().setRegistryValue("HKCR\\CLSID\\" + kLink + "\\a\\b\\c", "v", {1, std::string("x\0", 2)});
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteKey("HKCR", "CLSID", kLink, notFound));
    EXPECT_FALSE(sim().registryKeyExists("HKCR\\CLSID\\" + kLink));
    EXPECT_TRUE(sim().registryKeyExists("HKCR\\CLSID"));
    std::vector<std::string> walked;
    for (const auto& line : lines()) {
        if (line.rfind("\tmodRegistry\\fDeleteSubkeys passed: ", 0) == 0) {
            walked.push_back(line.substr(line.rfind('\\') + 1));
        }
    }
    EXPECT_EQ((std::vector<std::string>{kLink, "a", "b", "c", "d", "e"}), walked);
    EXPECT_EQ("\t\t- lResult: 0 SUCCESS", lines().back());
    EXPECT_TRUE(sim().launches().empty());
    EXPECT_EQ(0, sim().openRegistryHandles());
}

TEST_F(RegistryDelete, TheTreeIsDeletedInThe64BitView) {
    sim().addRegistryKey("HKLM\\Software\\Classes\\CLSID\\" + kLink + "\\InProcServer32");
    sim().addRegistryKey("HKLM\\Software\\Classes\\Wow6432Node\\CLSID\\" + kLink);
    bool notFound = false;
    EXPECT_EQ(0u, fDeleteKey("HKCR", "CLSID", kLink, notFound));
    EXPECT_FALSE(sim().registryKeyExists("HKLM\\Software\\Classes\\CLSID\\" + kLink));
    EXPECT_TRUE(sim().registryKeyExists("HKLM\\Software\\Classes\\Wow6432Node\\CLSID\\" + kLink));
}

TEST_F(RegistryDelete, OtherTopKeysAreNeverWidenedAndNeitherAreTheirNamesakesInHklm) {
    toolBesideProgram();
    sim().defineProgram("reg.exe", {1, 100});
    // The same paths below HKCC and HKLM. Below HKCC, Users may not set values and nobody
    // may look into Locked: the value and the key are refused.
    const std::string denyUsers = Dacl({Entry(kAccessDeniedAce, 0x2, UsersSid()),
                                        Entry(kAccessAllowedAce, 0xF003F, EveryoneSid())});
    for (const std::string root : {"HKCC", "HKLM"}) {
        sim().addRegistryKey(root + "\\Software\\Northwind\\Locked\\Inner");
        sim().setRegistryValue(root + "\\Software\\Northwind", "Model", {1, std::string("X\0", 2)});
        sim().setRegistryKeySecurity(root + "\\Software\\Northwind", denyUsers);
    }
    sim().setRegistryKeySecurity("HKCC\\Software\\Northwind\\Locked",
                                 Dacl({Entry(kAccessDeniedAce, 0x10009, EveryoneSid()),
                                       Entry(kAccessAllowedAce, 0xF003F, EveryoneSid())}));
    sim().addFile("C:\\Kit\\a.ini", "[Software]\r\n");
    const auto before = EveryKeySecurity(sim());

    bool notFound = false;
    EXPECT_EQ(5u, fDeleteValue("HKCC", "Software\\Northwind", "Model", notFound));
    EXPECT_EQ(5u, fDeleteKey("HKCC", "Software", "Northwind", notFound));
    // An INI file as top key reaches no key at all, and widens none either.
    EXPECT_NE(0u, fDeleteKey("C:\\Kit\\a.ini", "Software", "Northwind", notFound));

    EXPECT_EQ(before, EveryKeySecurity(sim()));
    EXPECT_TRUE(sim().registryValue("HKLM\\Software\\Northwind", "Model").has_value());
    EXPECT_TRUE(sim().registryKeyExists("HKLM\\Software\\Northwind\\Locked\\Inner"));
    EXPECT_EQ(0, count("SetPerm\\UpdatePermissionsOfRegistryKey"));
    EXPECT_GE(count("SetPerm\\RegSetKeyPermission - Bad skey passed:  HKCC"), 5);
    EXPECT_EQ(2, count("modRegistry\\fDeleteKey - Error:  5"));
    EXPECT_EQ(0, sim().openRegistryHandles());
}

TEST_F(RegistryDelete, UnknownTopKeysAndIniFiles) {
    bool notFound = false;
    EXPECT_EQ(99u, fDeleteValue("HKEY_LOCAL_MACHINE", kOem, "Model", notFound));
    EXPECT_EQ("\tmodRegistry\\fDeleteValue - VB ERROR: 0 ", lines()[0]);
    EXPECT_EQ(99u, fDeleteKey("HKEY_CLASSES_ROOT", "CLSID", kLink, notFound));
    EXPECT_EQ("\tmodRegistry\\fDeleteKey - VB ERROR: 0 ", lines()[4]);
    EXPECT_FALSE(notFound);

    sim().addFile("C:\\Kit\\a.ini", "[S]\r\nK=v\r\n");
    EXPECT_EQ(0u, fDeleteValue("C:\\Kit\\a.ini", "S", "K", notFound));
    EXPECT_EQ("[S]\r\nK=\r\n", sim().fileBytes("C:\\Kit\\a.ini"));
}

}  // namespace
}  // namespace vx::test
