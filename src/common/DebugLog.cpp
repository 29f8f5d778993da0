#include "common/DebugLog.h"

#include <new>

#include "common/RunReport.h"
#include "platform/Platform.h"

namespace vx {

void DPrintLine(std::initializer_list<std::string> arguments) {
    try {
        std::string line;
        for (const auto& argument : arguments) {
            line += '\t';
            line += argument;
        }
        platform::Current().debug().output(line);
    } catch (...) {
        // Swallowed: the diagnostic channel has nowhere to report its own failure.
    }
}

void Info(std::string_view title, std::string_view text) {
    DPrint(std::string(title) + ": Info");
    DPrint("\t- " + std::string(text));
}

void ThrowSystemError(unsigned long code) {
    const auto value = static_cast<std::uint32_t>(code);
    throw Failure(static_cast<long>(value), platform::Current().environment().errorText(value));
}

TrappedError CurrentError() {
    try {
        throw;
    } catch (const Failure& failure) {
        return {failure.number(), failure.what()};
    } catch (const std::bad_alloc&) {
        return {7, "Out of memory"};
    } catch (const std::invalid_argument&) {
        return {13, "Type mismatch"};
    } catch (const std::out_of_range&) {
        return {6, "Overflow"};
    } catch (const std::exception& other) {
        return {51, std::string("Internal error: ") + other.what()};
    } catch (...) {
        return {51, "Internal error"};
    }
}

void ReportError(std::string_view header, const TrappedError& error,
                 std::initializer_list<ReportParameter> parameters) {
    const std::string text = std::string(header) + ToText(error.number) + " " + error.description;
    DPrint(text);
    ReportTrappedFailure(text);
    for (const auto& parameter : parameters) {
        DPrint("\t- " + parameter.name + (parameter.labelled ? ": " : "=") + parameter.value);
    }
}

void TraceHeader(std::string_view header) { DPrint(header); }

void TraceLine(std::string_view label, std::string_view value) {
    DPrint("\t- " + std::string(label) + ": " + std::string(value));
}

}  // namespace vx
