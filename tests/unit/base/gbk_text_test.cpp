#include "base/gbk_text.h"

#include <gtest/gtest.h>

namespace quorlet {
namespace {

// Every literal of the program must reach it as GBK bytes, whatever the source encoding.
TEST(GbkText, ChineseLiteralsAreGbkBytes) {
    const std::string name = "鸥信通";
    ASSERT_EQ(name.size(), 6u);
    EXPECT_EQ(name, "\xC5\xB8\xD0\xC5\xCD\xA8");
    EXPECT_EQ(std::string("月"), "\xD4\xC2");
    EXPECT_EQ(std::string("日"), "\xC8\xD5");
}

TEST(GbkText, UpperCasesOnlyAsciiLetters) {
    EXPECT_EQ(gbk::ToUpperAscii("Hello, world 123"), "HELLO, WORLD 123");
    // EB 61 is one GBK character whose trail byte happens to be the letter 'a'.
    const std::string trailIsLetter =
        "\xEB\x61"
        "a";
    EXPECT_EQ(gbk::ToUpperAscii(trailIsLetter),
              "\xEB\x61"
              "A");
    EXPECT_EQ(gbk::ToUpperAscii("主题abc"), "主题ABC");
}

TEST(GbkText, CaseInsensitiveEqualityKeepsDoubleByteCharacters) {
    EXPECT_TRUE(gbk::EqualsIgnoreAsciiCase("Main", "MAIN"));
    EXPECT_TRUE(gbk::EqualsIgnoreAsciiCase("主题", "主题"));
    EXPECT_FALSE(gbk::EqualsIgnoreAsciiCase("\xEB\x61", "\xEB\x41"));
    EXPECT_FALSE(gbk::EqualsIgnoreAsciiCase("Main", "Mai"));
}

TEST(GbkText, TruncationNeverSplitsACharacter) {
    EXPECT_EQ(gbk::TruncateChars("ab主题", 3), "ab");
    EXPECT_EQ(gbk::TruncateChars("ab主题", 4), "ab主");
    EXPECT_EQ(gbk::TruncateChars("ab主题", 100), "ab主题");
    EXPECT_EQ(gbk::TruncateChars("abc", 0), "");
    // A lone lead byte at the end counts as one character.
    EXPECT_EQ(gbk::TruncateChars("ab\xD6", 3), "ab\xD6");
}

}  // namespace
}  // namespace quorlet
