#include "common/StringUtils.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TEST(SameTextAscii, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(SameTextAscii("C:\\Apps\\Edit.exe", "c:\\apps\\edit.exe"));
    EXPECT_FALSE(SameTextAscii("C:\\Apps\\Edit.exe", "c:\\apps\\edit.exe "));
    // Non-ASCII letters compare exactly: "Ä" is not "ä".
    EXPECT_FALSE(SameTextAscii("\xC3\x84", "\xC3\xA4"));
    EXPECT_TRUE(SameTextAscii("", ""));
}

TEST(CompareTextAscii, OrdersIgnoringCaseThenByLength) {
    EXPECT_LT(CompareTextAscii("apple", "Banana"), 0);
    EXPECT_GT(CompareTextAscii("b", "A"), 0);
    EXPECT_LT(CompareTextAscii("ab", "ABC"), 0);
    EXPECT_EQ(CompareTextAscii("MiXeD", "mixed"), 0);
}

TEST(Trim, RemovesBlanksAndControlCharacters) {
    EXPECT_EQ(Trim(" \t\r\nexample.com \x01"), "example.com");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("a b"), "a b");
    // UTF-8 continuation bytes are above 0x20 and stay.
    EXPECT_EQ(Trim(" \xC3\xA9 "), "\xC3\xA9");
}

TEST(QuotedSqlString, DoublesEmbeddedQuotes) {
    EXPECT_EQ(QuotedSqlString("O'Brien's"), "'O''Brien''s'");
    EXPECT_EQ(QuotedSqlString(""), "''");
}

}  // namespace
}  // namespace vh

namespace vh {
namespace {

TEST(StringUtils, WithWindowsLineBreaksLeavesCrLfAlone) {
    EXPECT_EQ(WithWindowsLineBreaks("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(WithWindowsLineBreaks("\n"), "\r\n");
    EXPECT_EQ(WithWindowsLineBreaks(""), "");
}

}  // namespace
}  // namespace vh
