#include "engine/LogoCheck.h"

#include "common/BmpHeader.h"
#include "common/DebugLog.h"
#include "common/RunReport.h"
#include "engine/BrandingSettings.h"

namespace vx::engine {

LogoFindings CheckLogo(const std::optional<std::string>& bytes, bool vistaOrLater) {
    const std::string name = settings::kLogoFile;
    LogoFindings findings;
    if (!bytes) {
        findings.warnings.push_back(name +
                                    " cannot be read: its size and colour depth are unknown");
        return findings;
    }
    const auto header = ReadBmpHeader(*bytes);
    if (!header) {
        findings.warnings.push_back(name + " is not a BMP file: System Properties may not show it");
        return findings;
    }
    findings.description = DescribeBmp(*header);
    if (header->width > kLogoSide || header->height > kLogoSide) {
        findings.warnings.push_back(name + " is larger than 120 x 120: Windows scales it down");
    }
    if (vistaOrLater && header->bitCount != 32) {
        findings.warnings.push_back(name +
                                    " is not 32-bit colour: Windows Vista and later "
                                    "expect a 32-bit logo");
    }
    return findings;
}

void ReportLogoFindings(const LogoFindings& findings) {
    if (!findings.description.empty()) {
        ReportLine(std::string(settings::kLogoFile) + ": " + findings.description);
    }
    for (const std::string& warning : findings.warnings) {
        ReportLine("warning: " + warning);
        DPrint("modBranding\\ApplyBranding: warning: " + warning);
    }
}

}  // namespace vx::engine
