#include "platform/win32/Win32Redirection.h"

#include <windows.h>

#include "platform/win32/RuntimeLink.h"

namespace vx::platform::win32 {
namespace {

using DisableFunction = BOOL(WINAPI*)(PVOID*);
using RevertFunction = BOOL(WINAPI*)(PVOID);

}  // namespace

Status Win32Redirection::disable(std::uintptr_t& saved) {
    const auto disableCall =
        TryLoadedExport<DisableFunction>("kernel32.dll", "Wow64DisableWow64FsRedirection");
    if (disableCall == nullptr) {
        return ERROR_PROC_NOT_FOUND;
    }
    PVOID oldValue = nullptr;
    if (!disableCall(&oldValue)) {
        return ::GetLastError();  // `saved` is left as it was
    }
    saved = reinterpret_cast<std::uintptr_t>(oldValue);
    return kSuccess;
}

Status Win32Redirection::revert(std::uintptr_t saved) {
    const auto revertCall =
        TryLoadedExport<RevertFunction>("kernel32.dll", "Wow64RevertWow64FsRedirection");
    if (revertCall == nullptr) {
        return ERROR_PROC_NOT_FOUND;
    }
    return revertCall(reinterpret_cast<PVOID>(saved)) ? kSuccess : ::GetLastError();
}

}  // namespace vx::platform::win32
