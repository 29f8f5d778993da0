#include "common/FileTests.h"

#include <optional>

#include "common/AppState.h"
#include "common/DebugLog.h"
#include "platform/Platform.h"

namespace vx {
namespace {

bool IsRootedPath(const std::string& path) {
    return path.size() >= 2 && (path[1] == '\\' || path[1] == ':');
}

std::optional<std::uint32_t> AttributesOf(const std::string& path) {
    try {
        return platform::Current().files().attributes(path);
    } catch (...) {
        return std::nullopt;
    }
}

// The folder test shared by DoesDirExist and DoesDirExistNo64bitCheck.
bool IsFolder(const std::string& path) {
    const auto attributes = AttributesOf(path);
    return attributes.has_value() && (*attributes & platform::kAttributeDirectory) != 0;
}

void TraceResult(const std::string& header, const std::string& path, bool result) {
    TraceHeader(header);
    TraceLine("Passed", path);
    TraceLine("Returns", ToText(result));
}

bool RedirectionIsOurs() { return State().redirectionControlAllowed && Is64BitWindows(""); }

}  // namespace

void DisableFSRedir() {
    auto& state = State();
    if (state.redirectionDisabled) {
        return;
    }
    try {
        if (RedirectionIsOurs()) {
            std::uintptr_t saved = 0;
            const auto status = platform::Current().redirection().disable(saved);
            if (status == platform::kSuccess) {
                state.savedRedirection = saved;
                state.redirectionSwitchedOff = true;
            } else {
                DPrint("DisableFSRedir:  " + platform::Current().environment().errorText(status));
            }
        }
    } catch (...) {
        DPrint("DisableFSRedir:  " + CurrentError().description);
    }
    state.redirectionDisabled = true;
}

void RevertFSRedir() {
    auto& state = State();
    if (!state.redirectionDisabled) {
        return;
    }
    try {
        // Only a value the system handed out goes back to it.
        if (state.redirectionSwitchedOff && RedirectionIsOurs()) {
            const auto status = platform::Current().redirection().revert(state.savedRedirection);
            if (status != platform::kSuccess) {
                DPrint("RevertFSRedir:  " + platform::Current().environment().errorText(status));
            }
        }
    } catch (...) {
        DPrint("RevertFSRedir:  " + CurrentError().description);
    }
    state.redirectionSwitchedOff = false;
    state.savedRedirection = 0;
    state.redirectionDisabled = false;
}

bool Is64BitWindows(const std::string& drive) {
    try {
        if (!drive.empty()) {
            return DoesDirExistNo64bitCheck(drive + "\\Program Files (x86)", false);
        }
        return !platform::Current().environment().variable("ProgramFiles(x86)").empty();
    } catch (...) {
        return false;
    }
}

bool DoesFileExist(const std::string& path, bool trace) {
    if (!IsRootedPath(path)) {
        return false;
    }
    DisableFSRedir();
    const auto attributes = AttributesOf(path);
    RevertFSRedir();
    // An attribute query, unlike an OpenFile existence test, has no 128-character path limit.
    const bool result =
        attributes.has_value() && (*attributes & platform::kAttributeDirectory) == 0;
    if (trace) {
        // The number mirrors the classic existence test: -1 for "no such file".
        TraceResult("CommonModule\\DoesFileExist: " + ToText(result ? 1 : -1), path, result);
    }
    return result;
}

bool DoesDirExist(const std::string& sPathOnly, bool trace) {
    if (!IsRootedPath(sPathOnly)) {
        return false;
    }
    DisableFSRedir();
    const bool result = IsFolder(sPathOnly);
    if (trace) {
        TraceResult("CommonModule\\DoesDirExist: ", sPathOnly, result);
    }
    RevertFSRedir();
    return result;
}

bool DoesDirExistNo64bitCheck(const std::string& sPathOnly, bool trace) {
    if (!IsRootedPath(sPathOnly)) {
        return false;
    }
    const bool result = IsFolder(sPathOnly);
    if (trace) {
        TraceResult("CommonModule\\DoesDirExistNo64bitCheck: ", sPathOnly, result);
    }
    return result;
}

}  // namespace vx
