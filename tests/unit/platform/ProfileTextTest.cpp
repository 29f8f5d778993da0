// The profile functions over decoded UTF-8 text: the lookup rules of the profile files,
// lengths in UTF-16 units, and an edit that leaves every other line of a technician's file as
// it was.

#include <gtest/gtest.h>

#include <string>

#include "platform/CodePage1252.h"
#include "platform/IniDocument.h"
#include "platform/ProfileText.h"
#include "platform/TextFile.h"

namespace vx::platform {
namespace {

using namespace std::string_literals;

const AnsiConversions kWestern{Utf8FromAnsi, AnsiFromUtf8};

constexpr const char* kKabushiki = "\xE6\xA0\xAA\xE5\xBC\x8F";  // two characters, one unit each
constexpr const char* kClef = "\xF0\x9D\x84\x9E";               // one character, two units

TEST(ProfileTextRead, FindsEntriesInFilesThatStartWithAMarkInEitherEncoding) {
    const std::string text =
        "[Firma]\r\n  name  =   \"M\xC3\xBCller Systemtechnik\"  \r\nOrt='K\xC3\xB6ln\r\n"
        "leer=\r\nohne Gleich\r\n\r\n[firma]\r\nZweite=ja\r\n";
    const std::string files[] = {EncodeTextFile(text, TextFileEncoding::Utf8WithMark, kWestern),
                                 EncodeTextFile(text, TextFileEncoding::Utf16WithMark, kWestern)};
    for (const std::string& bytes : files) {
        const std::string decoded = DecodeTextFile(bytes, DetectTextFileEncoding(bytes), kWestern);
        EXPECT_EQ("M\xC3\xBCller Systemtechnik",
                  ReadProfileString(decoded, " FIRMA ", "Name", "-", 100))
            << "the first section is found behind the mark; quotes and blanks go";
        EXPECT_EQ("'K\xC3\xB6ln", ReadProfileString(decoded, "Firma", "ort", "-", 100))
            << "an unmatched quote stays";
        EXPECT_EQ("", ReadProfileString(decoded, "Firma", "leer", "-", 100));
        EXPECT_EQ("x", ReadProfileString(decoded, "Firma", "ohne Gleich", "x  ", 100))
            << "a line without '=' has no value: the default, trailing spaces cut";
        EXPECT_EQ("x \t", ReadProfileString(decoded, "Firma", "Zweite", "x \t  ", 100))
            << "a later section of the same name is not searched; TABs stay in the default";
        EXPECT_EQ("-", ReadProfileString(decoded, "Fehlt", "Name", "-", 100));
    }
}

TEST(ProfileTextRead, TheBufferCountsUtf16UnitsAndNeverSplitsACharacter) {
    const std::string text = "[S]\r\nkanji="s + kKabushiki + "\r\nclef=a" + kClef +
                             "b\r\nquoted=\"" + kKabushiki + "\"\r\n";
    struct Case {
        const char* key;
        std::size_t bufferChars;
        std::string expected;
    };
    const Case cases[] = {
        {"kanji", 0, ""},
        {"kanji", 1, ""},
        {"kanji", 2, "\xE6\xA0\xAA"},
        {"kanji", 3, kKabushiki},  // six bytes, but two units
        {"clef", 2, "a"},
        {"clef", 3, "a"},  // the pair would need units 2 and 3 of 2
        {"clef", 4, "a"s + kClef},
        {"clef", 5, "a"s + kClef + "b"},
        {"quoted", 2, "\xE6\xA0\xAA"},
        {"quoted", 3, "\xE6\xA0\xAA"},  // one short of the closing quote: the last character goes
        {"quoted", 4, kKabushiki},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, ReadProfileString(text, "S", c.key, "", c.bufferChars))
            << c.key << " in " << c.bufferChars;
    }
    EXPECT_EQ("", ReadProfileString("", "S", "k", kClef, 2)) << "the default is cut the same way";
}

TEST(ProfileTextRead, AsciiValuesAreCutAsTheAnsiFunctionsCutThem) {
    const std::string values[] = {"plain", "\"quoted\"", "'q'", "\"", "\"\"", "\"open", "x\""};
    for (const std::string& value : values) {
        const std::string text = "[S]\r\nk=" + value + "\r\n";
        for (std::size_t buffer = 0; buffer <= value.size() + 2; ++buffer) {
            EXPECT_EQ(CopyProfileEntry(value, buffer, true),
                      ReadProfileString(text, "S", "k", "", buffer))
                << value << " in " << buffer;
        }
    }
}

TEST(ProfileTextRead, IntegersFollowGetPrivateProfileInt) {
    const std::string text = "[N]\r\nhex= 0x1F\r\nword=12abc\r\nempty=\r\nq=\"7\"\r\n";
    EXPECT_EQ(31u, ReadProfileInt(text, "n", "HEX", 5));
    EXPECT_EQ(12u, ReadProfileInt(text, "N", "word", 5));
    EXPECT_EQ(7u, ReadProfileInt(text, "N", "q", 5));
    EXPECT_EQ(5u, ReadProfileInt(text, "N", "empty", 5));
    EXPECT_EQ(0xFFFFFFFFu, ReadProfileInt(text, "N", "missing", -1));
}

TEST(ProfileTextWrite, EditsOneLineAndKeepsEveryOtherByte) {
    const std::string file =
        "; Kit settings, edited by hand\r\n\r\n[Firma]\r\n  Name  =  Alt  \r\n"
        "; keep me\r\n\tOrt = K\xC3\xB6ln\r\n\r\n[Other]\r\nx = 1\r\n[firma]\r\nName=2\r\n";
    EXPECT_EQ(
        "; Kit settings, edited by hand\r\n\r\n[Firma]\r\nName=M\xC3\xBCller  \r\n"
        "; keep me\r\n\tOrt = K\xC3\xB6ln\r\n\r\n[Other]\r\nx = 1\r\n[firma]\r\nName=2\r\n",
        WriteProfileString(file, " firma ", "NAME ", " \tM\xC3\xBCller  "))
        << "in place, spelled as the file spells it, only in the first section of the name";
    EXPECT_EQ(
        "; Kit settings, edited by hand\r\n\r\n[Firma]\r\n  Name  =  Alt  \r\n"
        "; keep me\r\n\tOrt = K\xC3\xB6ln\r\nPlz=50667\r\n\r\n[Other]\r\nx = 1\r\n"
        "[firma]\r\nName=2\r\n",
        WriteProfileString(file, "FIRMA", " Plz", "50667"))
        << "after the section's last entry, before its blank line";
    EXPECT_EQ(file + "[Neu ]\r\nk=v\r\n", WriteProfileString(file, " Neu ", "k", "v"));
    EXPECT_EQ(file, WriteProfileString(file, "Firma", "name", "Alt"))
        << "the same value again leaves even the spacing alone";
    EXPECT_EQ("[S]\r\nk=v\r\n", WriteProfileString("", "S", "k", "v"));
}

TEST(ProfileTextWrite, NewLinesEndAsTheFileEndsItsFirstLine) {
    const std::string lf = "[a]\nx=1\n\n[b]\ny=2";
    EXPECT_EQ("[a]\nx=1\nz=3\n\n[b]\ny=2", WriteProfileString(lf, "a", "z", "3"));
    EXPECT_EQ("[a]\nx=1\n\n[b]\ny=2\nq=4\n", WriteProfileString(lf, "b", "q", "4"))
        << "an unended last line gets its line end first";
    EXPECT_EQ("[a]\nx=1\n\n[b]\ny=2\n[c]\nk=v\n", WriteProfileString(lf, "c", "k", "v"));
    EXPECT_EQ("[a]\nx=9\n\n[b]\ny=2", WriteProfileString(lf, "A", "X", "9"));
    EXPECT_EQ("[a]\r\nk=v\r\n", WriteProfileString("[a]", "a", "k", "v"));
    EXPECT_EQ("top=1\r\n[b]\r\nk=2\r\n", WriteProfileString("[b]\r\nk=2\r\n", "", "top", "1"))
        << "the lines before the first header are the nameless section";
}

TEST(ProfileTextWrite, AnEditedUtf16FileStaysUtf16AndReadsBack) {
    const std::string before = EncodeTextFile("; Hinweis\r\n[Firma]\r\nName=Alt\r\n",
                                              TextFileEncoding::Utf16WithMark, kWestern);
    const TextFileEncoding encoding = DetectTextFileEncoding(before);
    const std::string edited = WriteProfileString(DecodeTextFile(before, encoding, kWestern),
                                                  "Firma", "Name", "\xC3\x85ngstr\xC3\xB6m Data");
    const std::string after = EncodeTextFile(edited, encoding, kWestern);
    ASSERT_EQ(TextFileEncoding::Utf16WithMark, DetectTextFileEncoding(after));
    EXPECT_EQ(
        "\xC3\x85ngstr\xC3\xB6m Data",
        ReadProfileString(DecodeTextFile(after, encoding, kWestern), "Firma", "Name", "", 256));
    EXPECT_EQ(before.substr(0, 2 + 2 * 11), after.substr(0, 2 + 2 * 11)) << "the comment line";
}

}  // namespace
}  // namespace vx::platform
