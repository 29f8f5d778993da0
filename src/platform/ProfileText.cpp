#include "platform/ProfileText.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/IniDocument.h"
#include "platform/TextFile.h"
#include "platform/TextRules.h"

namespace vx::platform {

namespace {

// GetPrivateProfileIntW reads the entry through a buffer of this many characters.
constexpr std::size_t kIntegerBufferChars = 30;

// The byte length and UTF-16 length of the character at the start of `text` (not empty); an
// ill-formed byte counts as one character of one unit, as it reads as U+FFFD.
struct CharacterSize {
    std::size_t bytes;
    std::size_t units;
};

CharacterSize SizeOfFirstCharacter(std::string_view text) {
    std::uint32_t codePoint = 0;
    const std::size_t length = DecodeUtf8Character(text, codePoint);
    if (length == 0) return {1, 1};
    return {length, codePoint > 0xFFFF ? 2u : 1u};
}

std::size_t CountUtf16Units(std::string_view text) {
    std::size_t units = 0;
    while (!text.empty()) {
        const CharacterSize size = SizeOfFirstCharacter(text);
        units += size.units;
        text.remove_prefix(size.bytes);
    }
    return units;
}

// The bytes of the last character of `text` (not empty).
std::size_t LastCharacterBytes(std::string_view text) {
    std::size_t start = 0;
    std::size_t bytes = 0;
    while (start < text.size()) {
        bytes = SizeOfFirstCharacter(text.substr(start)).bytes;
        start += bytes;
    }
    return bytes;
}

// CopyProfileEntry with quotes stripped, counted in UTF-16 units and cut between characters
// only. The closing quote survives a cut the way it does there: a buffer exactly one unit
// short loses the value's last real character too.
std::string CopyEntryAsUtf16(std::string_view value, std::size_t bufferChars) {
    if (bufferChars == 0) return {};
    bool quoted = false;
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    std::size_t units = 0;
    std::size_t cut = 0;
    while (cut < value.size()) {
        const CharacterSize size = SizeOfFirstCharacter(value.substr(cut));
        if (units + size.units > bufferChars - 1) break;
        units += size.units;
        cut += size.bytes;
    }
    std::string out(value.substr(0, cut));
    if (quoted && bufferChars >= CountUtf16Units(value) && !out.empty()) {
        out.resize(out.size() - LastCharacterBytes(out));
    }
    return out;
}

// One line of the text: its content and, after it, its line end (CR, LF or CRLF; none for a
// last line without one).
struct TextLine {
    std::size_t start;
    std::size_t contentEnd;
    std::size_t end;
};

std::vector<TextLine> SplitKeepingLineEnds(std::string_view text) {
    std::vector<TextLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t contentEnd = text.find_first_of("\r\n", start);
        if (contentEnd == std::string_view::npos) contentEnd = text.size();
        std::size_t end = contentEnd;
        if (end < text.size()) {
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            end += crlf ? 2 : 1;
        }
        lines.push_back(TextLine{start, contentEnd, end});
        start = end;
    }
    return lines;
}

std::string_view LineEndOf(std::string_view text) {
    const std::size_t first = text.find_first_of("\r\n");
    if (first == std::string_view::npos) return "\r\n";
    return text.substr(first).starts_with("\r\n") ? "\r\n" : "\n";
}

std::optional<std::string_view> HeaderName(std::string_view line) {
    if (line.empty() || line.front() != '[') return std::nullopt;
    const std::size_t close = line.find(']', 1);
    if (close == std::string_view::npos) return std::nullopt;
    return TrimProfileBlanks(line.substr(1, close - 1));
}

std::string Spliced(std::string_view text, std::size_t from, std::size_t to,
                    std::string_view insert) {
    std::string out(text.substr(0, from));
    out += insert;
    out += text.substr(to);
    return out;
}

}  // namespace

std::string ReadProfileString(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view defaultText, std::size_t bufferChars) {
    const std::string fallback = TrimDefaultText(defaultText);
    const IniDocument document = IniDocument::parse(text);
    const IniEntry* entry = document.find(section, key);
    const bool found = entry != nullptr && entry->value.has_value();
    return CopyEntryAsUtf16(found ? *entry->value : fallback, bufferChars);
}

unsigned ReadProfileInt(std::string_view text, std::string_view section, std::string_view key,
                        int defaultValue) {
    const std::string value = ReadProfileString(text, section, key, "", kIntegerBufferChars);
    if (value.empty()) return static_cast<unsigned>(defaultValue);
    return ParseProfileInteger(value);
}

std::string WriteProfileString(std::string_view text, std::string_view section,
                               std::string_view key, std::string_view value) {
    const std::string_view lineEnd = LineEndOf(text);
    const std::string_view newValue = TrimLeadingProfileBlanks(value);
    const std::string_view wantedSection = TrimProfileBlanks(section);
    const std::string_view wantedKey = TrimProfileBlanks(key);
    const std::vector<TextLine> lines = SplitKeepingLineEnds(text);

    // The lines before the first header form a nameless section, the first of its name.
    bool inSection = wantedSection.empty();
    std::optional<TextLine> lastLine;  // the section's last non-blank line
    for (const TextLine& line : lines) {
        const std::string_view content =
            TrimProfileBlanks(text.substr(line.start, line.contentEnd - line.start));
        if (content.empty()) continue;
        if (const std::optional<std::string_view> name = HeaderName(content)) {
            if (inSection) break;  // later sections of the same name are never searched
            inSection = EqualsNoCase(*name, wantedSection);
            if (inSection) lastLine = line;
            continue;
        }
        if (!inSection) continue;
        lastLine = line;
        const std::size_t equals = content.find('=');
        const std::string_view name = TrimProfileBlanks(content.substr(0, equals));
        if (!EqualsNoCase(name, wantedKey)) continue;
        if (equals != std::string_view::npos &&
            TrimLeadingProfileBlanks(content.substr(equals + 1)) == newValue) {
            return std::string(text);
        }
        std::string rewritten(name);
        rewritten += '=';
        rewritten += newValue;
        return Spliced(text, line.start, line.contentEnd, rewritten);
    }

    // Pieces are appended one by one: GCC 12 misreports operator+ on temporaries (Warnings.cmake).
    std::string entry(TrimLeadingProfileBlanks(key));
    entry += '=';
    entry += newValue;
    entry += lineEnd;
    if (inSection) {
        if (!lastLine) return Spliced(text, 0, 0, entry);
        std::string insert;
        if (lastLine->end == lastLine->contentEnd) insert += lineEnd;  // the file's last line
        insert += entry;
        return Spliced(text, lastLine->end, lastLine->end, insert);
    }
    std::string out(text);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += lineEnd;
    out += '[';
    out += TrimLeadingProfileBlanks(section);
    out += ']';
    out += lineEnd;
    out += entry;
    return out;
}

}  // namespace vx::platform
