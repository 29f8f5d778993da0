// How the simulated Windows reads path names.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/PathName.h"

namespace vx::platform::sim {
namespace {

const PathName kCurrent("C:", {"Tools", "Vexilla"});

std::string Normal(const std::string& text, Wildcards wildcards = Wildcards::Refuse) {
    const std::optional<PathName> path = NormalisePath(text, kCurrent, wildcards);
    return path ? path->text() : "<invalid>";
}

TEST(SimPaths, SeparatorsDotsAndBlanksAreResolvedAsGetFullPathNameDoes) {
    EXPECT_EQ("C:\\x\\y", Normal("c:/x/y"));
    EXPECT_EQ("C:\\a\\b", Normal("C:\\a\\\\b"));
    EXPECT_EQ("C:\\a\\c", Normal("C:\\a\\.\\b\\..\\c"));
    EXPECT_EQ("C:\\x", Normal("C:\\..\\..\\x"));
    EXPECT_EQ("C:\\a\\b", Normal("C:\\a\\b. . "));
    EXPECT_EQ("C:\\a\\b", Normal("C:\\a.\\b"));
    EXPECT_EQ("C:\\a.\\b", Normal("C:\\a..\\b")) << "an inner name loses one period only";
    EXPECT_EQ("C:\\a \\b", Normal("C:\\a \\b")) << "an inner name keeps its blanks";
    EXPECT_EQ("C:\\", Normal("C:\\"));
    EXPECT_EQ("C:\\", Normal("C:\\Windows\\.."));
}

TEST(SimPaths, ATrailingSeparatorIsRememberedButNotPartOfTheName) {
    const auto folder = NormalisePath("C:\\Windows\\", kCurrent);
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ("C:\\Windows", folder->text());
    EXPECT_TRUE(folder->trailingSeparator());
    EXPECT_FALSE(NormalisePath("C:\\Windows", kCurrent)->trailingSeparator());
    EXPECT_TRUE(NormalisePath("C:\\a\\...", kCurrent)->trailingSeparator());
    EXPECT_FALSE(NormalisePath("C:\\", kCurrent)->trailingSeparator());
}

TEST(SimPaths, RelativeFormsStartFromTheCurrentDirectory) {
    EXPECT_EQ("C:\\Tools\\Vexilla\\oem.ini", Normal("oem.ini"));
    EXPECT_EQ("C:\\Tools\\Vexilla\\oem.ini", Normal("C:oem.ini"));
    EXPECT_EQ("D:\\oem.ini", Normal("D:oem.ini")) << "another drive starts at its root";
    EXPECT_EQ("C:\\oem.ini", Normal("\\oem.ini"));
    EXPECT_EQ("C:\\Tools\\Vexilla", Normal("C:"));
    EXPECT_EQ("C:\\Tools\\x", Normal("..\\x"));
}

TEST(SimPaths, SharesAndPrefixedPathsKeepTheirRoot) {
    EXPECT_EQ("\\\\srv\\share\\a", Normal("\\\\srv\\share\\..\\..\\a"));
    EXPECT_EQ("\\\\srv\\share", Normal("//srv/share/"));
    EXPECT_EQ("C:\\x", Normal("\\\\?\\C:\\x"));
    EXPECT_EQ("\\\\srv\\share\\x", Normal("\\\\?\\UNC\\srv\\share\\x"));
    EXPECT_EQ("<invalid>", Normal("\\\\srv"));
    EXPECT_EQ("<invalid>", Normal("\\\\.\\PhysicalDrive0"));
}

TEST(SimPaths, NamesWindowsRefusesMakeNoPath) {
    EXPECT_EQ("<invalid>", Normal(""));
    EXPECT_EQ("<invalid>", Normal("C:\\a<b"));
    EXPECT_EQ("<invalid>", Normal("C:\\a|b"));
    EXPECT_EQ("<invalid>", Normal("C:\\a\\b:c"));
    EXPECT_EQ("<invalid>", Normal("C:\\a\tb"));
    EXPECT_EQ("<invalid>", Normal("C:\\*.txt"));
    EXPECT_EQ("C:\\*.txt", Normal("C:\\*.txt", Wildcards::AllowInLeaf));
    EXPECT_EQ("<invalid>", Normal("C:\\*\\x.txt", Wildcards::AllowInLeaf));
    EXPECT_EQ("C:\\" + std::string(256, 'a'), Normal("C:\\" + std::string(256, 'a')));
    EXPECT_EQ("<invalid>", Normal("C:\\" + std::string(257, 'a'))) << "longer than MAX_PATH";
}

TEST(SimPaths, KeysIgnoreCaseAndAncestryComparesNames) {
    const PathName upper = *NormalisePath("C:\\WINDOWS\\system32", kCurrent);
    const PathName lower = *NormalisePath("c:\\windows\\System32\\Drivers", kCurrent);
    EXPECT_EQ(upper.key(), NormalisePath("c:/Windows/SYSTEM32", kCurrent)->key());
    EXPECT_EQ("C:\\WINDOWS\\system32", upper.text()) << "the text keeps the caller's case";
    EXPECT_TRUE(lower.isWithin(upper));
    EXPECT_TRUE(upper.isWithin(upper));
    EXPECT_FALSE(upper.isWithin(lower));
    EXPECT_FALSE(NormalisePath("C:\\Windows\\System32x", kCurrent)->isWithin(upper));
    EXPECT_EQ(std::vector<std::string>{"Drivers"}, lower.namesBelow(upper));
    EXPECT_EQ("C:\\", PathName("C:", {}).parent().text());
    EXPECT_EQ("\\\\srv\\share", NormalisePath("\\\\srv\\share\\a", kCurrent)->parent().text());
}

TEST(SimPaths, WildcardsMatchLikeFindFirstFile) {
    EXPECT_TRUE(MatchesWildcard("*.txt", "Beta.TXT"));
    EXPECT_TRUE(MatchesWildcard("?eta.txt", "beta.txt"));
    EXPECT_TRUE(MatchesWildcard("a*.t*", "alpha.TXT"));
    EXPECT_TRUE(MatchesWildcard("*a*", "Beta.txt"));
    EXPECT_FALSE(MatchesWildcard("*.txt", "notes.text"));
    EXPECT_FALSE(MatchesWildcard("?", "ab"));
    EXPECT_TRUE(MatchesWildcard("*.*", "Zed")) << "a name without an extension matches .*";
    EXPECT_TRUE(MatchesWildcard("Z*.*", "Zed"));
    EXPECT_FALSE(MatchesWildcard("A*.*", "Zed"));
    EXPECT_TRUE(HasWildcards("a?"));
    EXPECT_FALSE(HasWildcards("plain.txt"));
}

}  // namespace
}  // namespace vx::platform::sim
