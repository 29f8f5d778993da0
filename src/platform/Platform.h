#pragma once
// The platform seam: one interface per Windows service the system uses. Code above this
// folder reaches Windows only through Current().

#include "platform/Accounts.h"
#include "platform/DebugChannel.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/ProfileFiles.h"
#include "platform/Redirection.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/UserInterface.h"

namespace vx::platform {

class Platform {
public:
    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    virtual ~Platform() = default;

    virtual DebugChannel& debug() = 0;
    virtual Environment& environment() = 0;
    virtual FileSystem& files() = 0;
    virtual Redirection& redirection() = 0;
    virtual Processes& processes() = 0;
    virtual ProfileFiles& profiles() = 0;
    virtual SystemInfo& system() = 0;
    virtual Registry& registry() = 0;
    virtual UserInterface& userInterface() = 0;
    virtual Accounts& accounts() = 0;
    virtual Shell& shell() = 0;
};

// The active backend. Install one before any other call; the caller keeps it alive.
Platform& Current();
void Install(Platform& backend);

// Makes `backend` the active one for the life of this object, then puts back the one that was
// active before (or none). Scopes nest; the caller keeps `backend` alive while it is active.
class ScopedInstall {
public:
    explicit ScopedInstall(Platform& backend);
    ScopedInstall(const ScopedInstall&) = delete;
    ScopedInstall& operator=(const ScopedInstall&) = delete;
    ~ScopedInstall();

private:
    Platform* previous_;
};

}  // namespace vx::platform
