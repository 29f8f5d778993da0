#include "common/RunReport.h"

#include <vector>

#include "common/OpSys.h"
#include "common/Version.h"

namespace vx {
namespace {

struct ReportState {
    RunMode mode = RunMode::Change;
    RunTally tally;
    std::vector<ReportWriter> writers;
};

ReportState& Current() {
    static ReportState state;
    return state;
}

}  // namespace

void ResetRunReport() { Current() = ReportState(); }
void SetRunMode(RunMode mode) { Current().mode = mode; }
RunMode CurrentRunMode() { return Current().mode; }
void AddReportWriter(ReportWriter writer) { Current().writers.push_back(std::move(writer)); }
void RemoveReportWriters() { Current().writers.clear(); }
RunTally& Tally() { return Current().tally; }

std::string RunHeading(std::string_view commandLine) {
    return std::string("Vexilla ") + version::kText + " on " + RunningWindowsName() + ": " +
           std::string(commandLine);
}

void ReportLine(const std::string& line) {
    for (const auto& writer : Current().writers) {
        try {
            writer(line);
        } catch (...) {
            // A writer that fails loses its line; the run and the other writers go on.
        }
    }
}

void ReportChange(std::string_view done, std::string_view planned, std::string_view differs) {
    switch (Current().mode) {
    case RunMode::Change:
        ReportLine(std::string(done));
        break;
    case RunMode::Plan:
        ReportLine("would " + std::string(planned));
        break;
    case RunMode::Verify:
        ++Current().tally.differences;
        ReportLine("differs: " + std::string(differs));
        break;
    }
}

void ReportKept(std::string_view what) {
    ReportLine((Current().mode == RunMode::Verify ? "ok: " : "unchanged: ") + std::string(what));
}

void ReportSkipped(std::string_view reason) { ReportLine("skipped: " + std::string(reason)); }

void ReportFailed(std::string_view what) {
    ++Current().tally.failures;
    ReportLine("failed: " + std::string(what));
}

void ReportTrappedFailure(std::string_view text) {
    ++Current().tally.failures;
    ReportLine("error: " + std::string(text));
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted.append(text.data(), text.size());
    quoted += '"';
    return quoted;
}

std::string ByteCount(unsigned long long bytes) {
    const std::string digits = std::to_string(bytes);
    std::string grouped;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[at];
    }
    return grouped + (bytes == 1 ? " byte" : " bytes");
}

}  // namespace vx
