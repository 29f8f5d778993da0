#pragma once
// Calls newer than Windows 2000 are found at run time and never imported: an import the
// loader cannot resolve stops the program before its first line on the older systems.

#include <windows.h>

namespace vx::platform::win32 {

// The export `name` of a module the process has already loaded (kernel32, advapi32, ...),
// typed as `Function`; nullptr when this Windows does not have it.
template <typename Function>
[[nodiscard]] Function TryLoadedExport(const char* module, const char* name) noexcept {
    const HMODULE handle = ::GetModuleHandleA(module);
    if (handle == nullptr) {
        return nullptr;
    }
    // FARPROC converts to another function type only through the generic function pointer.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(handle, name)));
}

}  // namespace vx::platform::win32
