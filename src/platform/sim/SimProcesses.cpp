#include "platform/sim/SimProcesses.h"

#include <stdexcept>
#include <utility>

#include "platform/TextRules.h"

namespace vx::platform::sim {

SimProcess::SimProcess(std::uint32_t id, std::shared_ptr<const VirtualClock> clock,
                       std::uint64_t endsAt, std::uint32_t exitCode)
    : id_(id), clock_(std::move(clock)), endsAt_(endsAt), exitCode_(exitCode) {}

bool SimProcess::hasExited() { return clock_->now >= endsAt_; }

std::optional<std::uint32_t> SimProcess::exitCode() {
    return hasExited() ? exitCode_ : kStillActive;
}

std::string ProgramToken(const std::string& commandLine) {
    std::size_t start = commandLine.find_first_not_of(" \t");
    if (start == std::string::npos) return {};
    if (commandLine[start] == '"') {
        ++start;
        const std::size_t close = commandLine.find('"', start);
        return commandLine.substr(start,
                                  close == std::string::npos ? std::string::npos : close - start);
    }
    const std::size_t end = commandLine.find_first_of(" \t", start);
    return commandLine.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

namespace {

bool NamesFolder(const std::string& token) {
    return token.find_first_of("\\/:") != std::string::npos;
}

std::string WithDefaultExtension(const std::string& token) {
    const std::size_t nameStart = token.find_last_of("\\/:");
    const std::size_t dot = token.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
    return hasExtension ? token : token + ".exe";
}

}  // namespace

SimProcesses::SimProcesses(SimFiles& files, FileTree& tree, const SimRedirection& redirection)
    : files_(files), tree_(tree), redirection_(redirection) {}

void SimProcesses::define(const std::string& nameOrPath, ProgramScript script) {
    if (!NamesFolder(nameOrPath)) {
        byName_[UpperAscii(nameOrPath)] = script;
        return;
    }
    // Definitions name the native file, whatever view a later launch has.
    const std::optional<PathName> path = NormalisePath(nameOrPath, files_.currentDirectory());
    if (!path) throw std::invalid_argument("not a valid program path: " + nameOrPath);
    byPath_[path->key()] = script;
}

std::optional<ProgramScript> SimProcesses::findProgram(const std::string& token) const {
    if (token.empty()) return std::nullopt;
    const std::string program = WithDefaultExtension(token);
    if (!NamesFolder(program)) {
        const auto it = byName_.find(UpperAscii(program));
        if (it == byName_.end()) return std::nullopt;
        return it->second;
    }
    const std::optional<PathName> native = files_.resolve(program);
    if (!native) return std::nullopt;
    const FileNode* node = tree_.find(*native);
    if (node == nullptr || node->directory || node->unreachable) return std::nullopt;
    const auto it = byPath_.find(native->key());
    return it == byPath_.end() ? ProgramScript{} : it->second;
}

std::unique_ptr<Process> SimProcesses::start(const std::string& commandLine, int showWindow) {
    LaunchRecord record;
    record.commandLine = commandLine;
    record.showWindow = showWindow;
    record.redirectionDisabled = redirection_.disabledNow();
    const std::optional<ProgramScript> script = findProgram(ProgramToken(commandLine));
    launches_.push_back(record);
    if (!script) return nullptr;
    const std::uint32_t id = nextId_;
    nextId_ += 4;
    return std::make_unique<SimProcess>(id, clock_, clock_->now + script->runMilliseconds,
                                        script->exitCode);
}

void SimProcesses::pumpMessages() { ++pumps_; }

void SimProcesses::sleep(std::uint32_t milliseconds) { clock_->now += milliseconds; }

std::uint32_t SimProcesses::tickMilliseconds() {
    return static_cast<std::uint32_t>(clock_->now & 0xFFFFFFFFu);
}

}  // namespace vx::platform::sim
