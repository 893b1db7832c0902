#include "app/option_rules.h"

#include <gtest/gtest.h>

namespace quorlet {
namespace {

TEST(OptionRules, MailPage) {
    struct Case {
        const char* interval;
        bool soundOn;
        const char* soundFile;
        bool badInterval;
        bool soundFileMissing;
    };
    const Case cases[] = {
        {"5", false, "", false, false},   {"1", true, "a.wav", false, false},
        {"100", false, "", false, false}, {"0", false, "", true, false},
        {"101", false, "", true, false},  {"", false, "", true, false},
        {"7x", false, "", false, false},  {"abc", false, "", true, false},
        {"5", true, "", false, true},     {"0", true, "", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("interval \"") + c.interval + "\" sound " +
                     (c.soundOn ? "on" : "off") + " file \"" + c.soundFile + "\"");
        const MailPageCheck check = CheckMailPage(c.interval, c.soundOn, c.soundFile);
        EXPECT_EQ(check.badInterval, c.badInterval);
        EXPECT_EQ(check.soundFileMissing, c.soundFileMissing);
        EXPECT_EQ(check.Leave(), !c.badInterval && !c.soundFileMissing);
    }
}

TEST(OptionRules, GeneralAndFeesPages) {
    EXPECT_TRUE(StartupPasswordMissing(true, ""));
    EXPECT_FALSE(StartupPasswordMissing(true, "x"));
    EXPECT_FALSE(StartupPasswordMissing(false, ""));
    for (const char* day : {"1", "30", "15th", " 9"}) {
        EXPECT_TRUE(ValidSettlementDay(day)) << day;
    }
    for (const char* day : {"0", "31", "", "-1", "x"}) {
        EXPECT_FALSE(ValidSettlementDay(day)) << day;
    }
}

}  // namespace
}  // namespace quorlet
