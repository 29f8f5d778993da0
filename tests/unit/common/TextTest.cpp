#include <gtest/gtest.h>

#include "common/Text.h"

namespace vx {
namespace {

TEST(Text, StripRemovesEveryOccurrence) {
    EXPECT_EQ("software\\x", Strip("software\\wow6432node\\x", "wow6432node\\"));
    EXPECT_EQ("ab", Strip("xxaxxbxx", "xx"));
    EXPECT_EQ("abc", Strip("abc", ""));
}

TEST(Text, SplitKeepsEmptyPieces) {
    EXPECT_EQ((std::vector<std::string>{"", "rem ", "autobrand"}), Split("-rem -autobrand", "-"));
    EXPECT_EQ((std::vector<std::string>{""}), Split("", "-"));
}

TEST(Text, TrimTouchesOnlySpaces) {
    EXPECT_EQ("a b", Trim("  a b  "));
    EXPECT_EQ("\ta\t", Trim(" \ta\t "));
    EXPECT_EQ("", Trim("   "));
}

TEST(Text, CaseHelpers) {
    EXPECT_EQ("hklm", LCase("HkLm"));
    EXPECT_TRUE(EndsWithNoCase("C:\\Tools\\Setup.EXE", "exe"));
    EXPECT_FALSE(EndsWithNoCase("ex", "exe"));
    EXPECT_TRUE(ContainsNoCase("Software\\WOW6432Node\\X", "wow6432node"));
    EXPECT_EQ("C:\\", WithTrailingBackslash("C:"));
    EXPECT_EQ("C:\\", WithTrailingBackslash("C:\\"));
    EXPECT_EQ("True", ToText(true));
}

}  // namespace
}  // namespace vx
