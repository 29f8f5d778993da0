#pragma once
// Environment variables, the running module, the command line and the system's wording.

#include <map>
#include <string>
#include <utility>

#include "platform/Environment.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {

class SimEnvironment final : public Environment {
public:
    std::string variable(const std::string& name) const override;
    std::string moduleFileName() const override { return moduleFileName_; }
    std::string commandArguments() const override { return commandArguments_; }
    std::string localDateTimeText() const override { return dateTimeText_; }
    // FormatMessageA's English text for the codes the system meets, else "Error <code>".
    std::string errorText(std::uint32_t code) const override;

    void set(const std::string& name, const std::string& value);
    void remove(const std::string& name);
    void setModuleFileName(std::string path) { moduleFileName_ = std::move(path); }
    void setCommandArguments(std::string text) { commandArguments_ = std::move(text); }
    void setDateTimeText(std::string text) { dateTimeText_ = std::move(text); }

private:
    std::map<std::string, std::pair<std::string, std::string>> variables_;  // by upper-case name
    std::string moduleFileName_;
    std::string commandArguments_;
    std::string dateTimeText_ = "12/8/2026 9:30:00 AM";
};

// The variables a 32-bit process inherits from a fresh logon of user "tech" on SIMPC.
void SetDefaultVariables(SimEnvironment& environment, Bitness bitness);

// The standard message of a Win32 error code without its final line break; nothing for a
// code the table does not hold.
const char* SystemMessage(std::uint32_t code);

}  // namespace vx::platform::sim
