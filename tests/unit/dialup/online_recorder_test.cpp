// The line watch, the connection log and its extraction, with a moved clock and a simulated line.
#include "dialup/online_recorder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/profile_file.h"
#include "dialup/online_log.h"
#include "dialup/tariff.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"
#include "unit/dialup/accounting_fixture.h"

namespace quorlet {
namespace {

using testing::Dec;
using Change = OnlineRecorder::LineChange;

class RecorderTest : public ::testing::Test, public testing::AccountingFixture {};

TEST_F(RecorderTest, AheadTimeDatesBackEveryConnection) {
    settings.m_nAheadTime = 90;
    TariffTable office;
    office.NetFare = 6.0;
    ASSERT_TRUE(SaveTariff(office, dir.File("Fare.ini"), "Office"));

    ras.BringUpOther("Office");
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodBegan);
    EXPECT_EQ(recorder.m_timeStart, Dec(7, 11, 58, 30));
    EXPECT_EQ(fees.m_strConnName, "Office");
    EXPECT_EQ(fees.m_tariff.NetFare, 6.0);  // the connection's own tariff
    clock.Advance(1);
    EXPECT_EQ(recorder.WatchLine(), Change::None);
    clock.Advance(599);
    ras.TakeDownOther("Office");
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodEnded);
    EXPECT_EQ(recorder.WatchLine(), Change::None);
    EXPECT_EQ(Log("0", "Start"), "2026-12-07 11:58:30");
    EXPECT_EQ(Log("0", "End"), "2026-12-07 12:10:00");
    EXPECT_EQ(Log("0", "Connected"), "0:11:30");
    EXPECT_EQ(Log("0", "Name"), "Office");
    EXPECT_EQ(settings.m_nAheadTime, 90);  // the setting itself is left alone

    clock.Set(Dec(7, 14));
    DialOwn("163");
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodBegan);
    EXPECT_EQ(recorder.m_timeStart, Dec(7, 13, 58, 30));
    EXPECT_EQ(fees.m_tariff, TariffTable{});  // no section: the defaults
    clock.Advance(60);
    ras.CutLine();
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodEnded);
    EXPECT_EQ(dial.hConn, 0u);
    EXPECT_FALSE(dial.bOnline);
    EXPECT_EQ(Log("1", "Start"), "2026-12-07 13:58:30");
    EXPECT_EQ(Log("Main", "Total"), "2");
}

// Hung up and dialled again between two looks of the watch: the first connection is logged as a
// period of its own, and the new one starts a period at once.
TEST_F(RecorderTest, ARedialBetweenTwoLooksIsANewPeriod) {
    DialOwn();
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodBegan);
    clock.Advance(600);
    HangUpOwnConnection(ras, dial);
    DialOwn();
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodBegan);
    EXPECT_EQ(Log("0", "Connected"), "0:10:0");
    EXPECT_EQ(recorder.m_timeStart, Dec(7, 12, 10));
    EXPECT_NE(dial.hConn, 0u);  // the new line is still the program's own
    EXPECT_EQ(recorder.WatchLine(), Change::None);
}

// The system's list of connections fails once while the program's own line is up: the line is
// still up, so neither the period nor the program's hold on its line ends.
TEST_F(RecorderTest, OneFailedLineTestKeepsTheOwnConnection) {
    DialOwn();
    ASSERT_EQ(recorder.WatchLine(), Change::PeriodBegan);
    const RasHandle own = dial.hConn;
    clock.Advance(60);
    ras.SetEnumConnectionsFails(true);
    EXPECT_EQ(recorder.WatchLine(), Change::None);
    EXPECT_EQ(dial.hConn, own);
    EXPECT_TRUE(dial.bOnline);
    EXPECT_TRUE(recorder.m_bRecording);
    ras.SetEnumConnectionsFails(false);
    EXPECT_EQ(recorder.WatchLine(), Change::None);
    clock.Advance(60);
    HangUpOwnConnection(ras, dial);  // still possible: the handle was kept
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodEnded);
    EXPECT_EQ(Log("Main", "Total"), "1");
    EXPECT_EQ(Log("0", "Connected"), "0:2:0");
    EXPECT_EQ(Log("0", "Name"), "163");

    // With the line really gone, a failing list ends the period as before.
    DialOwn();
    recorder.WatchLine();
    ras.CutLine();
    ras.SetEnumConnectionsFails(true);
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodEnded);
    EXPECT_EQ(dial.hConn, 0u);
}

TEST_F(RecorderTest, AcrossMidnightLoggedAndPricedOverTwoDays) {
    clock.Set(Dec(8, 23, 59, 30));
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Advance(70);
    ras.TakeDownOther("163");
    recorder.WatchLine();
    EXPECT_EQ(Log("0", "Connected"), "0:1:10");
    // 29 s before midnight plus 40 s after, all discount time: 2 started minutes; the
    // walk's second before midnight counts as discounted only.
    EXPECT_EQ(fees.m_tally.Time, (Duration{0, 1, 9}));
    EXPECT_EQ(Log("0", "PhoneFee"), "0.11");
    EXPECT_EQ(Log("0", "NetFee"), "0.05");
    EXPECT_NEAR(settings.m_dPhoneFee, 0.11, 1e-9);
    EXPECT_NEAR(settings.m_dNetFee, 0.05, 1e-9);
}

TEST_F(RecorderTest, TwentyFiveHoursAndTheRecordLayout) {
    settings.m_dPhoneFee = 1.0;
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Advance(25 * 3600);
    ras.TakeDownOther("163");
    recorder.WatchLine();
    EXPECT_EQ(Log("0", "Connected"), "25:0:0");
    EXPECT_EQ(Log("0", "PhoneFee"), "55.00");
    EXPECT_EQ(Log("0", "NetFee"), "61.50");
    EXPECT_NEAR(settings.m_dPhoneFee, 56.0, 1e-9);
    const std::string text = *ReadWholeFile(dir.File("Fee.ini"));
    EXPECT_EQ(text,
              "[0]\r\nStart=2026-12-07 12:00:00\r\nEnd=2026-12-08 13:00:00\r\n"
              "Connected=25:0:0\r\nPhoneFee=55.00\r\nNetFee=61.50\r\nName=163\r\n"
              "[Main]\r\nTotal=1\r\n");
}

TEST_F(RecorderTest, ClockSetBackIsReportedAndNotLogged) {
    settings.m_dPhoneFee = 2.0;
    settings.m_dNetFee = 3.0;
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Set(Dec(7, 11));
    ras.TakeDownOther("163");
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodEnded);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, kClockWentBack);
    EXPECT_EQ(prompter.shown[0].title, kTitleError);
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(settings.m_dPhoneFee, 2.0);
    EXPECT_EQ(settings.m_dNetFee, 3.0);
    EXPECT_FALSE(SystemFileSystem().FileExists(dir.File("Fee.ini")));
    EXPECT_FALSE(recorder.m_bRecording);
}

// The clock moves under a running period of 20 real minutes that began at 12:00 on a weekday.
// The log shows the real length from the start, and that interval is priced (7 started blocks
// of 3 minutes, 20 minutes at 0.05); only a clock set back before the start stops the timing.
TEST(RecorderClock, PeriodsLastTheirRealLengthWhateverTheClockShows) {
    struct Case {
        const char* what;
        void (*change)(ManualClock&);  // ten minutes into the period
        bool logged;
        const char* end;
    };
    const Case cases[] = {
        {"summer time ends", [](ManualClock& c) { c.ShiftZone(-3600); }, true,
         "2026-12-07 12:20:00"},
        {"summer time begins", [](ManualClock& c) { c.ShiftZone(3600); }, true,
         "2026-12-07 12:20:00"},
        {"clock set a day forward", [](ManualClock& c) { c.Set(Dec(8, 12, 10)); }, true,
         "2026-12-07 12:20:00"},
        {"clock set back, still after the start", [](ManualClock& c) { c.Set(Dec(7, 12, 5)); },
         true, "2026-12-07 12:20:00"},
        {"clock set back before the start", [](ManualClock& c) { c.Set(Dec(7, 11, 30)); }, false,
         nullptr},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        testing::AccountingFixture f;
        f.ras.BringUpOther("163");
        ASSERT_EQ(f.recorder.WatchLine(), Change::PeriodBegan);
        f.clock.Advance(600);
        test.change(f.clock);
        f.clock.Advance(600);
        EXPECT_EQ(f.recorder.ShowOnlineTime(), " 联网时间:0小时20分");
        f.ras.TakeDownOther("163");
        EXPECT_EQ(f.recorder.WatchLine(), Change::PeriodEnded);
        if (test.logged) {
            EXPECT_TRUE(f.prompter.shown.empty());
            EXPECT_EQ(f.Log("0", "Start"), "2026-12-07 12:00:00");
            EXPECT_EQ(f.Log("0", "End"), test.end);
            EXPECT_EQ(f.Log("0", "Connected"), "0:20:0");
            EXPECT_EQ(f.Log("0", "PhoneFee"), "0.77");
            EXPECT_EQ(f.Log("0", "NetFee"), "1.00");
            EXPECT_NEAR(f.settings.m_dPhoneFee, 0.77, 1e-9);
        } else {
            EXPECT_EQ(f.prompter.Texts(), std::vector<std::string>{kClockWentBack});
            EXPECT_EQ(f.Log("Main", "Total"), "(none)");
            EXPECT_EQ(f.settings.m_dPhoneFee, 0.0);
        }
    }
}

TEST_F(RecorderTest, TheLogKeepsGrowingPastRecord9999) {
    ASSERT_TRUE(WriteProfileValue(dir.File("Fee.ini"), "Main", "Total", "9999"));
    for (int i = 0; i < 2; ++i) {
        ras.BringUpOther("163");
        recorder.WatchLine();
        clock.Advance(60);
        ras.TakeDownOther("163");
        recorder.WatchLine();
    }
    EXPECT_EQ(Log("Main", "Total"), "10001");
    EXPECT_EQ(Log("9999", "Connected"), "0:1:0");
    EXPECT_EQ(Log("10000", "Connected"), "0:1:0");
    const LogExtract log = ExtractLog(dir.File("Fee.ini"), {2026, 12, 7}, {2026, 12, 7});
    EXPECT_EQ(log.rows.size(), 2u);
}

// A record count past the int range is counted on, not wrapped round.
TEST_F(RecorderTest, AppendingPastTheIntRange) {
    ASSERT_TRUE(WriteProfileValue(dir.File("Fee.ini"), "Main", "Total", "2147483647"));
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Advance(60);
    ras.TakeDownOther("163");
    recorder.WatchLine();
    EXPECT_EQ(Log("Main", "Total"), "2147483648");
    EXPECT_EQ(Log("2147483647", "Connected"), "0:1:0");
    const LogExtract log = ExtractLog(dir.File("Fee.ini"), {2026, 12, 7}, {2026, 12, 7});
    ASSERT_EQ(log.rows.size(), 1u);
    EXPECT_EQ(log.rows[0].start, "2026-12-07 12:00:00");
}

// Fee.ini is in the way (a folder stands there): the period cannot be logged, which is said,
// and the totals are not raised for a period the log does not hold.
TEST_F(RecorderTest, ALogThatCannotBeWrittenIsReportedAndAddsNothing) {
    settings.m_dPhoneFee = 2.0;
    std::filesystem::create_directory(dir.File("Fee.ini"));
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Advance(600);
    ras.TakeDownOther("163");
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodEnded);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, kLogNotWritten);
    EXPECT_EQ(prompter.shown[0].title, kTitleError);
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(settings.m_dPhoneFee, 2.0);
    EXPECT_EQ(settings.m_dNetFee, 0.0);
}

#ifndef _WIN32
// Fee.ini exists but cannot be read (here a link to a folder, which even root cannot read as a
// file): the log it holds is not replaced by a new one holding only this period.
TEST_F(RecorderTest, AnUnreadableLogIsNeverWrittenAfresh) {
    std::filesystem::create_directory(dir.File("elsewhere"));
    std::filesystem::create_directory_symlink(dir.File("elsewhere"), dir.File("Fee.ini"));
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Advance(600);
    ras.TakeDownOther("163");
    recorder.WatchLine();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("Fee.ini")));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{kLogNotWritten});
    EXPECT_EQ(settings.m_dPhoneFee, 0.0);
}
#endif

TEST_F(RecorderTest, OnlineTimeTextWhileTimed) {
    EXPECT_FALSE(recorder.ShowOnlineTime().has_value());
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Advance(3600 + 5 * 60 + 59);
    EXPECT_EQ(recorder.ShowOnlineTime(), " 联网时间:1小时5分");
    clock.Advance(24 * 3600);
    EXPECT_EQ(recorder.ShowOnlineTime(), " 联网时间:25小时5分");
    clock.Set(Dec(7, 11));  // set back: the tip still shows the real time online
    EXPECT_EQ(recorder.ShowOnlineTime(), " 联网时间:25小时5分");
}

TEST_F(RecorderTest, ExitClosesTheRunningPeriodOnce) {
    ras.BringUpOther("163");
    recorder.WatchLine();
    clock.Advance(120);
    recorder.CloseOnExit();
    recorder.CloseOnExit();
    EXPECT_EQ(Log("Main", "Total"), "1");
    // The system's shutdown was cancelled and the line is still up: the watch starts a new
    // period rather than logging the first one again.
    EXPECT_EQ(recorder.WatchLine(), Change::PeriodBegan);
    clock.Advance(60);
    ras.TakeDownOther("163");
    recorder.WatchLine();
    EXPECT_EQ(Log("1", "Start"), "2026-12-07 12:02:00");
}

TEST_F(RecorderTest, ExitPricesThePeriodWithItsOwnConnectionsTariff) {
    TariffTable office;
    office.NetFare = 6.0;
    office.TelFare = 0.0;
    ASSERT_TRUE(SaveTariff(office, dir.File("Fare.ini"), "Office"));
    ras.BringUpOther("Office");
    recorder.WatchLine();
    // Meanwhile the fee window shows another connection's tariff in the same table.
    fees.LoadTariff("163");
    clock.Advance(600);
    recorder.CloseOnExit();
    EXPECT_EQ(Log("0", "Name"), "Office");
    EXPECT_EQ(Log("0", "NetFee"), "1.00");
    EXPECT_EQ(Log("0", "PhoneFee"), "0.00");
    EXPECT_NEAR(settings.m_dNetFee, 1.0, 1e-9);
}

TEST_F(RecorderTest, SettlementDayClearsTheTotalsOnEveryExit) {
    settings.m_strDayClear = "7";
    settings.m_bAutoClear = true;
    for (int exit = 0; exit < 2; ++exit) {
        settings.m_dPhoneFee = 12.5;
        settings.m_dNetFee = 7.0;
        recorder.SettleOnExit();
        EXPECT_EQ(settings.m_dPhoneFee, 0.0);
        EXPECT_EQ(settings.m_dNetFee, 0.0);
    }
    settings.m_dPhoneFee = 1.0;
    clock.Set(Dec(8, 12));
    recorder.SettleOnExit();
    EXPECT_EQ(settings.m_dPhoneFee, 1.0);
    clock.Set(Dec(7, 12));
    settings.m_bAutoClear = false;
    recorder.SettleOnExit();
    EXPECT_EQ(settings.m_dPhoneFee, 1.0);
}

void WriteRecord(const std::string& path, int i, const std::string& start, const char* phone,
                 const char* net, const std::string& name) {
    const std::string section = std::to_string(i);
    WriteProfileValue(path, section, "Start", start);
    WriteProfileValue(path, section, "End", start);
    WriteProfileValue(path, section, "Connected", "0:5:0");
    WriteProfileValue(path, section, "PhoneFee", phone);
    WriteProfileValue(path, section, "NetFee", net);
    WriteProfileValue(path, section, "Name", name);
}

TEST(OnlineLog, ExtractionSkipsEarlierRecordsAndStopsAtTheFirstLaterOne) {
    testing::TempDir dir;
    const std::string path = dir.File("Fee.ini");
    EXPECT_EQ(ExtractLog(path, {2026, 3, 1}, {2026, 3, 31}).status,
              LogExtract::Status::NoRecordFile);
    WriteRecord(path, 0, "2026-03-01 08:00:00", "0.11", "0.50", "163");
    WriteRecord(path, 1, "2026-03-05 23:59:30", "0.44", "1.25", "办公室");
    WriteRecord(path, 2, "2026-03-20 10:00:00", "0.55", "0.50", "163");
    WriteRecord(path, 3, "2026-03-21 00:00:00", "9.00", "9.00", "163");
    WriteRecord(path, 4, "2026-03-10 10:00:00", "8.00", "8.00", "163");  // out of order: unseen
    WriteProfileValue(path, "Main", "Total", "5");

    const LogExtract log = ExtractLog(path, {2026, 3, 5}, {2026, 3, 20});
    ASSERT_EQ(log.status, LogExtract::Status::Ok);
    ASSERT_EQ(log.rows.size(), 2u);
    EXPECT_EQ(log.rows[0].start, "2026-03-05 23:59:30");
    EXPECT_EQ(log.rows[0].connected, "0:5:0");
    EXPECT_EQ(log.rows[0].fee, "1.69");
    EXPECT_EQ(log.rows[0].name, "办公室");
    EXPECT_EQ(log.rows[1].fee, "1.05");
    EXPECT_NEAR(log.phoneSum, 0.99, 1e-9);
    EXPECT_NEAR(log.netSum, 1.75, 1e-9);
    EXPECT_EQ(log.title, "上网记录(电话费:0.99元 上网费:1.75元 小计:2.74元)");

    EXPECT_EQ(ExtractLog(path, {2026, 3, 21}, {2026, 3, 20}).status,
              LogExtract::Status::InvalidRange);
    const LogExtract empty = ExtractLog(path, {2025, 1, 1}, {2025, 12, 31});
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_EQ(empty.title, "上网记录(电话费:0.00元 上网费:0.00元 小计:0.00元)");
}

// A damaged record count neither wraps round nor makes the reading walk billions of missing
// records: only the records present below the count are read, in order.
TEST(OnlineLog, ADamagedOrHugeCountReadsTheRecordsPresent) {
    struct Case {
        const char* total;
        std::size_t rows;
    };
    const Case cases[] = {
        {"99999999999999999999", 3},
        {"9223372036854775807", 3},
        {"2147483648", 3},
        {"3", 3},
        {"2", 2},
        {"-1", 0},
        {"abc", 0},
        {"", 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.total);
        testing::TempDir dir;
        const std::string path = dir.File("Fee.ini");
        WriteRecord(path, 0, "2026-03-01 08:00:00", "0.11", "0.50", "163");
        WriteRecord(path, 1, "2026-03-02 08:00:00", "0.11", "0.50", "163");
        WriteRecord(path, 2, "2026-03-03 08:00:00", "0.11", "0.50", "163");
        WriteProfileValue(path, "Main", "Total", test.total);
        const LogExtract log = ExtractLog(path, {2026, 1, 1}, {2026, 12, 31});
        EXPECT_EQ(log.status, LogExtract::Status::Ok);
        EXPECT_EQ(log.rows.size(), test.rows);
    }
}

// A count damaged below the records present: the next record goes after them, not over one.
TEST(OnlineLog, TheNextRecordGoesAfterEveryRecordPresent) {
    struct Case {
        const char* total;  // nullptr: no count at all
        std::int64_t next;
    };
    const Case cases[] = {{"3", 3}, {"7", 7}, {"1", 3}, {"-5", 3}, {"abc", 3}, {nullptr, 3}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.total != nullptr ? test.total : "none");
        ProfileFile log;
        for (int i = 0; i < 3; ++i) {
            log.SetString(std::to_string(i), "Start", "2026-03-01 08:00:00");
        }
        log.SetString("007", "Start", "not a record's name");
        if (test.total != nullptr) {
            log.SetString("Main", "Total", test.total);
        }
        EXPECT_EQ(NextRecordIndex(log), test.next);
    }
    EXPECT_EQ(NextRecordIndex(ProfileFile()), 0);
}

TEST(OnlineLog, DefaultRangeIsTheBillingPeriodOfToday) {
    using D = CalendarDate;
    const auto range = [](CivilTime today, int n) {
        const LogRange r = DefaultLogRange(today, n);
        return std::pair(r.from, r.to);
    };
    EXPECT_EQ(range({2026, 3, 5}, 20), std::pair(D{2026, 2, 21}, D{2026, 3, 20}));
    EXPECT_EQ(range({2026, 3, 25}, 20), std::pair(D{2026, 3, 21}, D{2026, 4, 20}));
    EXPECT_EQ(range({2026, 3, 20}, 20), std::pair(D{2026, 2, 21}, D{2026, 3, 20}));
    EXPECT_EQ(range({2026, 1, 5}, 20), std::pair(D{2025, 12, 21}, D{2026, 1, 20}));
    EXPECT_EQ(range({2026, 12, 25}, 20), std::pair(D{2026, 12, 21}, D{2027, 1, 20}));
    // Settlement days past the end of a short month stand for its last day.
    EXPECT_EQ(range({2026, 2, 10}, 30), std::pair(D{2026, 1, 31}, D{2026, 2, 28}));
    EXPECT_EQ(range({2026, 3, 5}, 30), std::pair(D{2026, 3, 1}, D{2026, 3, 30}));
    EXPECT_EQ(range({2028, 1, 31}, 30), std::pair(D{2028, 1, 31}, D{2028, 2, 29}));
    EXPECT_EQ(range({2026, 4, 30}, 31), std::pair(D{2026, 4, 1}, D{2026, 4, 30}));
    EXPECT_EQ(range({2026, 12, 31}, 30), std::pair(D{2026, 12, 31}, D{2027, 1, 30}));
    EXPECT_EQ(range({2026, 5, 1}, 0), std::pair(D{2026, 4, 2}, D{2026, 5, 1}));
}

}  // namespace
}  // namespace quorlet
