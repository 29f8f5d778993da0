#pragma once
// The report of a headless run: one plain line per step, for the person or the deployment
// engine that started it (the parent's console, a log file). The diagnostic channel is
// separate and unchanged. The report also keeps the tally the run's exit code comes from.

#include <functional>
#include <string>
#include <string_view>

namespace vx {

// Change: the steps do their work. Plan: they are walked through over a recording layer and
// say what they would do. Verify: they say where the system differs from what they would make.
enum class RunMode { Change, Plan, Verify };

struct RunTally {
    int failures = 0;     // failed steps, trapped failures included
    int differences = 0;  // places that differ from the kit (Verify)
    bool settingsMissing = false;
    bool noFactoryBackup = false;
};

using ReportWriter = std::function<void(const std::string& line)>;

// Back to a Change run with an empty tally and no writers.
void ResetRunReport();
void SetRunMode(RunMode mode);
RunMode CurrentRunMode();
void AddReportWriter(ReportWriter writer);
// The run is over: its lines go nowhere from now on (the tally stays readable).
void RemoveReportWriters();
RunTally& Tally();

// The report's first line: "Vexilla 1.0.0 on Windows 10 (64-bit): /autobrand", the program's
// version, the running Windows (see RunningWindowsName) and the command line as given.
std::string RunHeading(std::string_view commandLine);

// A plain line, as it is.
void ReportLine(const std::string& line);
// A step that changes a place (or, outside a Change run, would). `done` is what a Change run
// did ("set Model = ..."), `planned` the same after "would " ("set Model = ..."), `differs`
// what Verify found ("Model is ..., the kit gives ..."); Verify counts it as a difference.
void ReportChange(std::string_view done, std::string_view planned, std::string_view differs);
// A place that already holds what the step would make: "unchanged: ..." or, in Verify, "ok: ...".
void ReportKept(std::string_view what);
// A step left out on purpose: "skipped: <reason>".
void ReportSkipped(std::string_view reason);
// A step that failed: "failed: <what>"; counted.
void ReportFailed(std::string_view what);
// A failure trapped by a procedure (see ReportError): counted, and its text on the report.
void ReportTrappedFailure(std::string_view text);

// `text` in double quotes, as the report shows a string value.
std::string Quoted(std::string_view text);
// 14454 -> "14,454 bytes".
std::string ByteCount(unsigned long long bytes);

}  // namespace vx
