#include "platform/win32/Win32UserInterface.h"

#include <windows.h>
// Needs <windows.h> before it in the Windows SDK.
#include <commctrl.h>

#include "platform/TextMode.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32InputBox.h"

namespace vx::platform::win32 {

std::optional<std::string> Win32UserInterface::inputBox(const std::string& prompt,
                                                        const std::string& title,
                                                        const std::string& defaultText) {
    return ShowInputBox(prompt, title, defaultText);
}

// The module handle is the caller's to give back through freeLibrary.
std::uintptr_t Win32UserInterface::loadLibrary(const std::string& name) {
    return reinterpret_cast<std::uintptr_t>(::LoadLibraryA(name.c_str()));
}

void Win32UserInterface::freeLibrary(std::uintptr_t library) {
    if (library != 0) ::FreeLibrary(reinterpret_cast<HMODULE>(library));
}

void Win32UserInterface::initCommonControls() { ::InitCommonControls(); }

int Win32UserInterface::messageBox(const std::string& text, const std::string& title,
                                   MessageButtons buttons) {
    // Owned by the thread's active window, so the box stays in front of the editor.
    const UINT style =
        (buttons == MessageButtons::YesNo ? MB_YESNO | MB_ICONQUESTION : MB_OK) | MB_SETFOREGROUND;
    if (TextIsUtf8()) {
        return MessageBoxW(GetActiveWindow(), WideFromUtf8(text).c_str(),
                           WideFromUtf8(title).c_str(), style);
    }
    return MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), style);
}

}  // namespace vx::platform::win32
