#include "platform/win32/Win32DebugChannel.h"

#include <windows.h>

#include "platform/TextMode.h"
#include "platform/win32/WideText.h"

namespace vx::platform::win32 {

// A debugger of today takes the W text whole; an older one is given the ANSI form by the
// system.
void Win32DebugChannel::output(const std::string& line) {
    if (TextIsUtf8()) {
        ::OutputDebugStringW(WideFromUtf8(line).c_str());
    } else {
        ::OutputDebugStringA(line.c_str());
    }
}

}  // namespace vx::platform::win32
