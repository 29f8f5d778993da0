#pragma once
// A plan: a platform over another one that answers reads from the system underneath and
// records every change instead of making it, so that the program's own code walks through an
// action without changing anything on the system (no registry key or value, no file, no time
// stamp) while the plan lists each change it would make.
//
//     vx::platform::plan::PlanPlatform plan(vx::platform::Current());
//     {
//         vx::platform::ScopedInstall scope(plan);
//         ... run the actions ...
//     }
//     for (const auto& change : plan.changes()) ... Describe(change) ...
//
// The registry, the files, the shell links, the profile files and process starts are the
// plan's own (PlanRegistry.h, PlanFiles.h, PlanShell.h, PlanProfiles.h, PlanProcesses.h);
// the redirection switch reaches the system (PlanRedirection.h); the debugger channel, the
// environment, the system information, the accounts and the user interface are the
// system's. The plan must not outlive the platform it wraps.

#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "platform/plan/PlannedChange.h"

namespace vx::platform::plan {

class PlanPlatform final : public Platform {
public:
    explicit PlanPlatform(Platform& real);
    ~PlanPlatform() override;

    DebugChannel& debug() override;
    Environment& environment() override;
    FileSystem& files() override;
    Redirection& redirection() override;
    Processes& processes() override;
    ProfileFiles& profiles() override;
    SystemInfo& system() override;
    Registry& registry() override;
    UserInterface& userInterface() override;
    Accounts& accounts() override;
    Shell& shell() override;

    // Every change recorded so far, in the order the calls came.
    const std::vector<PlannedChange>& changes() const;
    // Registry handles of the plan that are still open.
    int openKeys() const;

private:
    struct Parts;
    Platform& real_;
    std::unique_ptr<Parts> parts_;
};

}  // namespace vx::platform::plan
