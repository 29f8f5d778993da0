#pragma once
// Runs one step of a procedure that goes on with its next step whatever happens: a failure is
// reported under the procedure's error header and swallowed.

#include <string_view>

#include "common/DebugLog.h"

namespace vx {

template <typename Step>
void Guarded(std::string_view header, Step&& step) {
    try {
        step();
    } catch (...) {
        ReportError(header, CurrentError());
    }
}

}  // namespace vx
