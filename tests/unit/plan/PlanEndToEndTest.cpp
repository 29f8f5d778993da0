// The engine's actions run under a plan: the system stays exactly as it was, and the plan's
// view afterwards is the system a real run of the same actions leaves.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/AppState.h"
#include "engine/BrandingActions.h"
#include "platform/Platform.h"
#include "platform/TextRules.h"
#include "platform/plan/PlanPlatform.h"
#include "platform/sim/SimWindows.h"
#include "unit/plan/SystemImage.h"

namespace vx::test {
namespace {

using platform::plan::ChangeKind;
using platform::plan::PlannedChange;
using platform::plan::PlanPlatform;
using platform::sim::Bitness;
using platform::sim::SimWindows;

const std::string kKit = "C:\\Tools\\Vexilla\\";
const std::string kOemKey = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation";
const std::string kLinkKey = "HKCR\\CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}";

struct World {
    const char* name;
    Bitness bitness;
    platform::OsVersionRecord (*version)();
};

const World kWorlds[] = {
    {"XP, 32-bit", Bitness::Windows32, platform::sim::WindowsXP},
    {"XP, 64-bit", Bitness::Windows64, platform::sim::WindowsXP64},
    {"7, 32-bit", Bitness::Windows32, platform::sim::Windows7},
    {"7, 64-bit", Bitness::Windows64, platform::sim::Windows7},
};

// A kit with every setting, on a system with a factory logo, a factory manufacturer and, on
// XP, a link class of an older tool.
std::unique_ptr<SimWindows> MakeWorld(const World& world) {
    auto sim = std::make_unique<SimWindows>(world.bitness);
    sim->setVersion(world.version());
    sim->addFile(kKit + "Vexilla.INI",
                 "[OSBranding]\r\nMfgr=Northwind\r\nModel=NW-1\r\nPhone=555-0100\r\n"
                 "Hours=9-5\r\nURL=http://support.example\r\nButtonName=Northwind Help\r\n"
                 "ButtonToolTip=Help from Northwind\r\nButtonAction=C:\\Tools\\help.exe\r\n"
                 "ButtonIcon=help.ico\r\n[DesktopShortcut]\r\n"
                 "ShortcutURL=http://support.example\r\nShortcutName=Northwind Support\r\n"
                 "ShortcutIcon=support.ico\r\nUseIE=0\r\n");
    sim->addFile(kKit + "oemlogo.bmp", "BM new");
    sim->addFile(kKit + "oeminfo.ini", "[General]\r\nManufacturer=Northwind\r\n");
    sim->addFile(kKit + "help.ico", "help icon");
    sim->addFile(kKit + "support.ico", "support icon");
    sim->addFile("C:\\Windows\\System32\\oemlogo.bmp", "BM factory");
    sim->setRegistryValue(kOemKey, "Manufacturer",
                          {platform::kRegString, std::string("Contoso\0", 8)});
    if (world.version().majorVersion < 6) {
        sim->setRegistryValue(kLinkKey + "\\Instance", "CLSID",
                              {platform::kRegString, std::string("{old}\0", 6)});
    }
    return sim;
}

// Runs actions with `system` active, the program's state as Main leaves it.
void RunActions(platform::Platform& system, const std::function<void()>& actions) {
    platform::ScopedInstall scope(system);
    ResetState();
    State().redirectionControlAllowed = true;
    State().settingsFilePath = kKit + "Vexilla.INI";
    State().brandingFolder = kKit;
    actions();
    ResetState();
}

struct Scenario {
    const char* name;
    std::function<void()> before;  // run for real first, in both copies of the world
    std::function<void()> actions;
};

const Scenario kScenarios[] = {
    {"apply and desktop shortcut", [] {},
     [] {
         engine::ApplyBranding();
         engine::DropDesktopShortcut();
     }},
    {"remove after apply",
     [] {
         engine::ApplyBranding();
         engine::DropDesktopShortcut();
     },
     [] { engine::RemoveBranding(); }},
    {"factory restore after apply",
     [] {
         engine::ApplyBranding();
         engine::DropDesktopShortcut();
     },
     [] { engine::RestoreFactoryBranding(); }},
};

bool IsFileChange(ChangeKind kind) {
    return kind == ChangeKind::CreateFolder || kind == ChangeKind::RemoveFolder ||
           kind == ChangeKind::WriteFile || kind == ChangeKind::AppendFile ||
           kind == ChangeKind::DeleteFile || kind == ChangeKind::CopyFile ||
           kind == ChangeKind::CreateLink;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The place a changed line of a picture names ("+F C:\X|file ..." gives "C:\X").
std::string PlaceOfChange(const std::string& change) {
    const std::size_t start = 3;
    const std::size_t end = change.find('|', start);
    return change.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string LastName(const std::string& path) {
    return platform::UpperAscii(path.substr(path.find_last_of('\\') + 1));
}

// Every key, value, DACL and file the real run changed has a change of the plan on it.
void ExpectListed(const std::vector<std::string>& differences,
                  const std::vector<PlannedChange>& changes) {
    for (const std::string& line : differences) {
        const bool added = line[0] == '+';
        const char kind = line[1];
        const std::string place = PlaceOfChange(line);
        const bool listed = std::any_of(changes.begin(), changes.end(), [&](const auto& change) {
            if (kind == 'F') {
                return IsFileChange(change.kind) && platform::EqualsNoCase(change.place, place);
            }
            // The key as the engine spelled it ends in the same name.
            const std::string key = change.place.substr(0, change.place.find(" ("));
            if (LastName(key) != LastName(place)) return false;
            switch (change.kind) {
                case ChangeKind::CreateKey:
                    return added && kind != 'V';
                case ChangeKind::DeleteKey:
                    return !added;  // its values and DACL go with it
                case ChangeKind::SetKeySecurity:
                    return kind == 'S';
                case ChangeKind::SetValue:
                case ChangeKind::DeleteValue:
                    return kind == 'V' &&
                           line.find("|\"" + change.item + "\"|") != std::string::npos;
                default:
                    return false;
            }
        });
        EXPECT_TRUE(listed) << "no change listed for " << line;
    }
}

TEST(PlanEndToEnd, ActionsChangeNothingAndThePlanSeesWhatARealRunLeaves) {
    for (const World& world : kWorlds) {
        for (const Scenario& scenario : kScenarios) {
            SCOPED_TRACE(std::string(world.name) + ": " + scenario.name);
            auto planned = MakeWorld(world);
            auto real = MakeWorld(world);
            RunActions(*planned, scenario.before);
            RunActions(*real, scenario.before);
            const std::vector<std::string> paths = planned->filePaths();
            const auto registryBefore = RegistryImage(*planned);
            const auto filesBefore = FileImage(*planned, paths);
            const auto launches = planned->launches().size();
            const auto refreshes = planned->desktopRefreshes();
            const auto clock = planned->virtualMilliseconds();
            planned->clearDebugLines();
            real->clearDebugLines();

            PlanPlatform plan(*planned);
            RunActions(plan, scenario.actions);
            RunActions(*real, scenario.actions);

            // Nothing changed on the system, nothing was started, no time was waited.
            EXPECT_EQ(registryBefore, RegistryImage(*planned));
            EXPECT_EQ(paths, planned->filePaths());
            EXPECT_EQ(filesBefore, FileImage(*planned, paths));
            EXPECT_EQ(launches, planned->launches().size());
            EXPECT_EQ(refreshes, planned->desktopRefreshes());
            EXPECT_EQ(clock, planned->virtualMilliseconds());
            EXPECT_FALSE(planned->redirectionDisabledNow());
            EXPECT_EQ(0, plan.openKeys());
            EXPECT_EQ(0, planned->openRegistryHandles());

            // The engine ran the same steps as the real run: its diagnostics are the same.
            EXPECT_EQ(real->debugLines(), planned->debugLines());

            // The plan sees the system the real run left, and lists every change on it.
            const auto registryAfter = RegistryImage(*real);
            EXPECT_EQ(registryAfter, RegistryImage(plan));
            std::vector<std::string> allPaths = Join(paths, real->filePaths());
            for (const PlannedChange& change : plan.changes()) {
                if (IsFileChange(change.kind)) allPaths.push_back(change.place);
            }
            const auto filesAfter = FileImage(*real, allPaths);
            EXPECT_EQ(filesAfter, FileImage(plan, allPaths));
            EXPECT_FALSE(plan.changes().empty());
            ExpectListed(Join(ImageChanges(registryBefore, registryAfter),
                              ImageChanges(FileImage(*planned, allPaths), filesAfter)),
                         plan.changes());
        }
    }
}

TEST(PlanEndToEnd, TheListSaysWhatChangesWhereFromWhatToWhat) {
    const World& world = kWorlds[3];
    auto sim = MakeWorld(world);
    PlanPlatform plan(*sim);
    RunActions(plan, [] {
        engine::ApplyBranding();
        engine::DropDesktopShortcut();
    });
    std::vector<std::string> lines;
    std::string all;
    for (const PlannedChange& change : plan.changes()) {
        lines.push_back(Describe(change));
        all += lines.back() + "\n";
    }
    const auto has = [&](const std::string& line) -> testing::AssertionResult {
        if (std::find(lines.begin(), lines.end(), line) != lines.end()) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "not listed: " << line << "\nin:\n" << all;
    };
    const std::string oem = "set value " + kOemKey + " (64-bit view) ";
    const std::string logo = "C:\\Windows\\System32\\oemlogo.bmp";
    EXPECT_TRUE(has(oem + "\"Manufacturer\": \"Contoso\" -> \"Northwind\""));
    EXPECT_TRUE(has(oem + "\"HelpCustomized\": (none) -> dword:00000000"));
    EXPECT_TRUE(has("delete file " + logo + ": 10 bytes -> (none)"));
    EXPECT_TRUE(has("copy file " + logo + ": (none) -> 6 bytes from " + kKit + "oemlogo.bmp"));
    EXPECT_TRUE(has("create folder C:\\ProgramData\\Vexilla: (none) -> folder"));
    EXPECT_TRUE(has("create key HKLM\\Software\\Vexilla (64-bit view): (none) -> created"));
    EXPECT_TRUE(
        has("append to file C:\\Users\\Public\\Desktop\\Northwind Support.url: "
            "20 bytes -> 48 bytes"));
    // The factory logo is deleted before the new one is copied: the list keeps the order.
    const auto starting = [&lines](const std::string& text) {
        return std::find_if(lines.begin(), lines.end(),
                            [&text](const std::string& line) { return line.rfind(text, 0) == 0; });
    };
    EXPECT_LT(starting("delete file " + logo), starting("copy file " + logo));
}

}  // namespace
}  // namespace vx::test
