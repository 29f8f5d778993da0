#include "platform/IniDocument.h"

#include <algorithm>

#include "platform/TextRules.h"

namespace vx::platform {

IniDocument::IniDocument() { sections_.push_back(IniSection{}); }

namespace {

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = bytes.find_first_not_of("\r\n", end);
        if (start == std::string_view::npos) break;
    }
    return lines;
}

std::optional<std::string_view> HeaderName(std::string_view line) {
    if (line.empty() || line.front() != '[') return std::nullopt;
    const std::size_t close = line.find(']', 1);
    if (close == std::string_view::npos) return std::nullopt;
    return TrimProfileBlanks(line.substr(1, close - 1));
}

}  // namespace

IniDocument IniDocument::parse(std::string_view bytes) {
    IniDocument document;
    for (std::string_view raw : SplitLines(bytes)) {
        const std::string_view line = TrimProfileBlanks(raw);
        if (line.empty()) continue;
        if (const std::optional<std::string_view> name = HeaderName(line)) {
            document.sections_.push_back(IniSection{std::string(*name), {}});
            continue;
        }
        IniEntry entry;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            entry.name = std::string(line);
        } else {
            entry.name = std::string(TrimProfileBlanks(line.substr(0, equals)));
            entry.value = std::string(TrimLeadingProfileBlanks(line.substr(equals + 1)));
        }
        std::vector<IniEntry>& entries = document.sections_.back().entries;
        // Of several nameless lines in a row only the first is kept.
        if (entry.name.empty() && !entries.empty() && entries.back().name.empty()) continue;
        entries.push_back(std::move(entry));
    }
    return document;
}

std::string IniDocument::serialise() const {
    std::string out;
    for (const IniSection& section : sections_) {
        if (!section.name.empty()) out += "[" + section.name + "]\r\n";
        for (const IniEntry& entry : section.entries) {
            out += entry.name;
            if (entry.value) out += "=" + *entry.value;
            out += "\r\n";
        }
    }
    return out;
}

namespace {

// The first section of that name; profile functions never look past it.
template <typename Sections>
auto* FirstSection(Sections& sections, std::string_view name) {
    const std::string_view wanted = TrimProfileBlanks(name);
    for (auto& section : sections) {
        if (EqualsNoCase(section.name, wanted)) return &section;
    }
    return static_cast<decltype(&sections.front())>(nullptr);
}

template <typename Entries>
auto* FirstEntry(Entries& entries, std::string_view name) {
    const std::string_view wanted = TrimProfileBlanks(name);
    for (auto& entry : entries) {
        if (EqualsNoCase(entry.name, wanted)) return &entry;
    }
    return static_cast<decltype(&entries.front())>(nullptr);
}

}  // namespace

const IniEntry* IniDocument::find(std::string_view section, std::string_view key) const {
    const IniSection* found = FirstSection(sections_, section);
    return found == nullptr ? nullptr : FirstEntry(found->entries, key);
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string newValue(TrimLeadingProfileBlanks(value));
    IniSection* target = FirstSection(sections_, section);
    if (target == nullptr) {
        sections_.push_back(IniSection{std::string(TrimLeadingProfileBlanks(section)), {}});
        target = &sections_.back();
    }
    if (IniEntry* entry = FirstEntry(target->entries, key)) {
        if (entry->value == newValue) return false;
        entry->value = newValue;
        return true;
    }
    target->entries.push_back(IniEntry{std::string(TrimLeadingProfileBlanks(key)), newValue});
    return true;
}

std::string CopyProfileEntry(std::string_view value, std::size_t bufferChars, bool stripQuotes) {
    if (bufferChars == 0) return {};
    bool quoted = false;
    if (stripQuotes && value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    std::string out(value.substr(0, std::min(value.size(), bufferChars - 1)));
    if (quoted && bufferChars >= value.size() && !out.empty()) out.pop_back();
    return out;
}

std::string TrimDefaultText(std::string_view text) {
    while (text.size() > 1 && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

std::uint32_t ParseProfileInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        // Only the lower-case prefixes count: "0X1F" reads as 0.
        const char prefix = text[i + 1];
        if (prefix == 'x') base = 16;
        if (prefix == 'o') base = 8;
        if (prefix == 'b') base = 2;
        if (base != 10) i += 2;
    }
    std::uint32_t total = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        std::uint32_t digit = 99;
        if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        if (c >= 'a' && c <= 'z') digit = static_cast<std::uint32_t>(c - 'a') + 10;
        if (c >= 'A' && c <= 'Z') digit = static_cast<std::uint32_t>(c - 'A') + 10;
        if (digit >= base) break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}

}  // namespace vx::platform
