#pragma once
#include "platform/Shell.h"

namespace vx::platform::win32 {

class Win32Shell final : public Shell {
public:
    [[nodiscard]] bool createLink(const std::string& linkFile, const ShellLinkData& data) override;
    [[nodiscard]] std::optional<ShellLinkData> readLink(const std::string& linkFile) override;
    [[nodiscard]] std::optional<std::string> specialFolderPath(int csidl) override;
    bool refreshDesktop() override;
};

}  // namespace vx::platform::win32
