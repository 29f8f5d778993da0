#pragma once
#include "platform/Environment.h"

namespace vx::platform::win32 {

class Win32Environment final : public Environment {
public:
    std::string variable(const std::string& name) const override;
    std::string moduleFileName() const override;
    std::string commandArguments() const override;
    std::string localDateTimeText() const override;
    std::string errorText(std::uint32_t code) const override;
};

// The arguments part of a full command line: the program's name (a quoted "..." or the
// first blank-delimited token) and the blanks after it are dropped.
std::string ArgumentsAfterProgramName(const char* commandLine);

}  // namespace vx::platform::win32
