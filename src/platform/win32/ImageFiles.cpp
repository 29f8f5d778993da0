#include "platform/win32/ImageFiles.h"

#include "platform/TextMode.h"
#include "platform/win32/WideText.h"

namespace vx::platform::win32 {

HANDLE LoadImageFile(const std::string& path, UINT type, int width, int height, UINT flags) {
    if (TextIsUtf8()) {
        return ::LoadImageW(nullptr, WideFromUtf8(path).c_str(), type, width, height,
                            flags | LR_LOADFROMFILE);
    }
    return ::LoadImageA(nullptr, path.c_str(), type, width, height, flags | LR_LOADFROMFILE);
}

}  // namespace vx::platform::win32
