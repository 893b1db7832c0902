// What the fee and plan windows show and take back: the rates, the selection after a holiday is
// removed and the plan pages' texts. The window tests run the rest through the windows.
#include <gtest/gtest.h>

#include "dialup/fee_settings.h"
#include "dialup/plan_pages.h"

namespace quorlet {
namespace {

// A fare is shown with two decimals and taken back as shown, even untouched.
TEST(FeeWindowRules, RatesGoOutAsShownAndComeBackAsAtofAndAtoiReadThem) {
    TariffTable tariff;
    tariff.TelFare = 0.115;
    tariff.NetFare = 4.2;
    tariff.TelUnit = 3;
    tariff.NetUnit = 60;
    const RateTexts texts = RateTextsOf(tariff);
    EXPECT_EQ(texts.phoneFare, "0.12");
    EXPECT_EQ(texts.phoneUnit, "3");
    EXPECT_EQ(texts.netFare, "4.20");
    EXPECT_EQ(texts.netUnit, "60");
    TakeRates(tariff, texts);
    EXPECT_DOUBLE_EQ(tariff.TelFare, 0.12);

    struct Case {
        RateTexts typed;
        double telFare;
        int telUnit;
        double netFare;
        int netUnit;
    };
    const Case cases[] = {
        {{"0.2", "1", "3", "60"}, 0.2, 1, 3.0, 60},
        {{"", "", "", ""}, 0.0, 0, 0.0, 0},
        {{"1.5元", "2.9", "x", "-5"}, 1.5, 2, 0.0, -5},
    };
    for (const Case& test : cases) {
        TariffTable t;
        const TariffTable before = t;
        TakeRates(t, test.typed);
        EXPECT_DOUBLE_EQ(t.TelFare, test.telFare) << test.typed.phoneFare;
        EXPECT_EQ(t.TelUnit, test.telUnit);
        EXPECT_DOUBLE_EQ(t.NetFare, test.netFare);
        EXPECT_EQ(t.NetUnit, test.netUnit);
        EXPECT_EQ(t.hBeginTime, before.hBeginTime);  // nothing but the rates
        EXPECT_EQ(t.hdTelFare, before.hdTelFare);
    }
}

TEST(FeeWindowRules, SelectionAfterRemoval) {
    struct Case {
        int removed;
        int count;  // entries left
        int selected;
    };
    const Case cases[] = {
        {0, 3, 0},   // the next one moves up into the place
        {1, 2, 1},   // from the middle
        {2, 2, 1},   // the last went: the new last
        {0, 0, -1},  // nothing left
    };
    for (const Case& test : cases) {
        EXPECT_EQ(SelectionAfterRemoval(test.removed, test.count), test.selected)
            << test.removed << " of " << test.count + 1;
    }
}

TEST(PlanPageRules, EachPageShowsAndTakesItsOwnPlan) {
    MainSettings s;
    s.m_nSessionTimeLimit = 30;
    s.m_dSessionFeeLimit = 5;
    s.m_bSessionHangUp = false;
    s.m_strSessionWav = "C:\\bell.wav";
    s.m_nTotalTimeLimit = 2;

    const PlanPageFields session = PlanFieldsOf(s, PlanPage::Session);
    EXPECT_EQ(session.time, "30");
    EXPECT_EQ(session.fee, "5.00");
    EXPECT_FALSE(session.hangUp);
    EXPECT_EQ(session.soundFile, "C:\\bell.wav");
    const PlanPageFields total = PlanFieldsOf(s, PlanPage::Total);
    EXPECT_EQ(total.time, "2");
    EXPECT_EQ(total.fee, "0.00");
    EXPECT_TRUE(total.hangUp);

    // Shown and taken back untouched, a plan stays as it was.
    MainSettings back = s;
    TakePlanFields(back, PlanPage::Session, session);
    TakePlanFields(back, PlanPage::Total, total);
    EXPECT_EQ(back.m_nSessionTimeLimit, 30);
    EXPECT_EQ(back.m_dSessionFeeLimit, 5.0);
    EXPECT_EQ(back.m_nTotalTimeLimit, 2);

    // Typed values: whole yuan only, and the other page is left alone.
    TakePlanFields(back, PlanPage::Total, {"3", "2.5", false, "D:\\horn.wav"});
    EXPECT_EQ(back.m_nTotalTimeLimit, 3);
    EXPECT_EQ(back.m_dTotalFeeLimit, 2.0);
    EXPECT_FALSE(back.m_bTotalHangUp);
    EXPECT_EQ(back.m_strTotalWav, "D:\\horn.wav");
    EXPECT_EQ(back.m_nSessionTimeLimit, 30);
    EXPECT_EQ(back.m_strSessionWav, "C:\\bell.wav");

    // The longest values the pages let through are read back whole by the store.
    const std::string longestTime(kPlanTimeChars, '9');
    const std::string longestFee(kPlanFeeChars, '9');
    TakePlanFields(back, PlanPage::Session, {longestTime, longestFee, true, ""});
    const PlanPageFields stored = PlanFieldsOf(back, PlanPage::Session);
    EXPECT_LE(stored.time.size(), 9u);
    EXPECT_LE(stored.fee.size(), 9u);
}

}  // namespace
}  // namespace quorlet
