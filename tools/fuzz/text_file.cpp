// The text-file codec and the profile functions over decoded text. The first byte picks the
// check: even for the codec (the rest is a file's bytes), odd for a profile edit (the rest is
// a buffer size byte, then section, key, value and the file's text separated by NUL bytes).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "platform/CodePage1252.h"
#include "platform/ProfileText.h"
#include "platform/TextFile.h"
#include "platform/TextRules.h"

using vx::fuzz::Check;
using namespace vx::platform;

namespace {

const AnsiConversions kAnsi{Utf8FromAnsi, AnsiFromUtf8};

void CheckCodec(std::string_view bytes) {
    const TextFileEncoding encoding = DetectTextFileEncoding(bytes);
    const std::string text = DecodeTextFile(bytes, encoding, kAnsi);
    Check(IsWellFormedUtf8(text), "decoding yields well-formed UTF-8", std::string(bytes));
    const std::string again = DecodeTextFile(EncodeTextFile(text, encoding, kAnsi), encoding, kAnsi);
    Check(again == text, "encoding the decoded text decodes back equal",
          std::string(bytes) + "\n--- decoded:\n" + text + "\n--- again:\n" + again);
    Check(IsWellFormedUtf8(Utf8FromUtf16(bytes)), "UTF-16 reads as well-formed UTF-8");
    if (IsWellFormedUtf8(bytes)) {
        Check(Utf8FromUtf16(Utf16FromUtf8(bytes)) == bytes, "well-formed UTF-8 survives UTF-16");
    }
}

struct Line {
    std::string content;
    std::string end;
    bool operator==(const Line&) const = default;
};

std::vector<Line> Lines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) stop = text.size();
        std::size_t end = stop;
        if (end < text.size()) end += text.substr(end, 2) == "\r\n" ? 2 : 1;
        lines.push_back({std::string(text.substr(start, stop - start)),
                         std::string(text.substr(stop, end - stop))});
        start = end;
    }
    return lines;
}

// The first `bufferChars` - 1 UTF-16 units of `value`, never part of a character.
std::string Cut(std::string_view value, std::size_t bufferChars) {
    if (bufferChars == 0) return {};
    std::size_t units = 0;
    std::size_t at = 0;
    while (at < value.size()) {
        std::uint32_t codePoint = 0;
        std::size_t length = DecodeUtf8Character(value.substr(at), codePoint);
        const std::size_t need = length != 0 && codePoint > 0xFFFF ? 2 : 1;
        if (length == 0) length = 1;
        if (units + need > bufferChars - 1) break;
        units += need;
        at += length;
    }
    return std::string(value.substr(0, at));
}

bool IsEntryFor(std::string_view content, std::string_view key) {
    const std::string_view trimmed = TrimProfileBlanks(content);
    if (trimmed.empty() || trimmed.front() == '[') return false;
    return EqualsNoCase(TrimProfileBlanks(trimmed.substr(0, trimmed.find('='))), key);
}

void CheckProfile(std::string_view input) {
    if (input.empty()) return;
    const std::size_t bufferChars = static_cast<unsigned char>(input.front());
    input.remove_prefix(1);
    std::vector<std::string_view> parts;
    for (int i = 0; i < 3; ++i) {
        const std::size_t nul = input.find('\0');
        if (nul == std::string_view::npos) return;
        parts.push_back(input.substr(0, nul));
        input.remove_prefix(nul + 1);
    }
    const std::string_view section = parts[0];
    const std::string_view key = parts[1];
    const std::string_view value = parts[2];
    const std::string_view text = input;
    // What a name can be: not empty, no "]", "=", line break or blank around it.
    const auto plainName = [](std::string_view name) {
        return name.find_first_of("]=\r\n") == std::string_view::npos &&
               TrimProfileBlanks(name) == name;
    };
    // A key starting with "[" cannot be written either: "[k=v]" reads as a section header.
    if (!plainName(section) || !plainName(key) || section.empty() || key.empty() ||
        key.front() == '[')
        return;
    // What a value can be: no line break, no blank around it (reading cuts them), not in a
    // pair of quotes (reading drops them).
    if (value.find_first_of("\r\n") != std::string_view::npos || TrimProfileBlanks(value) != value)
        return;
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return;

    const std::string written = WriteProfileString(text, section, key, value);
    const std::string story = "section [" + std::string(section) + "] key [" + std::string(key) +
                              "] value [" + std::string(value) + "]\n--- text:\n" +
                              std::string(text) + "\n--- written:\n" + written;
    Check(ReadProfileString(written, section, key, "-", bufferChars) == Cut(value, bufferChars),
          "the value written reads back", story);

    // Every other line kept: the old and new lines agree but for one entry line of the key
    // (rewritten), the old last line (given a line end) and the lines added (header, entry).
    const auto before = Lines(text);
    const auto after = Lines(written);
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const std::size_t oldMiddle = before.size() - head - tail;
    const std::size_t newMiddle = after.size() - head - tail;
    Check(oldMiddle <= 1 && newMiddle <= 3, "at most one line changes", story);
    if (oldMiddle == 1) {
        const Line& old = before[head];
        const bool extended = old.end.empty() && after[head].content == old.content;
        Check(extended || IsEntryFor(old.content, key), "only the key's entry line changes", story);
    }
    for (std::size_t i = head; i < head + newMiddle; ++i) {
        const Line& line = after[i];
        const bool header = TrimProfileBlanks(line.content).starts_with('[');
        const bool kept = oldMiddle == 1 && line.content == before[head].content;
        Check(header || kept || IsEntryFor(line.content, key), "only the entry and its header come in",
              story);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if ((data[0] & 1U) == 0) {
        CheckCodec(rest);
    } else {
        CheckProfile(rest);
    }
    return 0;
}
