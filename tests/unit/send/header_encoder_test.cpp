#include "send/header_encoder.h"

#include <gtest/gtest.h>

#include "platform/charsets.h"

#include "mail/header_decoder.h"

namespace quorlet {
namespace {

TEST(EncodeBase64, StandardAlphabetAndPadding) {
    EXPECT_EQ(EncodeBase64(""), "");
    EXPECT_EQ(EncodeBase64("f"), "Zg==");
    EXPECT_EQ(EncodeBase64("fo"), "Zm8=");
    EXPECT_EQ(EncodeBase64("foo"), "Zm9v");
    EXPECT_EQ(EncodeBase64("\xFB\xFF"), "+/8=");
    for (int n = 0; n < 300; ++n) {
        std::string bytes;
        for (int i = 0; i < n; ++i) {
            bytes += static_cast<char>(i * 37 + n);
        }
        ASSERT_EQ(DecodeBase64(EncodeBase64(bytes)), bytes) << n;
    }
}

TEST(EncodeHeaderWords, AsciiStaysAndLongGbkTextFoldsIntoWholeWords) {
    EXPECT_EQ(EncodeHeaderWords("Hello, world"), "Hello, world");
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += "鸥信通 a";  // mixes two-byte characters and ASCII, so words cut at odd places
    }
    const std::string encoded = EncodeHeaderWords(text);
    std::size_t start = 0;
    int words = 0;
    while (start < encoded.size()) {
        std::size_t end = encoded.find("\r\n ", start);
        if (end == std::string::npos) {
            end = encoded.size();
        }
        const std::string word = encoded.substr(start, end - start);
        EXPECT_LE(word.size(), 75u);
        EXPECT_EQ(word.substr(0, 8), "=?GBK?B?");
        // Each word decodes to whole characters on its own.
        const std::string part = DecodeHeaderText(word, 0, SystemCharsets());
        EXPECT_EQ(DecodeHeaderText(EncodeHeaderWords(part), 0, SystemCharsets()), part);
        EXPECT_FALSE(part.empty());
        ++words;
        start = end + 3;
    }
    EXPECT_GT(words, 5);
    EXPECT_EQ(DecodeHeaderText(encoded, 0, SystemCharsets()), text);
}

}  // namespace
}  // namespace quorlet
