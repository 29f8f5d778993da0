#pragma once

namespace vx::app {

// Everything the program does once a Windows backend is installed; the process exit code.
int Run();

}  // namespace vx::app
