#include "platform/Utf8Profiles.h"

#include "platform/ProfileText.h"

namespace vx::platform {
namespace {

std::string TextOf(const std::optional<std::string>& file, const AnsiConversions& ansi) {
    if (!file) return std::string();
    return DecodeTextFile(*file, DetectTextFileEncoding(*file), ansi);
}

// An ANSI file (or a new one) stays in the code page while its text comes back from it
// unchanged; text the code page cannot hold turns it to UTF-16.
TextFileEncoding EncodingToWrite(TextFileEncoding read, std::string_view text,
                                 const AnsiConversions& ansi) {
    if (read != TextFileEncoding::Ansi) return read;
    const std::string ansiBytes = EncodeTextFile(text, TextFileEncoding::Ansi, ansi);
    return DecodeTextFile(ansiBytes, TextFileEncoding::Ansi, ansi) == text
               ? TextFileEncoding::Ansi
               : TextFileEncoding::Utf16WithMark;
}

}  // namespace

std::string ReadUtf8ProfileString(const std::optional<std::string>& file, std::string_view section,
                                  std::string_view key, std::string_view defaultText,
                                  std::size_t bufferChars, const AnsiConversions& ansi) {
    return ReadProfileString(TextOf(file, ansi), section, key, defaultText, bufferChars);
}

unsigned ReadUtf8ProfileInt(const std::optional<std::string>& file, std::string_view section,
                            std::string_view key, int defaultValue, const AnsiConversions& ansi) {
    return ReadProfileInt(TextOf(file, ansi), section, key, defaultValue);
}

std::optional<std::string> WriteUtf8ProfileString(const std::optional<std::string>& file,
                                                  std::string_view section, std::string_view key,
                                                  std::string_view value,
                                                  const AnsiConversions& ansi) {
    const std::string text = TextOf(file, ansi);
    const std::string edited = WriteProfileString(text, section, key, value);
    if (file && edited == text) return std::nullopt;
    const TextFileEncoding read = file ? DetectTextFileEncoding(*file) : TextFileEncoding::Ansi;
    return EncodeTextFile(edited, EncodingToWrite(read, edited, ansi), ansi);
}

}  // namespace vx::platform
