#include "dialup/dial_settings.h"

#include <gtest/gtest.h>

#include "base/profile_file.h"
#include "platform/profile_files.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

TEST(DialSettings, ScramblingRaisesEachByteByItsPosition) {
    EXPECT_EQ(ScrambleDialText("abc"), "ace");
    EXPECT_EQ(UnscrambleDialText("ace"), "abc");
    // Modulo 256, and both stop at a zero byte.
    const std::string high("\xFE\xFE", 2);
    EXPECT_EQ(ScrambleDialText(high), std::string("\xFE\xFF", 2));
    EXPECT_EQ(UnscrambleDialText(std::string("\x01\x00\x05", 3)), "\x01");
    const std::string gbk = "密码abc";
    EXPECT_EQ(UnscrambleDialText(ScrambleDialText(gbk)), gbk);
}

TEST(DialSettings, SavedCredentialsRoundTripThroughTheFile) {
    testing::TempDir dir;
    const std::string path = dir.File("Dial.ini");
    DialSettings in;
    in.m_bSavePassword = true;
    in.m_strUser = "abc";
    in.m_strPassword = "secret";
    in.m_strInterval = "45";
    EXPECT_EQ(SaveDialSettings(path, "163", in), DialSaveResult::Saved);
    EXPECT_EQ(ReadProfileValue(path, "163", "User", "", 255), "ace");
    EXPECT_EQ(ReadProfileValue(path, "163", "Auto", "", 10), "1");
    const DialSettings out = LoadDialSettings(path, "163");
    EXPECT_TRUE(out.m_bSavePassword);
    EXPECT_EQ(out.m_strUser, "abc");
    EXPECT_EQ(out.m_strPassword, "secret");
    EXPECT_EQ(out.m_strInterval, "45");
}

TEST(DialSettings, BoxOffWritesOnlyAutoAndHidesTheOldValues) {
    testing::TempDir dir;
    const std::string path = dir.File("Dial.ini");
    DialSettings in;
    in.m_bSavePassword = true;
    in.m_strUser = "abc";
    in.m_strPassword = "pw";
    in.m_strInterval = "10";
    ASSERT_EQ(SaveDialSettings(path, "163", in), DialSaveResult::Saved);
    in.m_bSavePassword = false;
    EXPECT_EQ(SaveDialSettings(path, "163", in), DialSaveResult::AutoOff);
    EXPECT_EQ(ReadProfileValue(path, "163", "User", "", 255), "ace");  // still in the file
    const DialSettings out = LoadDialSettings(path, "163");
    EXPECT_FALSE(out.m_bSavePassword);
    EXPECT_EQ(out.m_strUser, "");
    EXPECT_EQ(out.m_strPassword, "");
    EXPECT_EQ(out.m_strInterval, "30");
}

TEST(DialSettings, MissingCredentialsWriteNothing) {
    testing::TempDir dir;
    const std::string path = dir.File("Dial.ini");
    DialSettings in;
    in.m_bSavePassword = true;
    in.m_strUser = "abc";
    EXPECT_EQ(SaveDialSettings(path, "163", in), DialSaveResult::MissingCredentials);
    EXPECT_EQ(ReadProfileValue(path, "163", "Auto", "none", 10), "none");
    // Unknown entry, or "Auto" not beginning with '1': the defaults.
    EXPECT_EQ(LoadDialSettings(path, "Other").m_strInterval, "30");
    // "Auto" = "1" with keys missing from a hand-edited section reads them as empty.
    ASSERT_TRUE(WriteProfileValue(path, "Hand", "Auto", "1"));
    const DialSettings hand = LoadDialSettings(path, "Hand");
    EXPECT_TRUE(hand.m_bSavePassword);
    EXPECT_EQ(hand.m_strUser, "");
    EXPECT_EQ(hand.m_strInterval, "");
}

}  // namespace
}  // namespace quorlet
