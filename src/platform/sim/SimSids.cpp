#include "platform/sim/SimSids.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/SecurityLayout.h"

namespace vx::platform::sim {

namespace {

// One decimal field of the text form; nothing when it is empty, not decimal or above `limit`.
std::optional<std::uint64_t> DecimalField(std::string_view field, std::uint64_t limit) {
    if (field.empty() || field.size() > 15) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > limit) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> SidFromText(std::string_view text) {
    if (text.size() < 4 || (text[0] != 'S' && text[0] != 's') || text.substr(1, 3) != "-1-") {
        return std::nullopt;
    }
    text.remove_prefix(4);
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t dash = text.find('-');
        fields.push_back(text.substr(0, dash));
        if (dash == std::string_view::npos) break;
        text.remove_prefix(dash + 1);
    }
    if (fields.size() - 1 > kMostSubAuthorities) return std::nullopt;
    const std::optional<std::uint64_t> authority = DecimalField(fields.front(), 0xFFFFFFFFFFFFull);
    if (!authority) return std::nullopt;

    std::string sid;
    sid += static_cast<char>(1);
    sid += static_cast<char>(fields.size() - 1);
    for (int shift = 40; shift >= 0; shift -= 8) {
        sid += static_cast<char>((*authority >> shift) & 0xFF);
    }
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::optional<std::uint64_t> part = DecimalField(fields[i], 0xFFFFFFFFull);
        if (!part) return std::nullopt;
        for (int shift = 0; shift < 32; shift += 8) {
            sid += static_cast<char>((*part >> shift) & 0xFF);
        }
    }
    return sid;
}

std::string SidBytes(std::string_view text) {
    std::optional<std::string> sid = SidFromText(text);
    if (!sid) throw std::invalid_argument("not a SID: \"" + std::string(text) + "\"");
    return *sid;
}

std::string SidText(std::string_view sid) {
    if (SidLength(sid) != sid.size()) return "(not a SID)";
    std::uint64_t authority = 0;
    for (std::size_t i = 2; i < kSidHeaderSize; ++i) {
        authority = (authority << 8) | static_cast<unsigned char>(sid[i]);
    }
    std::string text = "S-1-";
    text += std::to_string(authority);
    for (std::size_t offset = kSidHeaderSize; offset < sid.size(); offset += 4) {
        text.append("-").append(std::to_string(ReadLe(sid, offset, 4)));
    }
    return text;
}

}  // namespace vx::platform::sim
