// Text files between their bytes and UTF-8: which encoding a file is read in, and that every
// encoding gives back the bytes it was read from.

#include <gtest/gtest.h>

#include <string>

#include "platform/CodePage1252.h"
#include "platform/TextFile.h"

namespace vx::platform {
namespace {

using namespace std::string_literals;

const AnsiConversions kWestern{Utf8FromAnsi, AnsiFromUtf8};

// U+1D11E MUSICAL SYMBOL G CLEF, the one character here beyond the 16-bit plane.
constexpr const char* kClef = "\xF0\x9D\x84\x9E";

TEST(TextFileEncodingDetection, MarksFirstThenWellFormedUtf8BeyondAsciiElseAnsi) {
    struct Case {
        std::string bytes;
        TextFileEncoding expected;
        const char* why;
    };
    const Case cases[] = {
        {"", TextFileEncoding::Ansi, "an empty file"},
        {"[Firma]\r\nName=Mueller\r\n", TextFileEncoding::Ansi, "pure ASCII"},
        {"Name=M\xFCller", TextFileEncoding::Ansi, "cp1252 u-umlaut"},
        {"Name=M\xC3\xBCller", TextFileEncoding::Utf8, "UTF-8 u-umlaut"},
        {"Name="s + kClef, TextFileEncoding::Utf8, "a four-byte character"},
        {"Name=\xE6\xA0\xAA\xE5\xBC", TextFileEncoding::Ansi, "a sequence cut short at the end"},
        {"Name=\xC0\xAF", TextFileEncoding::Ansi, "an overlong slash"},
        {"Name=\xED\xA0\x80", TextFileEncoding::Ansi, "an encoded surrogate"},
        {"Name=\xF4\x90\x80\x80", TextFileEncoding::Ansi, "above U+10FFFF"},
        {"\xEF\xBB\xBF", TextFileEncoding::Utf8WithMark, "a mark alone"},
        {"\xEF\xBB\xBF[a]\r\nb=M\xFC", TextFileEncoding::Utf8WithMark, "the mark decides"},
        {"\xFF\xFE[\0a\0]\0"s, TextFileEncoding::Utf16WithMark, "UTF-16LE"},
        {"\xFE\xFF\0[\0a\0]"s, TextFileEncoding::Ansi, "UTF-16BE is not recognised"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, DetectTextFileEncoding(c.bytes)) << c.why;
    }
    EXPECT_FALSE(IsWellFormedUtf8("\x80")) << "a lone continuation byte";
}

TEST(Utf16Conversion, RoundTripsEveryPlaneAsUtf16LittleEndian) {
    const std::string texts[] = {"M\xC3\xBCller Systemtechnik", "\xC3\x85ngstr\xC3\xB6m Data",
                                 "\xE6\xA0\xAA\xE5\xBC\x8F\xE4\xBC\x9A\xE7\xA4\xBE\xE3\x83\x86"
                                 "\xE3\x82\xB9\xE3\x83\x88",
                                 "G clef "s + kClef + " end"};
    for (const std::string& text : texts) {
        EXPECT_EQ(text, Utf8FromUtf16(Utf16FromUtf8(text))) << text;
    }
    EXPECT_EQ("M\0\xFC\0"s, Utf16FromUtf8("M\xC3\xBC"));
    EXPECT_EQ("\x2A\x68"s, Utf16FromUtf8("\xE6\xA0\xAA")) << "U+682A";
    EXPECT_EQ("\x34\xD8\x1E\xDD"s, Utf16FromUtf8(kClef)) << "a surrogate pair, high first";
    EXPECT_EQ(2u * 13, Utf16FromUtf8(texts[3]).size()) << "the clef takes two of 13 units";
}

TEST(Utf16Conversion, IllFormedInputBecomesReplacementCharacters) {
    EXPECT_EQ(
        "a\0\xFD\xFF\xFD\xFF"
        "b\0"s,
        Utf16FromUtf8("a\xE6\xA0"
                      "b"))
        << "each byte of a cut sequence";
    EXPECT_EQ("\xFD\xFF\xFD\xFF"s, Utf16FromUtf8("\xC0\xAF")) << "an overlong form";
    EXPECT_EQ(
        "\xEF\xBF\xBD"
        "a",
        Utf8FromUtf16("\x34\xD8"
                      "a\0"s))
        << "a high surrogate alone";
    EXPECT_EQ("a\xEF\xBF\xBD", Utf8FromUtf16("a\0\x1E\xDD"s)) << "a low surrogate alone";
    EXPECT_EQ("\xEF\xBF\xBD", Utf8FromUtf16("\x34\xD8"s)) << "a high surrogate at the end";
    EXPECT_EQ("ab", Utf8FromUtf16("a\0b\0c"s)) << "an odd last byte";
}

TEST(TextFileCoding, EachEncodingDecodesWithoutItsMarkAndEncodesBackToTheSameBytes) {
    const std::string text = "[Firma]\r\nName=M\xC3\xBCller \xE2\x82\xAC\r\n";  // "Müller €"
    struct Case {
        TextFileEncoding encoding;
        std::string bytes;
    };
    const Case cases[] = {
        {TextFileEncoding::Ansi, "[Firma]\r\nName=M\xFCller \x80\r\n"},
        {TextFileEncoding::Utf8, text},
        {TextFileEncoding::Utf8WithMark, "\xEF\xBB\xBF" + text},
        {TextFileEncoding::Utf16WithMark,
         "\xFF\xFE[\0F\0i\0r\0m\0a\0]\0\r\0\n\0"
         "N\0a\0m\0e\0=\0M\0\xFC\0l\0l\0e\0r\0 \0\xAC\x20\r\0\n\0"s},
    };
    for (const Case& c : cases) {
        const int encoding = static_cast<int>(c.encoding);
        EXPECT_EQ(c.encoding, DetectTextFileEncoding(c.bytes)) << encoding;
        EXPECT_EQ(text, DecodeTextFile(c.bytes, c.encoding, kWestern)) << encoding;
        EXPECT_EQ(c.bytes, EncodeTextFile(text, c.encoding, kWestern)) << encoding;
    }
    EXPECT_EQ("", DecodeTextFile("\xEF\xBB\xBF", TextFileEncoding::Utf8WithMark, kWestern));
    EXPECT_EQ("a\xEF\xBF\xBD", DecodeTextFile("a\xFC", TextFileEncoding::Utf8, kWestern))
        << "a file called UTF-8 that is not still decodes to well-formed text";
}

}  // namespace
}  // namespace vx::platform
