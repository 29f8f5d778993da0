#pragma once
// The debugger channel: every line is kept, in order, for inspection.

#include <string>
#include <vector>

#include "platform/DebugChannel.h"

namespace vx::platform::sim {

class SimDebugChannel final : public DebugChannel {
public:
    void output(const std::string& line) override { lines_.push_back(line); }
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

private:
    std::vector<std::string> lines_;
};

}  // namespace vx::platform::sim
