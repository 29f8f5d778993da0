// The rule that turns a support address as typed into the one written.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ui/Editor.h"

using vx::fuzz::Check;

namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "letters, digits, +, - or . after a first letter, then a colon".
bool StartsWithSchemeName(const std::string& url) {
    if (url.empty() || !IsAlpha(url[0])) {
        return false;
    }
    for (std::size_t at = 1; at < url.size(); ++at) {
        const char c = url[at];
        if (c == ':') {
            return true;
        }
        if (!IsAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string url(reinterpret_cast<const char*>(data), size);
    const std::string once = vx::ui::NormaliseSupportUrl(url);
    Check(vx::ui::NormaliseSupportUrl(once) == once, "normalising twice equals once", url);
    if (once.empty()) {
        Check(url.find_first_not_of(" \t") == std::string::npos, "only a blank address gives \"\"",
              url);
        return 0;
    }
    Check(StartsWithSchemeName(once), "the result has a scheme", once);
    Check(once.front() != ' ' && once.front() != '\t' && once.back() != ' ' && once.back() != '\t',
          "no blanks around the result", once);
    return 0;
}
