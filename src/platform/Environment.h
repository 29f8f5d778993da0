#pragma once
#include <cstdint>
#include <string>

namespace vx::platform {

// Process environment: variables, the running module, the command line, clock text and
// the system's own wording of error codes.
class Environment {
public:
    Environment() = default;
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;
    virtual ~Environment() = default;

    // The variable's value, or "" when it is not set (names are case-insensitive).
    virtual std::string variable(const std::string& name) const = 0;
    // Full path of the running executable.
    virtual std::string moduleFileName() const = 0;
    // The command line after the program's own name, with the separating blanks removed.
    virtual std::string commandArguments() const = 0;
    // The current local date and time in the system's default short text form.
    virtual std::string localDateTimeText() const = 0;
    // The system's description of a Win32 error code, without a trailing line break.
    virtual std::string errorText(std::uint32_t code) const = 0;
};

}  // namespace vx::platform
