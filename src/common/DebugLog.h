#pragma once
// The one diagnostic channel: lines on the system debugger channel, no log file.

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "common/Text.h"

namespace vx {

// Sends one line: a TAB before each argument; no arguments give an empty line. Never fails.
void DPrintLine(std::initializer_list<std::string> arguments);

template <typename... Args>
void DPrint(const Args&... args) {
    try {
        DPrintLine({ToText(args)...});
    } catch (...) {
        // The channel never reports through itself.
    }
}

// Two lines: "<title>: Info", then "- <text>" one level deeper.
void Info(std::string_view title, std::string_view text);

// A failure a procedure traps: a number and the text that describes it.
struct TrappedError {
    long number = 0;
    std::string description;
};

// A failure raised inside a procedure, to be trapped and reported by that procedure.
class Failure : public std::runtime_error {
public:
    Failure(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    long number() const { return number_; }

private:
    long number_;
};

// Throws a Failure carrying the system's own text for a Win32 error code.
[[noreturn]] void ThrowSystemError(unsigned long code);

// The failure in flight, as number and description. Call only inside a catch block.
TrappedError CurrentError();

// One line of an error report below its header: "- name=value", or "- name: value" for a
// labelled one (see Labelled).
struct ReportParameter {
    std::string name;
    std::string value;
    bool labelled = false;
};

inline ReportParameter Labelled(std::string label, std::string value) {
    return {std::move(label), std::move(value), true};
}

// The error report every procedure uses: `header` (one of common/ReportHeaders.h, for example
// "CommonModule\AppPath VB ERROR: ") + number + " " + description, then one line per
// parameter, one level deeper.
void ReportError(std::string_view header, const TrappedError& error,
                 std::initializer_list<ReportParameter> parameters = {});

// The trace of a routine asked to log: "<module>\<procedure>: " then "- Passed: " and
// "- Returns: " lines one level deeper.
void TraceHeader(std::string_view header);
void TraceLine(std::string_view label, std::string_view value);

}  // namespace vx
