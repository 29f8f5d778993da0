#pragma once
// What the header of a kit's oemlogo.bmp says, before it is copied: its size and colour depth,
// and what System Properties makes of it. The copy happens whatever the check finds.

#include <optional>
#include <string>
#include <vector>

namespace vx::engine {

// System Properties shows the logo in a 120 x 120 box and scales a larger one down.
inline constexpr int kLogoSide = 120;

struct LogoFindings {
    std::string description;            // "120 x 120, 32-bit colour"; "" when not a readable BMP
    std::vector<std::string> warnings;  // each a sentence that starts with the file's name
};

// `bytes` is the file, nothing when it could not be read. `vistaOrLater` asks for 32-bit colour.
LogoFindings CheckLogo(const std::optional<std::string>& bytes, bool vistaOrLater);

// The report lines of a check: "oemlogo.bmp: 120 x 120, 32-bit colour", then one
// "warning: ..." per warning (each also on the diagnostic channel).
void ReportLogoFindings(const LogoFindings& findings);

}  // namespace vx::engine
