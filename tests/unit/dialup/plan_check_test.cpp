// The online plans against a simulated line and a moved clock.
#include "dialup/plan_check.h"

#include <gtest/gtest.h>

#include "unit/dialup/accounting_fixture.h"

namespace quorlet {
namespace {

using testing::Dec;

class PlanTest : public ::testing::Test, public testing::AccountingFixture {
protected:
    // The program's own connection comes up and the recorder starts timing it.
    void OwnLineUp() {
        DialOwn();
        recorder.WatchLine();
        ASSERT_TRUE(recorder.m_bRecording);
    }
    bool LineUp() {
        std::string name;
        return IsLineConnected(ras, name);
    }
    // The tariff of "163", which the recorder loads when the line comes up: 0.25 yuan a
    // minute and no telephone fee, so that the sums are exact binary fractions.
    void QuarterYuanAMinute() {
        TariffTable tariff;
        tariff.NetFare = 15.0;
        tariff.TelFare = 0.0;
        ASSERT_TRUE(SaveTariff(tariff, dir.File("Fare.ini"), "163"));
    }
};

TEST_F(PlanTest, SessionTimeLimitHangsUpAtThirtyWholeMinutes) {
    settings.m_nSessionTimeLimit = 30;
    OwnLineUp();
    clock.Advance(29 * 60 + 59);
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    EXPECT_TRUE(LineUp());
    clock.Advance(1);
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
    EXPECT_FALSE(LineUp());
    EXPECT_EQ(dial.hConn, 0u);
    EXPECT_FALSE(dial.bOnline);
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);  // no line, no check
}

TEST_F(PlanTest, OnlyTheSessionTimeLimitIsTestedWhenSet) {
    settings.m_nSessionTimeLimit = 30;
    settings.m_dSessionFeeLimit = 5;
    settings.m_nTotalTimeLimit = 1;
    QuarterYuanAMinute();
    OwnLineUp();
    clock.Advance(29 * 60);  // 7.25 yuan: past the fee limit, but only the time is tested
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    clock.Advance(3 * 3600);
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
}

TEST_F(PlanTest, TotalTimeLimitMeasuresTheCurrentConnectionOnly) {
    settings.m_nTotalTimeLimit = 2;
    settings.m_dTotalFeeLimit = 1;  // not tested while a time limit is set
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Advance(3 * 3600);
    ras.TakeDownOther("163");
    recorder.WatchLine();

    settings.m_bTotalHangUp = false;
    settings.m_strTotalWav = "long.wav";
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Advance(2 * 3600 - 1);
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    clock.Advance(1);
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Total);
    EXPECT_EQ(sound.played, std::vector<std::string>{"long.wav"});
}

TEST_F(PlanTest, FeeLimitActsOnlyOnceTheFeeIsAboveIt) {
    settings.m_dSessionFeeLimit = 5;
    settings.m_bSessionHangUp = false;
    settings.m_strSessionWav = "fee.wav";
    QuarterYuanAMinute();
    OwnLineUp();
    clock.Advance(20 * 60);  // exactly 5.00
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    clock.Advance(1);  // a started minute: 5.25
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
    // No memory of having acted: every check while the limit stays passed acts again.
    clock.Advance(30);
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
    clock.Advance(120);
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
    EXPECT_EQ(sound.played, (std::vector<std::string>{"fee.wav", "fee.wav", "fee.wav"}));
    EXPECT_TRUE(LineUp());
}

// 24 minutes at 0.20 a one-minute block and 0.05 a minute is 6.000000000000001 in binary: the
// fee shows as 6.00, which does not pass a limit of 6 yuan.
TEST_F(PlanTest, FeeLimitComparesTheAmountAsShown) {
    settings.m_dSessionFeeLimit = 6;
    settings.m_bSessionHangUp = false;
    settings.m_strSessionWav = "fee.wav";
    TariffTable tariff;
    tariff.TelFare = 0.2;
    tariff.TelUnit = 1;
    ASSERT_TRUE(SaveTariff(tariff, dir.File("Fare.ini"), "163"));
    OwnLineUp();
    clock.Advance(24 * 60);
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    clock.Advance(60);  // 6.25
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
}

TEST_F(PlanTest, FeeLimitsOfBothPagesInOrder) {
    settings.m_dSessionFeeLimit = 10;
    settings.m_dTotalFeeLimit = 5;
    settings.m_bSessionHangUp = false;
    settings.m_bTotalHangUp = false;
    settings.m_strSessionWav = "session.wav";
    settings.m_strTotalWav = "total.wav";
    QuarterYuanAMinute();
    OwnLineUp();
    clock.Advance(24 * 60);  // 6.00: above page 2 only
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Total);
    clock.Advance(20 * 60);  // 11.00: page 1 first
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
    EXPECT_EQ(sound.played, (std::vector<std::string>{"total.wav", "session.wav"}));

    settings.m_dSessionFeeLimit = 0;
    settings.m_dTotalFeeLimit = 0;
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);  // no limit at all
}

// The fee limits price the running connection with its own tariff, whatever the fee window
// has loaded into the shared table, with recording on or off.
TEST(PlanTariff, FeeLimitsPriceWithTheConnectionsOwnTariff) {
    TariffTable office;
    office.NetFare = 60.0;  // a yuan a minute
    office.TelFare = 0.0;
    for (const bool recording : {true, false}) {
        SCOPED_TRACE(recording ? "recording" : "not recording");
        testing::AccountingFixture f;
        ASSERT_TRUE(SaveTariff(office, f.dir.File("Fare.ini"), "Office"));
        f.settings.m_dSessionFeeLimit = 5;
        f.settings.m_bSessionHangUp = false;
        f.settings.m_strSessionWav = "fee.wav";
        f.ras.BringUpOther("Office");
        if (recording) {
            f.recorder.WatchLine();
        }
        EXPECT_EQ(f.plans.CheckPlan(), std::nullopt);
        f.fees.LoadTariff("163");  // the fee window's choice: 0.52 for six minutes
        f.clock.Advance(5 * 60);
        EXPECT_EQ(f.plans.CheckPlan(), std::nullopt);  // 5.00
        f.clock.Advance(60);
        EXPECT_EQ(f.plans.CheckPlan(), PlanPage::Session);  // 6.00
    }
}

TEST_F(PlanTest, SwitchedOffNothingHappens) {
    settings.m_nSessionTimeLimit = 1;
    OwnLineUp();
    clock.Advance(3600);
    plans.TogglePlan();
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    EXPECT_TRUE(LineUp());
    plans.TogglePlan();
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
}

TEST_F(PlanTest, ALineOfAnotherProgramIsNotHungUpAndTheCheckRepeats) {
    settings.m_nSessionTimeLimit = 1;
    ras.BringUpOther("Office");
    recorder.WatchLine();
    clock.Advance(120);
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
    clock.Advance(30);
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
    EXPECT_TRUE(LineUp());
}

TEST_F(PlanTest, WithoutRecordingTheCheckMeasuresFromWhenItFirstSawTheLine) {
    settings.m_nSessionTimeLimit = 30;
    ras.BringUpOther("163");
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);  // first seen now
    EXPECT_EQ(plans.MeasuredFrom(), Dec(7, 12));
    clock.Advance(29 * 60);
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    clock.Advance(60);
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);

    // A new connection is measured afresh once a check saw the line down.
    ras.TakeDownOther("163");
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    clock.Advance(120);
    ras.BringUpOther("163");
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    EXPECT_EQ(plans.MeasuredFrom(), Dec(7, 12, 32));
}

// Recording off: the two-minute check hangs up after 30 minutes, and the line is dialled again
// before the next check could see it down. The new connection is measured from the check that
// first sees it.
TEST(PlanRedial, TheLineThePlanHungUpIsForgotten) {
    testing::AccountingFixture f;
    f.settings.m_nSessionTimeLimit = 30;
    f.DialOwn();
    EXPECT_EQ(f.plans.CheckPlan(), std::nullopt);
    f.clock.Advance(30 * 60);
    EXPECT_EQ(f.plans.CheckPlan(), PlanPage::Session);
    EXPECT_EQ(f.dial.hConn, 0u);
    f.clock.Advance(60);
    f.DialOwn();
    f.clock.Advance(60);
    EXPECT_EQ(f.plans.CheckPlan(), std::nullopt);
    EXPECT_NE(f.dial.hConn, 0u);
    EXPECT_EQ(f.plans.MeasuredFrom(), Dec(7, 12, 32));
    f.clock.Advance(30 * 60);
    EXPECT_EQ(f.plans.CheckPlan(), PlanPage::Session);
}

// A connection hung up and dialled again between two checks, by the user or by another
// program, is a new connection: its handle differs.
TEST(PlanRedial, ANewConnectionBetweenTwoChecksIsMeasuredAfresh) {
    struct Case {
        const char* what;
        void (*up)(testing::AccountingFixture&);
        void (*redial)(testing::AccountingFixture&);
    };
    const Case cases[] = {
        {"the program's own line", [](testing::AccountingFixture& f) { f.DialOwn(); },
         [](testing::AccountingFixture& f) {
             HangUpOwnConnection(f.ras, f.dial);
             f.DialOwn();
         }},
        {"another program's line",
         [](testing::AccountingFixture& f) { f.ras.BringUpOther("Office"); },
         [](testing::AccountingFixture& f) {
             f.ras.TakeDownOther("Office");
             f.ras.BringUpOther("Office");
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        testing::AccountingFixture f;
        f.settings.m_nSessionTimeLimit = 30;
        test.up(f);
        EXPECT_EQ(f.plans.CheckPlan(), std::nullopt);
        f.clock.Advance(29 * 60);
        EXPECT_EQ(f.plans.CheckPlan(), std::nullopt);
        test.redial(f);
        f.clock.Advance(2 * 60);
        EXPECT_EQ(f.plans.CheckPlan(), std::nullopt);
        EXPECT_EQ(f.plans.MeasuredFrom(), Dec(7, 12, 31));
    }
}

// Recording off: a check whose list of connections fails still sees the program's own line,
// and keeps measuring it from when it was first seen.
TEST_F(PlanTest, OneFailedLineTestKeepsMeasuringTheOwnConnection) {
    settings.m_nSessionTimeLimit = 30;
    DialOwn();
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    clock.Advance(28 * 60);
    ras.SetEnumConnectionsFails(true);
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    EXPECT_EQ(plans.MeasuredFrom(), Dec(7, 12));
    clock.Advance(2 * 60);
    EXPECT_EQ(plans.CheckPlan(), PlanPage::Session);
    EXPECT_EQ(dial.hConn, 0u);

    // Another program's line listed first is measured; a failed list, which finds only the
    // program's own line, does not make it a new connection.
    ras.SetEnumConnectionsFails(false);
    ras.BringUpOther("Office");
    DialOwn();
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    const auto office = plans.MeasuredFrom();
    clock.Advance(60);
    ras.SetEnumConnectionsFails(true);
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    ras.SetEnumConnectionsFails(false);
    clock.Advance(60);
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    EXPECT_EQ(plans.MeasuredFrom(), office);
}

TEST_F(PlanTest, ClockBeforeTheStartDoesNothing) {
    settings.m_nSessionTimeLimit = 1;
    OwnLineUp();
    clock.Set(Dec(7, 11));
    EXPECT_EQ(plans.CheckPlan(), std::nullopt);
    EXPECT_TRUE(LineUp());
}

// A 30-minute limit counts real minutes of the connection, whatever happens to the clock ten
// minutes in; a clock set back before the start stops the check, as it stops the recorder.
TEST(PlanClock, TimeLimitsCountRealMinutes) {
    struct Case {
        const char* what;
        void (*change)(ManualClock&);
        bool actsAtThirty;
    };
    const Case cases[] = {
        {"summer time ends", [](ManualClock& c) { c.ShiftZone(-3600); }, true},
        {"summer time begins", [](ManualClock& c) { c.ShiftZone(3600); }, true},
        {"clock set a day forward", [](ManualClock& c) { c.Set(Dec(8, 12, 10)); }, true},
        {"clock set back before the start", [](ManualClock& c) { c.Set(Dec(7, 11)); }, false},
    };
    for (const bool recording : {true, false}) {
        for (const Case& test : cases) {
            SCOPED_TRACE(std::string(test.what) + (recording ? ", recording" : ", not recording"));
            testing::AccountingFixture f;
            f.settings.m_nSessionTimeLimit = 30;
            f.settings.m_bSessionHangUp = false;
            f.settings.m_strSessionWav = "limit.wav";
            f.ras.BringUpOther("163");
            if (recording) {
                f.recorder.WatchLine();
            }
            EXPECT_EQ(f.plans.CheckPlan(), std::nullopt);
            f.clock.Advance(600);
            test.change(f.clock);
            f.clock.Advance(20 * 60 - 1);
            EXPECT_EQ(f.plans.CheckPlan(), std::nullopt);
            f.clock.Advance(1);
            EXPECT_EQ(f.plans.CheckPlan().has_value(), test.actsAtThirty);
        }
    }
}

TEST(PlanPages, AFeeIsAboveALimitWhenItsShownAmountIs) {
    struct Case {
        double fee;
        double limit;
        bool above;
    };
    const Case cases[] = {
        {6.000000000000001, 6, false},
        {5.999999999999999, 6, false},
        {6.004, 6, false},
        {6.005, 6, false},  // just below 6.005 in binary: shown as 6.00
        {6.006, 6, true},
        {6.01, 6, true},
        {2.5, 2, true},
        {0.0, 0, false},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(FeeAboveLimit(test.fee, test.limit), test.above) << test.fee;
    }
}

TEST(PlanPages, LeavingAPageAndWholeYuanLimits) {
    EXPECT_EQ(CheckPlanPage("", "5", true, ""), kEnterPlanLimits);
    EXPECT_EQ(CheckPlanPage("30", "", true, ""), kEnterPlanLimits);
    EXPECT_EQ(CheckPlanPage("30", "5", false, ""), kChooseSoundFile);
    EXPECT_EQ(CheckPlanPage("0", "0", true, ""), std::nullopt);
    EXPECT_EQ(CheckPlanPage("30", "5", false, "C:\\a.wav"), std::nullopt);
    EXPECT_EQ(WholeYuan("2.5"), 2.0);
    EXPECT_EQ(WholeYuan("12.50"), 12.0);
    EXPECT_EQ(WholeYuan("x"), 0.0);
}

}  // namespace
}  // namespace quorlet
