#include "platform/win32/Utf16.h"

#include <gtest/gtest.h>

namespace vh::win32 {
namespace {

TEST(Utf16, AccentedTextRoundTrips) {
    const std::string utf8 = "C:\\Spiele\\M\xC3\xBChle\\\xC3\xA9t\xC3\xA9.exe";  // Mühle\été
    const std::wstring wide = Utf8ToWide(utf8);
    EXPECT_EQ(wide, L"C:\\Spiele\\M\u00FChle\\\u00E9t\u00E9.exe");
    EXPECT_EQ(WideToUtf8(wide), utf8);
}

TEST(Utf16, SurrogatePairBecomesOneFourByteSequence) {
    const std::wstring wide = L"a\U0001F600b";
    ASSERT_EQ(wide.size(), 4u);
    EXPECT_EQ(WideToUtf8(wide),
              "a\xF0\x9F\x98\x80"
              "b");
    EXPECT_EQ(Utf8ToWide("a\xF0\x9F\x98\x80"
                         "b"),
              wide);
}

TEST(Utf16, InvalidBytesBecomeReplacementCharacters) {
    const std::wstring wide = Utf8ToWide(
        "a\xFF"
        "b");
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0], L'a');
    EXPECT_EQ(wide[1], 0xFFFD);
    EXPECT_EQ(wide[2], L'b');
}

TEST(Utf16, ConvertsByLengthKeepingEmbeddedZeros) {
    const std::string withZero("a\0b", 3);
    EXPECT_EQ(Utf8ToWide(withZero).size(), 3u);
    EXPECT_EQ(WideToUtf8(std::wstring_view(L"x\0y", 3)), withZero.substr(0, 0) + "x" + std::string(1, '\0') + "y");
    EXPECT_TRUE(Utf8ToWide("").empty());
}

}  // namespace
}  // namespace vh::win32
