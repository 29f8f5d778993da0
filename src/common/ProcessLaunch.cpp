#include "common/ProcessLaunch.h"

#include <cmath>
#include <memory>

#include "common/DebugLog.h"
#include "common/FileTests.h"
#include "common/ReportHeaders.h"
#include "platform/Platform.h"

namespace vx {
namespace {

constexpr std::uint32_t kPollMilliseconds = 100;

// Lets waiting window messages run, then sleeps one poll interval.
void PollPause() {
    auto& processes = platform::Current().processes();
    processes.pumpMessages();
    processes.sleep(kPollMilliseconds);
}

std::unique_ptr<platform::Process> StartWithoutRedirection(const std::string& command,
                                                           int windowStyle) {
    DisableFSRedir();
    std::unique_ptr<platform::Process> process;
    try {
        process = platform::Current().processes().start(command, windowStyle);
    } catch (...) {
        RevertFSRedir();
        throw;
    }
    RevertFSRedir();
    return process;
}

}  // namespace

bool ShellAndWaitForTermination(std::string& sShell, int windowStyle, std::string& errorText,
                                std::uint32_t timeLimitMs, bool useTimeLimit) {
    bool result = false;
    try {
        DPrint("ShellandWaitForTermination:  " + sShell);
        const auto process = StartWithoutRedirection(sShell, windowStyle);
        if (!process) {
            errorText =
                "This program could not determine whether the process started."
                "Please watch the program and check it completes.";
        } else {
            auto& processes = platform::Current().processes();
            const std::uint32_t start = processes.tickMilliseconds();
            result = true;
            // The handle tells when the process ends; exit code 259 (still active) is also a
            // code a program may really end with.
            while (!process->hasExited()) {
                PollPause();
                if (useTimeLimit && static_cast<std::uint32_t>(processes.tickMilliseconds() -
                                                               start) > timeLimitMs) {
                    errorText = kTimedOut;
                    result = false;
                    break;
                }
            }
        }
        DPrint("\tSuccess=" + ToText(result));
        return result;
    } catch (...) {
        const auto error = CurrentError();
        errorText = error.description;
        ReportError(report::kShellAndWaitForTermination, error, {{"sShell", sShell}});
        RevertFSRedir();
        return false;
    }
}

void Delay(double seconds) {
    auto& processes = platform::Current().processes();
    const double limit = std::isfinite(seconds) && seconds > 0 ? seconds * 1000.0 : 0.0;
    const std::uint32_t start = processes.tickMilliseconds();
    double elapsed = 0;
    while (elapsed <= limit) {
        try {
            processes.sleep(kPollMilliseconds);
            processes.pumpMessages();
        } catch (...) {
            ReportError(report::kDelay, CurrentError());
        }
        elapsed = static_cast<std::uint32_t>(processes.tickMilliseconds() - start);
    }
}

bool ShellX(const std::string& sPathAndFileName, const std::string& arguments, bool wait,
            int windowStyle, std::uint32_t& exitCode, bool /*unused*/) {
    std::string command;
    try {
        if (sPathAndFileName.find('\\') != std::string::npos &&
            !DoesFileExist(sPathAndFileName, false)) {
            DPrint("CommonModule\\ShellX FILE NOT FOUND");
            DPrint("\t- sPathAndFileName=" + sPathAndFileName);
            return false;
        }
        std::string program = sPathAndFileName;
        if (program.find(' ') != std::string::npos) {
            program = "\"" + program + "\"";
        }
        command = arguments.empty() ? program : program + " " + arguments;

        bool result = false;
        const auto process = StartWithoutRedirection(command, windowStyle);
        if (process && wait) {
            while (!process->hasExited()) {
                PollPause();
            }
            const auto code = process->exitCode();
            if (code.has_value()) {
                exitCode = *code;
                result = true;
            }
        } else {
            result = process != nullptr;
        }
        if (!result) {
            DPrint("ShellX (Failed):  " + command);
        }
        return result;
    } catch (...) {
        ReportError(report::kShellX, CurrentError(), {{"sShell", command}});
        RevertFSRedir();
        return false;
    }
}

}  // namespace vx
