// The real Windows (Wine in the harness) as a contract world. The harness tells what the
// prefix reports through VEXILLA_EXPECT_VERSION ("6.1.7601") and where its helper programs
// are through VEXILLA_TOOLS_DIR.

#include <cstdio>
#include <stdexcept>

#include "common/AppSettings.h"
#include "contract/ContractWorld.h"
#include "platform/win32/Win32Platform.h"

namespace vx::contract {
namespace {

class Win32World final : public ContractWorld {
public:
    platform::Platform& backend() override { return windows_; }
    bool is64BitWindows() override {
        return !windows_.environment().variable("ProgramFiles(x86)").empty();
    }
    ExpectedVersion expectedVersion() override {
        const std::string text = windows_.environment().variable("VEXILLA_EXPECT_VERSION");
        ExpectedVersion version;
        if (std::sscanf(text.c_str(), "%u.%u.%u", &version.major, &version.minor, &version.build) !=
            3) {
            throw std::runtime_error("VEXILLA_EXPECT_VERSION is not set as major.minor.build");
        }
        return version;
    }
    ToolCommand programExitingWith(std::uint32_t code, std::uint32_t milliseconds,
                                   bool spacedFolder) override {
        const std::string tools = windows_.environment().variable("VEXILLA_TOOLS_DIR");
        std::string program = tools + "\\exitwith.exe";
        if (spacedFolder) {
            // A copy in a folder with a blank in its name.
            const std::string folder = tools + "\\spaced folder";
            static_cast<void>(windows_.files().createDirectory(folder));
            const auto bytes = windows_.files().readFile(program);
            if (!bytes ||
                windows_.files().writeFile(folder + "\\exitwith.exe", *bytes, false) != 0) {
                throw std::runtime_error("cannot copy exitwith.exe");
            }
            program = folder + "\\exitwith.exe";
        }
        return {program, std::to_string(code) + " " + std::to_string(milliseconds)};
    }
    std::string name() const override { return "win32"; }

    // The stand-in appends each command line it gets to subinacl.log beside itself.
    void installOwnershipTool() override {
        const auto bytes = windows_.files().readFile(
            windows_.environment().variable("VEXILLA_TOOLS_DIR") + "\\subinacl-stub.exe");
        if (!bytes || windows_.files().writeFile(AppPath() + "subinacl.exe", *bytes, false) != 0) {
            throw std::runtime_error("cannot install the ownership tool stand-in");
        }
        static_cast<void>(windows_.files().deleteFile(AppPath() + "subinacl.log"));
    }
    void removeOwnershipTool() override {
        static_cast<void>(windows_.files().deleteFile(AppPath() + "subinacl.exe"));
        static_cast<void>(windows_.files().deleteFile(AppPath() + "subinacl.log"));
    }
    std::vector<std::string> ownershipToolCommands() override {
        std::vector<std::string> commands;
        const auto log = windows_.files().readFile(AppPath() + "subinacl.log");
        std::size_t start = 0;
        while (log && start < log->size()) {
            const auto end = log->find("\r\n", start);
            commands.push_back(log->substr(start, end - start));
            if (end == std::string::npos) {
                break;
            }
            start = end + 2;
        }
        return commands;
    }

private:
    platform::win32::Win32Platform windows_;
};

}  // namespace

std::unique_ptr<ContractWorld> MakeWorld(const std::string&) {
    return std::make_unique<Win32World>();
}

}  // namespace vx::contract
