// The command line of a headless run: "/log <path>" taken out, then the switches split.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "common/Text.h"
#include "engine/CommandLine.h"

using vx::fuzz::Check;

namespace {

// The piece without its surrounding spaces, lower-cased (ASCII only, as the switches are).
std::string Bare(std::string piece) {
    const auto first = piece.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    piece = piece.substr(first, piece.find_last_not_of(' ') - first + 1);
    for (auto& c : piece) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return piece;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const auto option = vx::engine::ExtractLogOption(line);
    if (option.logPath.has_value()) {
        const std::string& path = *option.logPath;
        Check(!path.empty(), "a log path is never empty");
        // A switch after "/log" is never taken for its path; a quoted path may hold anything.
        Check((path.front() != '/' && path.front() != '-') || line.find('"' + path) != std::string::npos,
              "an unquoted log path never starts a switch", line);
    }
    Check(option.switches.size() <= line.size(), "taking the option out never adds text");

    // The pieces as the split sees them: text between "/" or "-" signs.
    std::vector<vx::engine::Switch> expected;
    std::string piece;
    const auto endPiece = [&] {
        for (const auto which :
             {vx::engine::Switch::ApplyBranding, vx::engine::Switch::RemoveBranding,
              vx::engine::Switch::DesktopShortcut, vx::engine::Switch::RestoreFactory,
              vx::engine::Switch::Plan, vx::engine::Switch::Verify}) {
            if (Bare(piece) == vx::engine::SwitchName(which)) {
                expected.push_back(which);
            }
        }
        piece.clear();
    };
    for (const char c : option.switches) {
        if (c == '/' || c == '-') {
            endPiece();
        } else {
            piece += c;
        }
    }
    endPiece();
    const auto parsed = vx::engine::ParseSwitches(option.switches);
    Check(parsed.switches == expected,
          "a switch runs exactly when its piece is the switch's name", option.switches);
    for (const auto& unknown : parsed.unrecognised) {
        Check(!unknown.empty() && unknown.find_first_of("/-") == std::string::npos,
              "an unrecognised piece is a piece", unknown);
    }
    return 0;
}
