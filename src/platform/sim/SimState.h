#pragma once
// The shared world behind SimWindows: one disk tree, one thread's redirection switch, and
// the services that see them.

#include "platform/sim/SimAccounts.h"
#include "platform/sim/SimDebugChannel.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimFileTree.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimProfileFiles.h"
#include "platform/sim/SimRedirection.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimShell.h"
#include "platform/sim/SimSystemInfo.h"
#include "platform/sim/SimUserInterface.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {

// Declared in the order they must be built: the services hold references to the tree and
// the switch.
struct SimWindows::State {
    explicit State(Bitness machineBitness);

    Bitness bitness;
    FileTree tree;
    SimRedirection redirection;
    SimFiles files;
    SimProfiles profiles;
    SimProcesses processes;
    SimEnvironment environment;
    SimSystemInfo system;
    SimDebugChannel debug;
    SimRegistry registry;
    SimAccounts accounts;
    SimUserInterface userInterface;
    SimShell shell{files, bitness};
};

}  // namespace vx::platform::sim
