#pragma once
// Images loaded from files whose path is seam text (platform/TextMode.h).

#include <windows.h>

#include <string>

namespace vx::platform::win32 {

// LoadImage with LR_LOADFROMFILE added to `flags`: through the W call in the UTF-8 text mode,
// so that a kit folder named outside the code page still shows its logo and icons.
HANDLE LoadImageFile(const std::string& path, UINT type, int width, int height, UINT flags);

}  // namespace vx::platform::win32
