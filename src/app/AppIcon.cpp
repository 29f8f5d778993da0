#include "app/AppIcon.h"

#include <string>

#include "engine/StartUp.h"
#include "platform/win32/ImageFiles.h"

namespace vx::app {
namespace {

// The group name of the program's icon in vexilla.rc.
constexpr const char* kIconGroup = "a1";

// LoadImage picks the image of the group (or of the file) closest to the size asked for. A
// resource icon loaded without LR_SHARED is the caller's to destroy, like one from a file.
UniqueIcon LoadIconSized(const std::string& file, int metricX, int metricY) {
    const int width = GetSystemMetrics(metricX);
    const int height = GetSystemMetrics(metricY);
    HANDLE image = nullptr;
    if (!file.empty()) {
        image = platform::win32::LoadImageFile(file, IMAGE_ICON, width, height, 0);
    }
    if (image == nullptr) {
        image = LoadImageA(GetModuleHandleA(nullptr), kIconGroup, IMAGE_ICON, width, height, 0);
    }
    return UniqueIcon(static_cast<HICON>(image));
}

void Apply(HWND window, WPARAM which, const UniqueIcon& icon) {
    if (icon) {
        SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon.get()));
    }
}

}  // namespace

WindowIcons SetAppIcon(HWND window) {
    const std::string file = engine::AlternateAppIconFile();
    WindowIcons icons{LoadIconSized(file, SM_CXICON, SM_CYICON),
                      LoadIconSized(file, SM_CXSMICON, SM_CYSMICON)};
    Apply(window, ICON_BIG, icons.bigIcon);
    Apply(window, ICON_SMALL, icons.smallIcon);
    return icons;
}

}  // namespace vx::app
