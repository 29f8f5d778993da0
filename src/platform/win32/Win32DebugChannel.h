#pragma once
#include "platform/DebugChannel.h"

namespace vx::platform::win32 {

class Win32DebugChannel final : public DebugChannel {
public:
    void output(const std::string& line) override;
};

}  // namespace vx::platform::win32
