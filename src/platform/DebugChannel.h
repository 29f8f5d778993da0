#pragma once
#include <string>

namespace vx::platform {

// The system debugger channel (OutputDebugStringA). Never fails towards the caller.
class DebugChannel {
public:
    DebugChannel() = default;
    DebugChannel(const DebugChannel&) = delete;
    DebugChannel& operator=(const DebugChannel&) = delete;
    virtual ~DebugChannel() = default;

    virtual void output(const std::string& line) = 0;
};

}  // namespace vx::platform
