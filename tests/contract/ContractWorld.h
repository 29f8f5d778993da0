#pragma once
// The Windows a contract test runs against: the simulated one natively, the real one (under
// Wine) in the i686 build. Tests reach it only through the platform seam and this interface,
// so one source pins both.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vx::contract {

struct ToolCommand {
    std::string program;    // full path
    std::string arguments;  // may be empty
};

struct ExpectedVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

class ContractWorld {
public:
    virtual ~ContractWorld() = default;

    virtual platform::Platform& backend() = 0;
    virtual bool is64BitWindows() = 0;
    virtual ExpectedVersion expectedVersion() = 0;
    // A program that runs for `milliseconds`, then exits with `code`. With `spacedFolder` it
    // lives in a folder whose name has a blank.
    virtual ToolCommand programExitingWith(std::uint32_t code, std::uint32_t milliseconds,
                                           bool spacedFolder) = 0;
    virtual std::string name() const = 0;

    // Puts a recording stand-in for the ownership tool ("subinacl.exe") beside the program,
    // takes it away again, and tells the command lines it was run with, in order.
    virtual void installOwnershipTool() = 0;
    virtual void removeOwnershipTool() = 0;
    virtual std::vector<std::string> ownershipToolCommands() = 0;
};

ContractWorld& World();
// Chosen by the test main from its command line.
std::unique_ptr<ContractWorld> MakeWorld(const std::string& worldName);
void SetWorld(std::unique_ptr<ContractWorld> world);

// A fresh folder for one test (removed by nobody: each run uses fresh names).
std::string FreshFolder(const std::string& tag);
// Environment value through the seam.
std::string Variable(const std::string& name);

}  // namespace vx::contract
