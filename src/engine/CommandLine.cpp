#include "engine/CommandLine.h"

#include "common/Text.h"

namespace vx::engine {
namespace {

const struct {
    const char* name;
    Switch value;
} kSwitchNames[] = {
    {"autobrand", Switch::ApplyBranding}, {"rem", Switch::RemoveBranding},
    {"desklnk", Switch::DesktopShortcut}, {"restore", Switch::RestoreFactory},
    {"plan", Switch::Plan},               {"verify", Switch::Verify},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The position of the next "/log" or "-log" word at or after `from`, or npos.
std::size_t FindLogWord(const std::string& line, std::size_t from) {
    for (std::size_t at = from; at + 4 <= line.size(); ++at) {
        if ((line[at] != '/' && line[at] != '-') || (at > 0 && !IsBlank(line[at - 1]))) {
            continue;
        }
        if (!EqualsNoCase(line.substr(at + 1, 3), "log")) {
            continue;
        }
        if (at + 4 == line.size() || IsBlank(line[at + 4])) {
            return at;
        }
    }
    return std::string::npos;
}

}  // namespace

LogOption ExtractLogOption(const std::string& commandLine) {
    LogOption result;
    std::string line = commandLine;
    std::size_t from = 0;
    for (std::size_t at = FindLogWord(line, from); at != std::string::npos;
         at = FindLogWord(line, from)) {
        std::size_t pathStart = at + 4;
        while (pathStart < line.size() && IsBlank(line[pathStart])) {
            ++pathStart;
        }
        std::size_t end = pathStart;
        std::string path;
        const bool quoted = pathStart < line.size() && line[pathStart] == '"';
        if (quoted) {
            const std::size_t close = line.find('"', pathStart + 1);
            end = close == std::string::npos ? line.size() : close + 1;
            path = line.substr(pathStart + 1, (close == std::string::npos ? line.size() : close) -
                                                  pathStart - 1);
        } else if (pathStart < line.size() && line[pathStart] != '/' && line[pathStart] != '-') {
            while (end < line.size() && !IsBlank(line[end])) {
                ++end;
            }
            path = line.substr(pathStart, end - pathStart);
        }
        if (path.empty()) {
            // A switch or nothing follows: the word goes, whatever follows stays.
            result.missingPath = true;
            if (!quoted) {
                end = at + 4;
            }
        } else {
            result.logPath = path;
        }
        line.erase(at, end - at);
        from = at;
    }
    result.switches = line;
    return result;
}

const char* SwitchName(Switch which) {
    for (const auto& entry : kSwitchNames) {
        if (entry.value == which) {
            return entry.name;
        }
    }
    return "";
}

SwitchList ParseSwitches(const std::string& switches) {
    SwitchList result;
    for (const auto& piece : Split(ReplaceAll(switches, "/", "-"), "-")) {
        const std::string name = Trim(LCase(piece));
        bool known = false;
        for (const auto& entry : kSwitchNames) {
            if (name == entry.name) {
                result.switches.push_back(entry.value);
                known = true;
                break;
            }
        }
        if (!known && !Trim(piece).empty()) {
            result.unrecognised.push_back(Trim(piece));
        }
    }
    return result;
}

}  // namespace vx::engine
