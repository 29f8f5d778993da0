#pragma once
#include "platform/Processes.h"

namespace vx::platform::win32 {

class Win32Processes final : public Processes {
public:
    std::unique_ptr<Process> start(const std::string& commandLine, int showWindow) override;
    void pumpMessages() override;
    void sleep(std::uint32_t milliseconds) override;
    std::uint32_t tickMilliseconds() override;
};

}  // namespace vx::platform::win32
