#include "platform/TextFile.h"

namespace vx::platform {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::uint32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf16Unit(std::string& utf16, std::uint32_t unit) {
    utf16 += static_cast<char>(unit & 0xFF);
    utf16 += static_cast<char>((unit >> 8) & 0xFF);
}

// The text with each byte of an ill-formed sequence replaced by U+FFFD.
std::string RepairUtf8(std::string_view text) {
    if (IsWellFormedUtf8(text)) return std::string(text);
    std::string out;
    while (!text.empty()) {
        std::uint32_t codePoint = 0;
        const std::size_t length = DecodeUtf8Character(text, codePoint);
        AppendUtf8(out, length == 0 ? kReplacement : codePoint);
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return out;
}

std::string_view WithoutMark(std::string_view bytes, std::string_view mark) {
    if (bytes.starts_with(mark)) bytes.remove_prefix(mark.size());
    return bytes;
}

std::string Convert(const std::function<std::string(std::string_view)>& conversion,
                    std::string_view text) {
    return conversion ? conversion(text) : std::string(text);
}

}  // namespace

std::size_t DecodeUtf8Character(std::string_view text, std::uint32_t& codePoint) {
    const auto byte = [&text](std::size_t i) -> std::uint32_t {
        return static_cast<unsigned char>(text[i]);
    };
    const std::uint32_t lead = byte(0);
    std::size_t length = 0;
    std::uint32_t smallest = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < smallest || codePoint > 0x10FFFF || surrogate) return 0;
    return length;
}

void AppendUtf8(std::string& text, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool IsWellFormedUtf8(std::string_view text) {
    while (!text.empty()) {
        std::uint32_t codePoint = 0;
        const std::size_t length = DecodeUtf8Character(text, codePoint);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

TextFileEncoding DetectTextFileEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return TextFileEncoding::Utf8WithMark;
    if (bytes.starts_with(kUtf16Mark)) return TextFileEncoding::Utf16WithMark;
    bool beyondAscii = false;
    for (const char c : bytes) beyondAscii = beyondAscii || static_cast<unsigned char>(c) > 0x7F;
    return beyondAscii && IsWellFormedUtf8(bytes) ? TextFileEncoding::Utf8 : TextFileEncoding::Ansi;
}

std::string Utf16FromUtf8(std::string_view utf8) {
    std::string utf16;
    utf16.reserve(utf8.size() * 2);
    while (!utf8.empty()) {
        std::uint32_t codePoint = 0;
        const std::size_t length = DecodeUtf8Character(utf8, codePoint);
        if (length == 0) codePoint = kReplacement;
        if (codePoint > 0xFFFF) {
            const std::uint32_t offset = codePoint - 0x10000;
            AppendUtf16Unit(utf16, 0xD800 | (offset >> 10));
            AppendUtf16Unit(utf16, 0xDC00 | (offset & 0x3FF));
        } else {
            AppendUtf16Unit(utf16, codePoint);
        }
        utf8.remove_prefix(length == 0 ? 1 : length);
    }
    return utf16;
}

std::string Utf8FromUtf16(std::string_view utf16le) {
    const auto unitAt = [&utf16le](std::size_t i) -> std::uint32_t {
        return static_cast<unsigned char>(utf16le[i]) |
               (static_cast<std::uint32_t>(static_cast<unsigned char>(utf16le[i + 1])) << 8);
    };
    std::string utf8;
    std::size_t i = 0;
    while (i + 1 < utf16le.size()) {
        const std::uint32_t unit = unitAt(i);
        i += 2;
        if (IsHighSurrogate(unit) && i + 1 < utf16le.size() && IsLowSurrogate(unitAt(i))) {
            AppendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i) - 0xDC00));
            i += 2;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(utf8, kReplacement);
        } else {
            AppendUtf8(utf8, unit);
        }
    }
    return utf8;
}

std::string DecodeTextFile(std::string_view bytes, TextFileEncoding encoding,
                           const AnsiConversions& ansi) {
    switch (encoding) {
        case TextFileEncoding::Utf8:
            return RepairUtf8(bytes);
        case TextFileEncoding::Utf8WithMark:
            return RepairUtf8(WithoutMark(bytes, kUtf8Mark));
        case TextFileEncoding::Utf16WithMark:
            return Utf8FromUtf16(WithoutMark(bytes, kUtf16Mark));
        case TextFileEncoding::Ansi:
            break;
    }
    return Convert(ansi.toUtf8, bytes);
}

std::string EncodeTextFile(std::string_view utf8, TextFileEncoding encoding,
                           const AnsiConversions& ansi) {
    switch (encoding) {
        case TextFileEncoding::Utf8:
            return std::string(utf8);
        case TextFileEncoding::Utf8WithMark:
            return std::string(kUtf8Mark).append(utf8);
        case TextFileEncoding::Utf16WithMark:
            return std::string(kUtf16Mark).append(Utf16FromUtf8(utf8));
        case TextFileEncoding::Ansi:
            break;
    }
    return Convert(ansi.fromUtf8, utf8);
}

}  // namespace vx::platform
