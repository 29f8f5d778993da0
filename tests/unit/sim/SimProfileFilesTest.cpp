// The private-profile engine of the simulated Windows, pinned to what Wine 8 does. What the
// program's own reads and writes meet (case, blanks, quotes, the 254-character cut, leading
// digits) is pinned by tests/contract/IniContractTest.cpp.

#include <gtest/gtest.h>

#include <string>

#include "platform/IniDocument.h"
#include "platform/sim/SimWindows.h"

namespace vx::platform::sim {
namespace {

std::string Rewritten(const std::string& before, const char* section, const char* key,
                      const char* value) {
    IniDocument document = IniDocument::parse(before);
    EXPECT_TRUE(document.set(section, key, value));
    return document.serialise();
}

TEST(SimIniDocument, ASaveRewritesTheWholeFileInCanonicalForm) {
    const std::string file =
        "; head\r\ntop=1\r\n\r\n[One]\r\n  a  =  1  \r\nb=2\r\nnoeq\r\n; c1\r\n\r\n[Two]\nx=1";
    EXPECT_EQ("; head\r\ntop=1\r\n[One]\r\na=new a\r\nb=2\r\nnoeq\r\n; c1\r\n[Two]\r\nx=1\r\n",
              Rewritten(file, "one", "A", "new a"))
        << "replaced where it stood, blank lines dropped, spacing normalised";
    EXPECT_EQ("; head\r\ntop=1\r\n[One]\r\na=1\r\nb=2\r\nnoeq\r\n; c1\r\nc=3\r\n[Two]\r\nx=1\r\n",
              Rewritten(file, "One", "c", "3"))
        << "a new key goes after the last line of its section";
    EXPECT_EQ(
        "; head\r\ntop=1\r\n[One]\r\na=1\r\nb=2\r\nnoeq\r\n; c1\r\n[Two]\r\nx=1\r\n"
        "[Four]\r\nq=4\r\n",
        Rewritten(file, "Four", "q", "4"));
    EXPECT_EQ("; head\r\ntop=1\r\n[One]\r\na=1\r\nb=2\r\nnoeq=v\r\n; c1\r\n[Two]\r\nx=1\r\n",
              Rewritten(file, "One", "noeq", "v"));
}

TEST(SimIniDocument, NewNamesLoseLeadingBlanksOnlyAndValuesTheirLeadingBlanks) {
    EXPECT_EQ("[S]\r\nk=1\r\nsp =lead  \r\n",
              Rewritten("[S]\r\nk=1\r\n", "S", " sp ", " \tlead  "));
    EXPECT_EQ("[S]\r\nk=1\r\n[New ]\r\nk2 =v\r\n",
              Rewritten("[S]\r\nk=1\r\n", " New ", " k2 ", "v"));
    EXPECT_EQ("[S]\r\nk=v\r\n", Rewritten("", "S", "k", "v"));
}

TEST(SimIniDocument, OnlyTheFirstSectionOfANameCountsAndEqualValuesChangeNothing) {
    IniDocument document = IniDocument::parse("[S]\r\nk=1\r\n[s]\r\nk=2\r\nz=9\r\n");
    ASSERT_NE(nullptr, document.find("s", "K"));
    EXPECT_EQ("1", document.find("s", "K")->value);
    EXPECT_EQ(nullptr, document.find("S", "z"));
    EXPECT_FALSE(document.set(" S ", "K", "  1"));
    EXPECT_TRUE(document.set("S", "z", "new"));
    EXPECT_EQ("[S]\r\nk=1\r\nz=new\r\n[s]\r\nk=2\r\nz=9\r\n", document.serialise());
}

TEST(SimIniDocument, LinesSplitAtAnyLineEndAndOddLinesAreKeptAsEntries) {
    const IniDocument document = IniDocument::parse(
        "top=before\r[ Spaced ] "
        "junk\n;c=comment\r\n=first\r\n\r\n=second\r\nbare\r\n[Broken\n\x1a");
    EXPECT_EQ("before", document.find("", "top")->value);
    EXPECT_EQ("comment", document.find("Spaced", ";c")->value) << "';' is not special";
    EXPECT_EQ("first", document.find("spaced", "")->value);
    EXPECT_FALSE(document.find("Spaced", "bare")->value.has_value());
    EXPECT_NE(nullptr, document.find("Spaced", "[Broken")) << "a header needs its ']'";
    EXPECT_EQ("top=before\r\n[Spaced]\r\n;c=comment\r\n=first\r\nbare\r\n[Broken\r\n",
              document.serialise())
        << "a nameless line right after another is dropped, as is Ctrl-Z";
}

TEST(SimIniDocument, CopyingStripsQuotesWithWinesBufferQuirk) {
    EXPECT_EQ("\"mismatch'", CopyProfileEntry("\"mismatch'", 256, true));
    EXPECT_EQ("\"", CopyProfileEntry("\"", 256, true));
    EXPECT_EQ("", CopyProfileEntry("\"\"", 256, true));
    EXPECT_EQ("\"quoted\"", CopyProfileEntry("\"quoted\"", 256, false));
    EXPECT_EQ("quot", CopyProfileEntry("\"quoted\"", 5, true));
    EXPECT_EQ("quote", CopyProfileEntry("\"quoted\"", 7, true)) << "one short of the whole";
    EXPECT_EQ("quoted", CopyProfileEntry("\"quoted\"", 8, true));
    EXPECT_EQ("", CopyProfileEntry("value1", 1, true));
    EXPECT_EQ("", CopyProfileEntry("value1", 0, true));
}

TEST(SimIniDocument, DefaultsLoseTrailingSpacesAndIntegersParseLikeRtl) {
    EXPECT_EQ("def", TrimDefaultText("def  "));
    EXPECT_EQ("  def\t", TrimDefaultText("  def\t "));
    EXPECT_EQ(" ", TrimDefaultText("   "));
    EXPECT_EQ("", TrimDefaultText(""));

    EXPECT_EQ(static_cast<std::uint32_t>(-7), ParseProfileInteger("-7"));
    EXPECT_EQ(5u, ParseProfileInteger("+5"));
    EXPECT_EQ(12u, ParseProfileInteger("  12abc"));
    EXPECT_EQ(3u, ParseProfileInteger("3.9"));
    EXPECT_EQ(0u, ParseProfileInteger("abc"));
    EXPECT_EQ(0u, ParseProfileInteger("- 4"));
    EXPECT_EQ(31u, ParseProfileInteger("0x1F"));
    EXPECT_EQ(0u, ParseProfileInteger("0X1F"));
    EXPECT_EQ(15u, ParseProfileInteger("0o17"));
    EXPECT_EQ(5u, ParseProfileInteger("0b101"));
    EXPECT_EQ(static_cast<std::uint32_t>(-16), ParseProfileInteger("-0x10"));
    EXPECT_EQ(1215752191u, ParseProfileInteger("99999999999")) << "wraps modulo 2^32";
}

class SimProfileFilesTest : public testing::Test {
protected:
    SimWindows windows_{Bitness::Windows64};
    ProfileFiles& profiles() { return windows_.profiles(); }
    std::string Read(const std::string& file, const std::string& key, const std::string& def,
                     std::size_t chars = 256) {
        return profiles().readString(file, "S", key, def, chars);
    }
};

TEST_F(SimProfileFilesTest, AMissingFileReadsEmptyButAnUnopenableOneGivesTheRawDefault) {
    windows_.addDirectory("C:\\kit");
    EXPECT_EQ("qd", Read("C:\\kit\\none.ini", "k", "\"qd\"  "));
    EXPECT_EQ("\"qd\"", Read("C:\\nodir\\none.ini", "k", "\"qd\"  "));
    EXPECT_EQ("\"qd\"", Read("C:\\kit", "k", "\"qd\""));
    windows_.addFile("C:\\kit\\locked.ini", "[S]\r\nk=v\r\n");
    windows_.makeUnreachable("C:\\kit\\locked.ini");
    EXPECT_EQ("d", Read("C:\\kit\\locked.ini", "k", "d"));
    EXPECT_FALSE(profiles().writeString("C:\\kit\\locked.ini", "S", "k", "w"));
    EXPECT_FALSE(profiles().writeString("C:\\nodir\\x.ini", "S", "k", "w"));
    EXPECT_FALSE(windows_.directoryExists("C:\\nodir"));
}

TEST_F(SimProfileFilesTest, ReadsTrimQuoteAndFallBackToTheDefault) {
    windows_.addFile("C:\\kit\\a.ini", "[Sec]\nKey2  =   spaced value\t  \nk7=\nk8\nk9=a=b\n");
    EXPECT_EQ("spaced value", profiles().readString("C:\\kit\\a.ini", " sec ", " KEY2 ", "d", 256));
    EXPECT_EQ("", profiles().readString("C:\\kit\\a.ini", "Sec", "k7", "d", 256));
    EXPECT_EQ("d", profiles().readString("C:\\kit\\a.ini", "Sec", "k8", "d", 256))
        << "a line without '=' has no value";
    EXPECT_EQ("a=b", profiles().readString("C:\\kit\\a.ini", "Sec", "k9", "d", 256));
    EXPECT_EQ("qdef", profiles().readString("C:\\kit\\a.ini", "Sec", "none", "\"qdef\"", 256));
    EXPECT_EQ(9u, profiles().readInt("C:\\kit\\a.ini", "Sec", "k7", 9));
    EXPECT_EQ(static_cast<unsigned>(-3), profiles().readInt("C:\\kit\\a.ini", "Sec", "none", -3));
}

TEST_F(SimProfileFilesTest, IntegersAreReadThroughAThirtyCharacterBuffer) {
    windows_.addFile("C:\\kit\\i.ini", "[S]\r\nk=01234567890123456789012345678999\r\n");
    EXPECT_EQ(3191403342u, profiles().readInt("C:\\kit\\i.ini", "S", "k", 5))
        << "29 digits, wrapped modulo 2^32";
}

TEST_F(SimProfileFilesTest, WritesKeepTheFileWhenNothingChangesAndNameOnlyFilesLiveInWindows) {
    const std::string odd = "[S]\nk = v1 ; c\n";
    windows_.addFile("C:\\kit\\w.ini", odd);
    EXPECT_TRUE(profiles().writeString("C:\\kit\\w.ini", "S", "k", "v1 ; c"));
    EXPECT_EQ(odd, windows_.fileBytes("C:\\kit\\w.ini"));
    EXPECT_TRUE(profiles().writeString("C:\\kit\\w.ini", "S", "k", "v2"));
    EXPECT_EQ("[S]\r\nk=v2\r\n", windows_.fileBytes("C:\\kit\\w.ini"));

    EXPECT_TRUE(profiles().writeString("vexilla-test.ini", "S", "k", "w"));
    EXPECT_EQ("[S]\r\nk=w\r\n", windows_.fileBytes("C:\\Windows\\vexilla-test.ini"));
    EXPECT_EQ("w", Read("vexilla-test.ini", "k", "d"));
}

TEST_F(SimProfileFilesTest, ProfileFilesFollowTheRedirectionView) {
    EXPECT_TRUE(profiles().writeString("C:\\Windows\\System32\\oeminfo.ini", "General",
                                       "Manufacturer", "Contoso"));
    EXPECT_TRUE(windows_.fileBytes("C:\\Windows\\SysWOW64\\oeminfo.ini").has_value());
    EXPECT_FALSE(windows_.fileBytes("C:\\Windows\\System32\\oeminfo.ini").has_value());
}

}  // namespace
}  // namespace vx::platform::sim
