#include "platform/plan/PlanPlatform.h"

#include <string>

#include "platform/plan/PlanFiles.h"
#include "platform/plan/PlanProcesses.h"
#include "platform/plan/PlanProfiles.h"
#include "platform/plan/PlanRedirection.h"
#include "platform/plan/PlanRegistry.h"
#include "platform/plan/PlanShell.h"

namespace vx::platform::plan {

namespace {

// A 32-bit program on 64-bit Windows is given the x86 program folder under this name; 32-bit
// Windows has none.
bool IsWow64(const Environment& environment) {
    return !environment.variable("ProgramFiles(x86)").empty();
}

std::string WindowsFolder(const Environment& environment) {
    std::string folder = environment.variable("SystemRoot");
    if (folder.empty()) folder = environment.variable("windir");
    return folder;
}

// The plan takes relative paths from the program's folder, where Explorer starts it.
std::string ProgramFolder(const Environment& environment) {
    const std::string module = environment.moduleFileName();
    const std::size_t slash = module.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : module.substr(0, slash);
}

}  // namespace

// Declared in the order they must be built: the shell and the profile functions hold the
// files, the files hold the redirection switch.
struct PlanPlatform::Parts {
    Parts(Platform& real, bool wow64, const std::string& windowsFolder,
          const std::string& programFolder)
        : registry(real.registry(), log, wow64),
          redirection(real.redirection(), wow64),
          files(real.files(), redirection, log, windowsFolder, programFolder, wow64),
          shell(real.shell(), files),
          profiles(real.profiles(), files, log, windowsFolder),
          processes(real.processes(), log) {}

    ChangeLog log;
    PlanRegistry registry;
    PlanRedirection redirection;
    PlanFiles files;
    PlanShell shell;
    PlanProfiles profiles;
    PlanProcesses processes;
};

PlanPlatform::PlanPlatform(Platform& real)
    : real_(real),
      parts_(std::make_unique<Parts>(real, IsWow64(real.environment()),
                                     WindowsFolder(real.environment()),
                                     ProgramFolder(real.environment()))) {}

PlanPlatform::~PlanPlatform() = default;

DebugChannel& PlanPlatform::debug() { return real_.debug(); }
Environment& PlanPlatform::environment() { return real_.environment(); }
FileSystem& PlanPlatform::files() { return parts_->files; }
Redirection& PlanPlatform::redirection() { return parts_->redirection; }
Processes& PlanPlatform::processes() { return parts_->processes; }
ProfileFiles& PlanPlatform::profiles() { return parts_->profiles; }
SystemInfo& PlanPlatform::system() { return real_.system(); }
Registry& PlanPlatform::registry() { return parts_->registry; }
UserInterface& PlanPlatform::userInterface() { return real_.userInterface(); }
Accounts& PlanPlatform::accounts() { return real_.accounts(); }
Shell& PlanPlatform::shell() { return parts_->shell; }

const std::vector<PlannedChange>& PlanPlatform::changes() const { return parts_->log.entries(); }

int PlanPlatform::openKeys() const { return parts_->registry.openHandles(); }

}  // namespace vx::platform::plan
