#include "platform/win32/Win32DebugChannel.h"

#include <windows.h>

namespace vx::platform::win32 {

void Win32DebugChannel::output(const std::string& line) { ::OutputDebugStringA(line.c_str()); }

}  // namespace vx::platform::win32
