#pragma once
#include "platform/UserInterface.h"

namespace vx::platform::win32 {

class Win32UserInterface final : public UserInterface {
public:
    int messageBox(const std::string& text, const std::string& title,
                   MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::uintptr_t loadLibrary(const std::string& name) override;
    void freeLibrary(std::uintptr_t library) override;
    void initCommonControls() override;
};

}  // namespace vx::platform::win32
