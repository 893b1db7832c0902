#include "dialup/dial_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/profile_file.h"
#include "platform/profile_files.h"
#include "support/scripted_prompter.h"
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

// The profile reading drops white space around a value and a pair of enclosing quotes; the
// scrambling leaves the first byte as it is, so " secret" and "'&" (stored as "''") lost bytes.
TEST(DialSettings, CredentialsComeBackExactly) {
    const std::string texts[] = {
        " secret", "  ", "'&", "\"quoted\"", "'", "\"", "tab\tin", "a;b=c", "密码 ", " 用户",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        testing::TempDir dir;
        const std::string path = dir.File("Dial.ini");
        DialSettings in;
        in.m_bSavePassword = true;
        in.m_strUser = text;
        in.m_strPassword = text;
        ASSERT_EQ(SaveDialSettings(path, "163", in), DialSaveResult::Saved);
        const DialSettings out = LoadDialSettings(path, "163");
        EXPECT_EQ(out.m_strUser, text);
        EXPECT_EQ(out.m_strPassword, text);
    }
}

// Texts the scrambling cannot hold in the file are refused, with a message, and nothing is
// written: a byte raised to 256 (a zero, which ends the text), one raised to a line break, and
// more than the 254 bytes read back.
// A text of n bytes that scrambles to n bytes 0xFF: nothing in it but its length is in the way.
std::string ScramblesToAllFF(std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        text += static_cast<char>(0xFF - i);
    }
    return text;
}

TEST(DialSettings, CredentialsTheFileCannotHoldAreRefused) {
    struct Case {
        const char* what;
        std::string user;
        std::string password;
    };
    const Case cases[] = {
        {"a zero", "user", "a\xFF"},
        {"a line feed", "a\tb", "pw"},           // 0x09 + 1
        {"a carriage return", "pw", "abc\x0A"},  // 0x0A + 3
        {"too long", ScramblesToAllFF(255), "pw"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        testing::TempDir dir;
        const std::string path = dir.File("Dial.ini");
        DialSettings in;
        in.m_bSavePassword = true;
        in.m_strUser = test.user;
        in.m_strPassword = test.password;
        testing::ScriptedPrompter prompter;
        EXPECT_EQ(SaveEnteredDialSettings(prompter, path, "163", in), DialSaveResult::NotStorable);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text, kCredentialsNotStorable);
        EXPECT_EQ(prompter.shown[0].title, kTitleNotice);
        EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Information);
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    // The longest text the file holds is kept.
    testing::TempDir dir;
    DialSettings longest;
    longest.m_bSavePassword = true;
    longest.m_strUser = ScramblesToAllFF(254);
    longest.m_strPassword = "pw";
    ASSERT_EQ(SaveDialSettings(dir.File("Dial.ini"), "163", longest), DialSaveResult::Saved);
    EXPECT_EQ(LoadDialSettings(dir.File("Dial.ini"), "163").m_strUser, longest.m_strUser);
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
    testing::ScriptedPrompter prompter;
    EXPECT_EQ(SaveEnteredDialSettings(prompter, path, "163", in),
              DialSaveResult::MissingCredentials);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{kEnterUserAndPassword});
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
