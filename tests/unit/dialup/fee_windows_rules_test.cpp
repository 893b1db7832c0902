// What the fee and plan windows show and take back: the totals, the rates, the holiday lists,
// the selection after a removal and the plan pages' texts.
#include <gtest/gtest.h>

#include "dialup/fee_settings.h"
#include "dialup/plan_pages.h"

namespace quorlet {
namespace {

TEST(FeeWindowRules, TotalsShowTwoDecimalsAndZeroOnceCleared) {
    const FeeTotalsTexts shown = FormatFeeTotals(3.25, 1.5);
    EXPECT_EQ(shown.phone, "3.25");
    EXPECT_EQ(shown.net, "1.50");
    EXPECT_EQ(shown.total, "4.75");
    EXPECT_EQ(FormatFeeTotals(0.0, 0.0).total, "0.00");
    const FeeTotalsTexts cleared = ClearedFeeTotals();
    EXPECT_EQ(cleared.phone + cleared.net + cleared.total, "000");
}

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

// Every month and day of the lists makes an entry that the holiday test reads back as that date.
TEST(FeeWindowRules, MonthAndDayListsMakeTheHolidaysTheyName) {
    const std::vector<std::string> months = MonthNames();
    const std::vector<std::string> days = DayNames();
    ASSERT_EQ(months.size(), 12u);
    ASSERT_EQ(days.size(), 31u);
    EXPECT_EQ(months.front(), "01月");
    EXPECT_EQ(days.back(), "31日");
    EXPECT_EQ(HolidayEntry("01月", "01日"), "01月01日");
    EXPECT_EQ(HolidayEntry("01月", "01日").size(), 8u);
    EXPECT_EQ(HolidayEntry("", ""), "");
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d) {
            const std::string entry = HolidayEntry(months[m - 1], days[d - 1]);
            ASSERT_EQ(entry.size(), 8u);
            // The test reads the month from the first two bytes, the day after the "月".
            EXPECT_EQ(std::stoi(entry.substr(0, 2)), m);
            EXPECT_EQ(std::stoi(entry.substr(4, 2)), d);
        }
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
