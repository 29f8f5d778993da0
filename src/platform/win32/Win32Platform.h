#pragma once
// The real Windows behind the platform seam. This header and the ones it includes stay free
// of <windows.h>, so code outside this folder can create the backend.

#include "platform/Platform.h"
#include "platform/win32/Win32Accounts.h"
#include "platform/win32/Win32DebugChannel.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32ProfileFiles.h"
#include "platform/win32/Win32Redirection.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32UserInterface.h"

namespace vx::platform::win32 {

class Win32Platform final : public Platform {
public:
    DebugChannel& debug() override { return debug_; }
    Environment& environment() override { return environment_; }
    FileSystem& files() override { return files_; }
    Redirection& redirection() override { return redirection_; }
    Processes& processes() override { return processes_; }
    ProfileFiles& profiles() override { return profiles_; }
    SystemInfo& system() override { return system_; }
    Registry& registry() override { return registry_; }
    UserInterface& userInterface() override { return userInterface_; }
    Shell& shell() override { return shell_; }
    Accounts& accounts() override { return accounts_; }

private:
    Win32DebugChannel debug_;
    Win32Environment environment_;
    Win32FileSystem files_;
    Win32Redirection redirection_;
    Win32Processes processes_;
    Win32ProfileFiles profiles_;
    Win32SystemInfo system_;
    Win32Registry registry_;
    Win32UserInterface userInterface_;
    Win32Shell shell_;
    Win32Accounts accounts_;
};

}  // namespace vx::platform::win32
