#include "platform/sim/SimRedirection.h"

#include <array>
#include <string>
#include <vector>

#include "platform/sim/SimText.h"

namespace vx::platform::sim {

SimRedirection::SimRedirection(Bitness bitness) : wow64_(bitness == Bitness::Windows64) {}

Status SimRedirection::disable(std::uintptr_t& saved) {
    ++disableCalls_;
    if (!available_) return kErrorProcNotFound;
    if (!wow64_) return kErrorInvalidFunction;
    saved = disabled_ ? 1u : 0u;
    disabled_ = true;
    return kSuccess;
}

Status SimRedirection::revert(std::uintptr_t saved) {
    ++revertCalls_;
    if (!available_) return kErrorProcNotFound;
    if (!wow64_) return kErrorInvalidFunction;
    disabled_ = saved != 0;
    return kSuccess;
}

void SimRedirection::setCallsAvailable(bool available) { available_ = available; }

namespace {

bool IsSharedFolder(const std::vector<std::string>& belowSystem32) {
    if (belowSystem32.empty()) return false;
    const std::string& first = belowSystem32.front();
    static constexpr std::array<const char*, 4> kShared = {"catroot", "catroot2", "logfiles",
                                                           "spool"};
    for (const char* shared : kShared) {
        if (EqualsNoCase(first, shared)) return true;
    }
    return EqualsNoCase(first, "drivers") && belowSystem32.size() >= 2 &&
           EqualsNoCase(belowSystem32[1], "etc");
}

PathName Rebase(const PathName& folder, const std::vector<std::string>& below,
                bool trailingSeparator) {
    std::vector<std::string> names = folder.names();
    names.insert(names.end(), below.begin(), below.end());
    return PathName(folder.root(), std::move(names), trailingSeparator);
}

}  // namespace

PathName RedirectPath(const PathName& path, const PathName& windowsFolder, bool wow64,
                      bool redirecting) {
    if (!wow64) return path;
    const PathName system32 = windowsFolder.child("System32");
    const PathName sysnative = windowsFolder.child("Sysnative");
    if (path.isWithin(sysnative)) {
        return Rebase(system32, path.namesBelow(sysnative), path.trailingSeparator());
    }
    if (!redirecting || !path.isWithin(system32)) return path;
    const std::vector<std::string> below = path.namesBelow(system32);
    if (IsSharedFolder(below)) return path;
    return Rebase(windowsFolder.child("SysWOW64"), below, path.trailingSeparator());
}

}  // namespace vx::platform::sim
