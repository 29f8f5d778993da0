#include "backup/RegFile.h"

#include <cstddef>
#include <utility>

#include "common/Text.h"

namespace vx::backup {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRedirectedNode = "Wow6432Node";
constexpr std::uint32_t kRegString = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::size_t kBytesPerLine = 25;

bool IsPrintableAscii(char c) { return c >= 0x20 && c <= 0x7E; }

bool IsPrintableAscii(std::string_view text) {
    for (const char c : text) {
        if (!IsPrintableAscii(c)) return false;
    }
    return true;
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') quoted.push_back('\\');
        quoted.push_back(c);
    }
    return quoted + "\"";
}

// The text of a REG_SZ whose stored bytes are printable ASCII in UTF-16LE with one
// terminator; nothing for any other value.
std::optional<std::string> PlainText(const StoredValue& value) {
    const std::string& bytes = value.bytes;
    if (value.type != kRegString || bytes.size() < 2 || bytes.size() % 2 != 0) return std::nullopt;
    if (bytes[bytes.size() - 2] != '\0' || bytes[bytes.size() - 1] != '\0') return std::nullopt;
    std::string text;
    for (std::size_t i = 0; i + 2 < bytes.size(); i += 2) {
        if (!IsPrintableAscii(bytes[i]) || bytes[i + 1] != '\0') return std::nullopt;
        text.push_back(bytes[i]);
    }
    return text;
}

std::string HexNumber(std::uint32_t number) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    return digits;
}

std::string HexByte(unsigned char byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    return {kDigits[byte >> 4], kDigits[byte & 0xF]};
}

std::string ValueData(const StoredValue& value) {
    if (const auto text = PlainText(value)) return Quoted(*text);
    if (value.type == kRegDword && value.bytes.size() == 4) {
        std::string digits;
        for (std::size_t i = 4; i-- > 0;)
            digits += HexByte(static_cast<unsigned char>(value.bytes[i]));
        return "dword:" + digits;
    }
    std::string data = value.type == kRegBinary ? "hex:" : "hex(" + HexNumber(value.type) + "):";
    for (std::size_t i = 0; i < value.bytes.size(); ++i) {
        if (i > 0) data += (i % kBytesPerLine == 0) ? ",\\\r\n  " : ",";
        data += HexByte(static_cast<unsigned char>(value.bytes[i]));
    }
    return data;
}

std::string KeyText(const KeyRecord& key) {
    if (key.view == RegistryView::Native) return key.root + "\\" + key.path;
    if (key.root == "HKEY_CLASSES_ROOT") {
        return key.root + "\\" + std::string(kRedirectedNode) + "\\" + key.path;
    }
    const std::size_t firstEnd = key.path.find('\\');
    if (firstEnd == std::string::npos) {
        return key.root + "\\" + key.path + "\\" + std::string(kRedirectedNode);
    }
    return key.root + "\\" + key.path.substr(0, firstEnd) + "\\" + std::string(kRedirectedNode) +
           key.path.substr(firstEnd);
}

// --- reading -------------------------------------------------------------------------

std::optional<KeyRecord> ParseKeyLine(std::string_view line) {
    KeyRecord key;
    std::string_view inside = line.substr(1, line.size() - 2);
    if (!inside.empty() && inside.front() == '-') {
        key.present = false;
        inside.remove_prefix(1);
    }
    const std::size_t rootEnd = inside.find('\\');
    if (rootEnd == std::string_view::npos || rootEnd + 1 >= inside.size()) return std::nullopt;
    key.root = std::string(inside.substr(0, rootEnd));
    if (key.root != "HKEY_LOCAL_MACHINE" && key.root != "HKEY_CLASSES_ROOT") return std::nullopt;
    std::vector<std::string> names = Split(inside.substr(rootEnd + 1), "\\");
    const std::size_t nodeAt = key.root == "HKEY_CLASSES_ROOT" ? 0 : 1;
    if (names.size() > nodeAt + 1 && EqualsNoCase(names[nodeAt], kRedirectedNode)) {
        key.view = RegistryView::Redirected;
        names.erase(names.begin() + static_cast<std::ptrdiff_t>(nodeAt));
    }
    for (const std::string& name : names) {
        if (name.empty()) return std::nullopt;
        key.path += (key.path.empty() ? "" : "\\") + name;
    }
    return key;
}

// A quoted text at the start of `rest`; moves `rest` past it.
std::optional<std::string> TakeQuoted(std::string_view& rest) {
    if (rest.empty() || rest.front() != '"') return std::nullopt;
    std::string text;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        char c = rest[i];
        if (c == '"') {
            rest.remove_prefix(i + 1);
            return text;
        }
        if (c == '\\') {
            if (++i >= rest.size() || (rest[i] != '\\' && rest[i] != '"')) return std::nullopt;
            c = rest[i];
        }
        if (!IsPrintableAscii(c)) return std::nullopt;
        text.push_back(c);
    }
    return std::nullopt;
}

std::optional<unsigned> HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    return std::nullopt;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : digits) {
        const auto digit = HexDigit(c);
        if (!digit) return std::nullopt;
        number = number << 4 | *digit;
    }
    return number;
}

std::optional<std::string> ParseHexBytes(std::string_view list) {
    std::string bytes;
    if (list.empty()) return bytes;
    for (const std::string& piece : Split(list, ",")) {
        const std::string byte = Trim(piece);
        const auto number = ParseHexNumber(byte);
        if (byte.size() != 2 || !number) return std::nullopt;
        bytes.push_back(static_cast<char>(*number));
    }
    return bytes;
}

std::optional<ValueRecord> ParseValueLine(std::string_view line) {
    ValueRecord record;
    if (!line.empty() && line.front() == '@') {
        line.remove_prefix(1);
    } else {
        auto name = TakeQuoted(line);
        if (!name) return std::nullopt;
        record.name = std::move(*name);
    }
    if (line.empty() || line.front() != '=') return std::nullopt;
    line.remove_prefix(1);
    if (line == "-") return record;
    StoredValue value;
    if (!line.empty() && line.front() == '"') {
        auto text = TakeQuoted(line);
        if (!text || !line.empty()) return std::nullopt;
        value = {kRegString, WideStringBytes(*text)};
    } else if (line.starts_with("dword:")) {
        const auto number = ParseHexNumber(line.substr(6));
        if (!number || line.size() != 14) return std::nullopt;
        value.type = kRegDword;
        for (int i = 0; i < 4; ++i) value.bytes.push_back(static_cast<char>(*number >> (8 * i)));
    } else if (line.starts_with("hex:")) {
        auto bytes = ParseHexBytes(line.substr(4));
        if (!bytes) return std::nullopt;
        value = {kRegBinary, std::move(*bytes)};
    } else if (line.starts_with("hex(")) {
        const std::size_t close = line.find("):");
        const auto type = close == std::string_view::npos
                              ? std::nullopt
                              : ParseHexNumber(line.substr(4, close - 4));
        if (!type) return std::nullopt;
        auto bytes = ParseHexBytes(line.substr(close + 2));
        if (!bytes) return std::nullopt;
        value = {*type, std::move(*bytes)};
    } else {
        return std::nullopt;
    }
    record.value = std::move(value);
    return record;
}

// The file's logical lines: line ends of either kind, continuations ("\" at the end) joined.
std::vector<std::string> LogicalLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    bool continues = false;
    for (std::string line : Split(ReplaceAll(text, "\r\n", "\n"), "\n")) {
        const bool comment = !continues && !line.empty() && line.front() == ';';
        if (continues) line = LTrim(line);
        continues = !comment && !line.empty() && line.back() == '\\';
        if (continues) line.pop_back();
        current += line;
        if (!continues) lines.push_back(std::exchange(current, {}));
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

}  // namespace

std::string RegFileData(const StoredValue& value) {
    std::string data = ValueData(value);
    for (std::size_t at = data.find("\\\r\n  "); at != std::string::npos;
         at = data.find("\\\r\n  ", at)) {
        data.erase(at, 5);
    }
    return data;
}

std::string WideStringBytes(std::string_view text) {
    std::string bytes;
    for (const char c : text) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes + std::string(2, '\0');
}

std::optional<std::string> WriteRegFile(const std::vector<KeyRecord>& keys,
                                        const std::vector<std::string>& comment) {
    std::string text = std::string(kHeader) + "\r\n\r\n";
    for (const std::string& line : comment) text += "; " + line + "\r\n";
    for (const KeyRecord& key : keys) {
        const std::string path = KeyText(key);
        if (!IsPrintableAscii(path) || path.find(']') != std::string::npos) return std::nullopt;
        text += "\r\n[" + std::string(key.present ? "" : "-") + path + "]\r\n";
        for (const ValueRecord& record : key.values) {
            if (!IsPrintableAscii(record.name)) return std::nullopt;
            text += record.name.empty() ? "@" : Quoted(record.name);
            // Piece by piece: the i686 GCC 12 sees a false overlap (-Wrestrict) in "=" + data.
            text += '=';
            text += record.value ? ValueData(*record.value) : std::string("-");
            text += "\r\n";
        }
    }
    return text;
}

std::optional<std::vector<KeyRecord>> ReadRegFile(std::string_view text) {
    const std::vector<std::string> lines = LogicalLines(text);
    if (lines.empty() || lines.front() != kHeader) return std::nullopt;
    std::vector<KeyRecord> keys;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return std::nullopt;
            auto key = ParseKeyLine(line);
            if (!key) return std::nullopt;
            keys.push_back(std::move(*key));
            continue;
        }
        // A value belongs to a key that is written, not to a [-key] line.
        if (keys.empty() || !keys.back().present) return std::nullopt;
        auto value = ParseValueLine(line);
        if (!value) return std::nullopt;
        keys.back().values.push_back(std::move(*value));
    }
    return keys;
}

}  // namespace vx::backup
