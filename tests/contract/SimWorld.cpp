// The simulated Windows as a contract world: sim64-win7, sim32-xp and the like.

#include <stdexcept>

#include "common/AppSettings.h"
#include "contract/ContractWorld.h"
#include "platform/sim/SimWindows.h"

namespace vx::contract {
namespace {

using platform::sim::Bitness;
using platform::sim::SimWindows;

class SimWorld final : public ContractWorld {
public:
    SimWorld(const std::string& worldName, Bitness bitness, platform::OsVersionRecord version)
        : name_(worldName), windows_(bitness), version_(version) {
        windows_.setVersion(version);
    }

    platform::Platform& backend() override { return windows_; }
    bool is64BitWindows() override { return windows_.bitness() == Bitness::Windows64; }
    ExpectedVersion expectedVersion() override {
        return {version_.majorVersion, version_.minorVersion, version_.buildNumber};
    }
    ToolCommand programExitingWith(std::uint32_t code, std::uint32_t milliseconds,
                                   bool spacedFolder) override {
        const std::string folder = spacedFolder ? "C:\\vx tools\\" : "C:\\vxtools\\";
        const std::string path =
            folder + "exit" + std::to_string(code) + "-" + std::to_string(milliseconds) + ".exe";
        windows_.addFile(path, "MZ");
        windows_.defineProgram(path, {code, milliseconds});
        return {path, ""};
    }
    std::string name() const override { return name_; }

    void installOwnershipTool() override {
        windows_.addFile(tool(), "MZ");
        windows_.defineProgram(tool(), {0, 100});
        firstLaunch_ = windows_.launches().size();
    }
    void removeOwnershipTool() override { static_cast<void>(windows_.files().deleteFile(tool())); }
    std::vector<std::string> ownershipToolCommands() override {
        std::vector<std::string> commands;
        const auto& launches = windows_.launches();
        for (std::size_t i = firstLaunch_; i < launches.size(); ++i) {
            if (launches[i].commandLine.find("subinacl.exe") != std::string::npos) {
                commands.push_back(launches[i].commandLine);
            }
        }
        return commands;
    }

private:
    std::string tool() { return AppPath() + "subinacl.exe"; }

    std::size_t firstLaunch_ = 0;
    std::string name_;
    SimWindows windows_;
    platform::OsVersionRecord version_;
};

}  // namespace

std::unique_ptr<ContractWorld> MakeWorld(const std::string& worldName) {
    using namespace platform::sim;
    const std::string name = worldName.empty() ? "sim64-win7" : worldName;
    const Bitness bitness = name.rfind("sim32", 0) == 0 ? Bitness::Windows32 : Bitness::Windows64;
    const std::string release = name.substr(name.find('-') + 1);
    if (release == "xp") return std::make_unique<SimWorld>(name, bitness, WindowsXP());
    if (release == "win7") return std::make_unique<SimWorld>(name, bitness, Windows7());
    if (release == "win8") return std::make_unique<SimWorld>(name, bitness, Windows8());
    throw std::invalid_argument("unknown world " + name);
}

}  // namespace vx::contract
