#include "platform/sim/SimText.h"

namespace vx::platform::sim {

namespace {
char upperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = upperChar(c);
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperChar(a[i]) != upperChar(b[i])) return false;
    }
    return true;
}

bool isProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trimLeadingProfileBlanks(std::string_view text) {
    while (!text.empty() && isProfileBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view trimProfileBlanks(std::string_view text) {
    text = trimLeadingProfileBlanks(text);
    while (!text.empty() && isProfileBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace vx::platform::sim
