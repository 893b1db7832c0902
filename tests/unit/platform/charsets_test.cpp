#include "platform/charsets.h"

#include <gtest/gtest.h>

namespace quorlet {
namespace {

// Runs natively (iconv) and under Wine (the Windows code pages): both must agree.
TEST(Charsets, ConvertCommonMailCharsetsToGbk) {
    const Charsets& charsets = SystemCharsets();
    EXPECT_EQ(charsets.ToGbk("utf-8", "\xE9\xB8\xA5\xE4\xBF\xA1\xE9\x80\x9A"), "鸥信通");
    EXPECT_EQ(charsets.ToGbk("UTF-8", "plain ascii"), "plain ascii");
    EXPECT_EQ(charsets.ToGbk("big5", "\xA4\xA4\xA4\xE5"), "中文");      // 中文 in Big5
    EXPECT_EQ(charsets.ToGbk("iso-8859-1", "caf\xE9"), "caf\xA8\xA6");  // é is in GBK
    EXPECT_EQ(charsets.ToGbk("iso-8859-1",
                             "Stra\xDF"
                             "e"),
              "Stra?e");                                                              // ß is not
    EXPECT_EQ(charsets.ToGbk("koi8-r", "\xF0\xD2\xC9"), "\xA7\xB1\xA7\xE2\xA7\xDA");  // При
}

TEST(Charsets, GbFamilyKeepsItsBytes) {
    const Charsets& charsets = SystemCharsets();
    // 0x81 0x40 is a GBK character outside GB2312: kept, although labelled gb2312.
    EXPECT_EQ(charsets.ToGbk("gb2312", "\x81\x40\xD6\xD0"), "\x81\x40\xD6\xD0");
    EXPECT_EQ(charsets.ToGbk("\"GBK\"", "\xD6\xD0"), "\xD6\xD0");
    EXPECT_EQ(charsets.ToGbk("GB18030", "\xD6\xD0"), "\xD6\xD0");
}

TEST(Charsets, UnknownCharsetLeavesBytesAndMalformedInputBecomesQuestionMarks) {
    const Charsets& charsets = SystemCharsets();
    EXPECT_EQ(charsets.ToGbk("x-unknown-charset", "\xFF\xFEraw"), "\xFF\xFEraw");
    const std::string broken = charsets.ToGbk("utf-8",
                                              "a\xFF"
                                              "b");
    EXPECT_EQ(broken.front(), 'a');
    EXPECT_EQ(broken.back(), 'b');
    EXPECT_NE(broken.find('?'), std::string::npos);
}

TEST(Charsets, FromGbkForOutput) {
    const Charsets& charsets = SystemCharsets();
    EXPECT_EQ(charsets.FromGbk("utf-8", "鸥信通"), "\xE9\xB8\xA5\xE4\xBF\xA1\xE9\x80\x9A");
    EXPECT_EQ(charsets.FromGbk("big5", "中文"), "\xA4\xA4\xA4\xE5");
    EXPECT_EQ(charsets.ToGbk("utf-8", charsets.FromGbk("utf-8", "主题: 测试 abc")),
              "主题: 测试 abc");
}

TEST(Charsets, NameNormalization) {
    EXPECT_EQ(NormalizeCharsetName(" \"UTF-8\" "), "utf-8");
    EXPECT_TRUE(IsGbkFamily("gb2312"));
    EXPECT_FALSE(IsGbkFamily("big5"));
}

}  // namespace
}  // namespace quorlet
