#pragma once
// The shell of a plan: a link is recorded where it would be saved and read back from the
// record; special folders come from the system; the desktop is not refreshed.
//
// A recorded link's file holds a text naming its fields, not the shell's binary form: a
// digest or size taken of it differs from the one the real link would give.

#include <optional>
#include <string>

#include "platform/Shell.h"
#include "platform/plan/PlanFiles.h"

namespace vx::platform::plan {

class PlanShell final : public Shell {
public:
    PlanShell(Shell& real, PlanFiles& files);

    [[nodiscard]] bool createLink(const std::string& linkFile, const ShellLinkData& data) override;
    [[nodiscard]] std::optional<ShellLinkData> readLink(const std::string& linkFile) override;
    [[nodiscard]] std::optional<std::string> specialFolderPath(int csidl) override;
    // Changes nothing and reports success.
    bool refreshDesktop() override;

private:
    Shell& real_;
    PlanFiles& files_;
};

}  // namespace vx::platform::plan
