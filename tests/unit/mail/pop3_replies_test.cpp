#include "mail/pop3_replies.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quorlet {
namespace {

std::vector<std::int64_t> Sizes(const std::string& spool) {
    std::istringstream in(spool);
    std::vector<std::int64_t> sizes;
    ParseListLines(in, sizes, 512);
    return sizes;
}

using Sizes64 = std::vector<std::int64_t>;

TEST(ParseListLines, TheStatusRemnantIsSkippedUnlessItIsTheFirstScanLine) {
    EXPECT_EQ(Sizes(" 2 messages (320 octets)\r\n1 120\r\n2 200\r\n.\r\n"), (Sizes64{120, 200}));
    EXPECT_EQ(Sizes("1 120\r\n2 200\r\n.\r\n"), (Sizes64{120, 200}));  // after "+OK " CR LF
    EXPECT_EQ(Sizes("\r\n1 120\r\n.\r\n"), (Sizes64{120}));            // after a bare "+OK"
    EXPECT_EQ(Sizes(" 2 320\r\n1 120\r\n2 200\r\n.\r\n"), (Sizes64{120, 200}));
    EXPECT_EQ(Sizes(""), Sizes64{});
}

TEST(ParseListLines, SizesFollowTheLineOrderAndOddLinesAreSkipped) {
    // The message numbers are not read: entry n-1 is message n.
    EXPECT_EQ(Sizes("\r\n2 200\r\n1 120\r\n"), (Sizes64{200, 120}));
    EXPECT_EQ(Sizes("\n1 10\nno-blank\n  3   30  \n4 x\n.\n"), (Sizes64{10, 30, 0}));
    EXPECT_EQ(Sizes("\r\n1 12\r34\r\n"), (Sizes64{12}));  // a stray CR costs the last character
    EXPECT_EQ(Sizes("\r\n1 99999999999\r\n"), (Sizes64{99999999999}));
}

TEST(ParseStatCounts, NumbersAfterTheFirstAndSecondBlank) {
    int messages = 7;
    std::int64_t octets = 9;
    ParseStatCounts("+OK", messages, octets);
    EXPECT_EQ(messages, 7);
    EXPECT_EQ(octets, 9);
    ParseStatCounts("+OK 5", messages, octets);
    EXPECT_EQ(messages, 5);
    EXPECT_EQ(octets, 9);
    ParseStatCounts("+OK\t12\t3456", messages, octets);
    EXPECT_EQ(messages, 12);
    EXPECT_EQ(octets, 3456);
    ParseStatCounts("+OK  2   6000000000 extra", messages, octets);
    EXPECT_EQ(messages, 2);
    EXPECT_EQ(octets, 6000000000);
    ParseStatCounts("+OK x y", messages, octets);
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(octets, 0);
}

}  // namespace
}  // namespace quorlet
