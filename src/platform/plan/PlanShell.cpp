#include "platform/plan/PlanShell.h"

namespace vx::platform::plan {

namespace {

std::string LinkText(const ShellLinkData& data) {
    return "[planned shell link]\r\nTarget=" + data.target + "\r\nArguments=" + data.arguments +
           "\r\nWorkingDirectory=" + data.workingDirectory + "\r\nDescription=" + data.description +
           "\r\nIconFile=" + data.iconFile + "\r\nIconIndex=" + std::to_string(data.iconIndex) +
           "\r\nHotKey=" + std::to_string(data.hotKey) +
           "\r\nShowCommand=" + std::to_string(data.showCommand) + "\r\n";
}

}  // namespace

PlanShell::PlanShell(Shell& real, PlanFiles& files) : real_(real), files_(files) {}

bool PlanShell::createLink(const std::string& linkFile, const ShellLinkData& data) {
    return files_.recordLink(linkFile, data, LinkText(data));
}

std::optional<ShellLinkData> PlanShell::readLink(const std::string& linkFile) {
    const PlanFiles::LinkLookup recorded = files_.recordedLink(linkFile);
    if (recorded.recorded) return recorded.link;
    return real_.readLink(linkFile);
}

std::optional<std::string> PlanShell::specialFolderPath(int csidl) {
    return real_.specialFolderPath(csidl);
}

bool PlanShell::refreshDesktop() { return true; }

}  // namespace vx::platform::plan
