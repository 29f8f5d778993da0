#include "app/Run.h"

#include "common/AppSettings.h"
#include "common/AppState.h"
#include "common/DebugLog.h"
#include "platform/Platform.h"

namespace vx::app {

int Run() {
    InitAppSettings(true, true);
    State().redirectionControlAllowed = true;
    auto& environment = platform::Current().environment();
    State().systemDrive = environment.variable("systemdrive");
    const std::string arguments = environment.commandArguments();
    if (!arguments.empty()) {
        Info("GetCmdLine", "Command passed:  " + arguments);
    }
    return 0;
}

}  // namespace vx::app
