// The fee settings with their rate and discount-time windows, and the plan sheet, in the real
// main window over a simulated line and a clock the test moves: what they write to Fare.ini and
// Holiday.ini, the totals they clear, and plans that hang up or sound at the checks. Screenshots
// of every one of these windows go to the build folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>

#include "dialog_helpers.h"
#include "dialup/fee_settings.h"
#include "dialup/plan_pages.h"
#include "dialup_ids.h"
#include "gui_support.h"
#include "platform/file_system.h"
#include "platform/simulated_remote_access.h"
#include "resource.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::Checked;
using testing::Choose;
using testing::Click;
using testing::Enabled;
using testing::Entries;
using testing::GoTo;
using testing::MainWindowHarness;
using testing::ShowingPage;
using testing::TextOf;
using testing::Type;

int Selection(HWND dialog, int id) {
    return ui::CListBox(GetDlgItem(dialog, id)).GetCurSel();
}

std::string FileText(const std::string& name) {
    return ReadWholeFile(name).value_or("(none)");
}

// Opens the window of `dialogId` by sending `command` to `owner` (a command or a button), runs
// `body` in it, and fails when it did not open.
void With(HWND owner, int command, int dialogId, const std::function<void(HWND)>& body) {
    bool ran = false;
    ui::SetDialogScript(dialogId, [&](ui::CDialog& dialog) {
        ran = true;
        body(dialog.m_hWnd);
    });
    SendMessageW(owner, WM_COMMAND, command, 0);
    ui::SetDialogScript(dialogId, nullptr);
    EXPECT_TRUE(ran) << "window " << dialogId << " did not open";
}

// A phone book and the program's own dial, reporting at once.
class SimulatedLine {
public:
    explicit SimulatedLine(std::vector<std::string> entries) {
        ras.SetEntries(std::move(entries));
        SimulatedRemoteAccess::DialScript script;
        script.states = SimulatedRemoteAccess::StandardStates();
        script.delayMs = 0;
        ras.SetDialScript(script);
    }
    // The program's own connection comes up, as the dial-up window leaves it.
    void DialOwn(const std::string& entry) {
        ras.Dial(entry, "user", "pw", nullptr, TheDialState().hConn);
        ras.WaitUntilIdle();
        TheDialState().bOnline = true;
    }
    bool Up() {
        std::string name;
        return IsLineConnected(ras, name);
    }
    SimulatedRemoteAccess ras;
};

TEST(FeeWindows, RatesTimesAndHolidaysAreSavedAndClearingZeroesTheTotals) {
    SimulatedLine line({"Office", "163"});
    MainWindowHarness harness;
    harness.dialUp = &line.ras;
    MainSettings settings;
    settings.m_dPhoneFee = 3.25;
    settings.m_dNetFee = 1.5;
    harness.Store(settings, {});
    harness.Run([&](CMainDlg& window) {
        // A period of "163" runs, priced by its stored tariff (none: the defaults).
        line.DialOwn("163");
        window.SendMessage(WM_TIMER, kTimerWatchLine);
        ASSERT_TRUE(window.Recorder().m_bRecording);

        With(window, ID_FEE_SETTINGS, IDD_FEE, [&](HWND fee) {
            EXPECT_EQ(ui::GetText(fee), "费用设置");
            EXPECT_EQ(TextOf(fee, IDC_FEE_TOTAL_PHONE), "3.25");
            EXPECT_EQ(TextOf(fee, IDC_FEE_TOTAL_NET), "1.50");
            EXPECT_EQ(TextOf(fee, IDC_FEE_TOTAL), "4.75");
            EXPECT_EQ(SendDlgItemMessageW(fee, IDC_FEE_CONNECTION, CB_GETCOUNT, 0, 0), 2);
            EXPECT_EQ(TextOf(fee, IDC_FEE_CONNECTION), "Office");
            testing::SaveScreenshot(fee, "fee-settings");

            // Rates: cancelled first, then changed; a fare is taken as shown.
            With(fee, IDC_FEE_RATE_SETTINGS, IDD_RATE, [&](HWND rate) {
                EXPECT_EQ(TextOf(rate, IDC_RATE_PHONE_FARE), "0.11");
                EXPECT_EQ(TextOf(rate, IDC_RATE_PHONE_UNIT), "3");
                EXPECT_EQ(TextOf(rate, IDC_RATE_NET_FARE), "3.00");
                EXPECT_EQ(TextOf(rate, IDC_RATE_NET_UNIT), "60");
                testing::SaveScreenshot(rate, "fee-rates");
                Type(rate, IDC_RATE_NET_FARE, "9");
                Click(rate, IDC_RATE_CANCEL);
            });
            With(fee, IDC_FEE_RATE_SETTINGS, IDD_RATE, [&](HWND rate) {
                EXPECT_EQ(TextOf(rate, IDC_RATE_NET_FARE), "3.00");
                Type(rate, IDC_RATE_PHONE_FARE, "0.115");
                Type(rate, IDC_RATE_PHONE_UNIT, "2");
                Type(rate, IDC_RATE_NET_FARE, "4.2");
                Type(rate, IDC_RATE_NET_UNIT, "30");
                Click(rate, IDC_RATE_OK);
            });
            With(fee, IDC_FEE_RATE_SETTINGS, IDD_RATE, [&](HWND rate) {
                EXPECT_EQ(TextOf(rate, IDC_RATE_PHONE_FARE), "0.12");
                EXPECT_EQ(TextOf(rate, IDC_RATE_NET_FARE), "4.20");
                Click(rate, IDC_RATE_OK);
            });

            // Discount time and holidays.
            With(fee, IDC_FEE_TIME_SETTINGS, IDD_SPECIAL_TIME, [&](HWND time) {
                EXPECT_EQ(TextOf(time, IDC_SPECIAL_TIME_BEGIN), "23");
                EXPECT_EQ(TextOf(time, IDC_SPECIAL_TIME_END), "8");
                EXPECT_EQ(TextOf(time, IDC_SPECIAL_TIME_HOLIDAY_PHONE), "100");
                EXPECT_EQ(TextOf(time, IDC_SPECIAL_TIME_MONTH), "01月");
                EXPECT_EQ(TextOf(time, IDC_SPECIAL_TIME_DAY), "01日");
                EXPECT_TRUE(Checked(time, IDC_SPECIAL_TIME_WEEKEND));
                EXPECT_TRUE(Enabled(time, IDC_SPECIAL_TIME_WEEKEND_NET));
                EXPECT_FALSE(Enabled(time, IDC_SPECIAL_TIME_DELETE));
                Click(time, IDC_SPECIAL_TIME_WEEKEND);
                EXPECT_FALSE(Enabled(time, IDC_SPECIAL_TIME_WEEKEND_NET));
                EXPECT_FALSE(Enabled(time, IDC_SPECIAL_TIME_WEEKEND_PHONE));
                Type(time, IDC_SPECIAL_TIME_BEGIN, "22");
                Type(time, IDC_SPECIAL_TIME_END, "7");
                Type(time, IDC_SPECIAL_TIME_HOURS_NET, "40");
                Type(time, IDC_SPECIAL_TIME_HOLIDAY_NET, "30");

                Choose(time, IDC_SPECIAL_TIME_MONTH, 9);
                Click(time, IDC_SPECIAL_TIME_ADD);
                Choose(time, IDC_SPECIAL_TIME_MONTH, 4);
                Choose(time, IDC_SPECIAL_TIME_DAY, 30);
                Click(time, IDC_SPECIAL_TIME_ADD);
                Click(time, IDC_SPECIAL_TIME_ADD);  // twice: not refused
                EXPECT_EQ(Entries(time, IDC_SPECIAL_TIME_HOLIDAYS, false),
                          (std::vector<std::string>{"05月31日", "05月31日", "10月01日"}));
                testing::SaveScreenshot(time, "fee-special-time");
                Click(time, IDC_SPECIAL_TIME_DELETE);  // nothing chosen: nothing goes
                EXPECT_EQ(Entries(time, IDC_SPECIAL_TIME_HOLIDAYS, false).size(), 3u);
                Choose(time, IDC_SPECIAL_TIME_HOLIDAYS, 2, false);
                EXPECT_TRUE(Enabled(time, IDC_SPECIAL_TIME_DELETE));
                Click(time, IDC_SPECIAL_TIME_DELETE);  // the last: the new last is chosen
                EXPECT_EQ(Selection(time, IDC_SPECIAL_TIME_HOLIDAYS), 1);
                Choose(time, IDC_SPECIAL_TIME_HOLIDAYS, 0, false);
                Click(time, IDC_SPECIAL_TIME_DELETE);  // the first: the next moves up
                EXPECT_EQ(Selection(time, IDC_SPECIAL_TIME_HOLIDAYS), 0);
                Click(time, IDC_SPECIAL_TIME_OK);
            });
            EXPECT_EQ(FileText("Holiday.ini"), "[Office]\r\nTotal=1\r\n0=05月31日\r\n");
            // Cancelled, the holidays stay as they are in the file.
            With(fee, IDC_FEE_TIME_SETTINGS, IDD_SPECIAL_TIME, [&](HWND time) {
                EXPECT_EQ(Entries(time, IDC_SPECIAL_TIME_HOLIDAYS, false),
                          std::vector<std::string>{"05月31日"});
                EXPECT_FALSE(Checked(time, IDC_SPECIAL_TIME_WEEKEND));
                EXPECT_FALSE(Enabled(time, IDC_SPECIAL_TIME_WEEKEND_PHONE));
                EXPECT_EQ(TextOf(time, IDC_SPECIAL_TIME_BEGIN), "22");
                Click(time, IDC_SPECIAL_TIME_ADD);
                Type(time, IDC_SPECIAL_TIME_BEGIN, "1");
                Click(time, IDC_SPECIAL_TIME_CANCEL);
            });
            EXPECT_EQ(FileText("Holiday.ini"), "[Office]\r\nTotal=1\r\n0=05月31日\r\n");
            EXPECT_EQ(FileText("Fare.ini"), "(none)");  // only "保存设置" writes the tariff

            Click(fee, IDC_FEE_SAVE);
            testing::ExpectLastShown(harness.prompter, kFeeSettingsSaved, "提示",
                                     MessageIcon::Information);
            EXPECT_EQ(FileText("Fare.ini"),
                      "[Office]\r\nhBeginTime=22\r\nhEndTime=7\r\nhtNetFare=40\r\nhtTelFare=100\r\n"
                      "hFare_Weekend=0\r\nhwNetFare=50\r\nhwTelFare=100\r\nhdNetFare=30\r\n"
                      "hdTelFare=100\r\nNetFare=4.2\r\nTelFare=0.12\r\nNetUnit=30\r\n"
                      "TelUnit=2\r\n");

            // Another connection: its own stored tariff (the defaults) comes in.
            Choose(fee, IDC_FEE_CONNECTION, 1);
            With(fee, IDC_FEE_RATE_SETTINGS, IDD_RATE, [&](HWND rate) {
                EXPECT_EQ(TextOf(rate, IDC_RATE_NET_FARE), "3.00");
                Type(rate, IDC_RATE_NET_FARE, "60");  // kept in memory only
                Click(rate, IDC_RATE_OK);
            });

            // "清除": No changes nothing; Yes shows zeros, and "返回" closes.
            harness.prompter.answers = {MessageAnswer::No, MessageAnswer::Yes};
            Click(fee, IDC_FEE_CLEAR);
            testing::ExpectLastShown(harness.prompter, kAskClearTotals, "提示",
                                     MessageIcon::Information);
            EXPECT_EQ(harness.prompter.shown.back().buttons, MessageButtons::YesNo);
            EXPECT_EQ(TextOf(fee, IDC_FEE_TOTAL), "4.75");
            Click(fee, IDC_FEE_CLEAR);
            EXPECT_EQ(TextOf(fee, IDC_FEE_TOTAL_PHONE), "0");
            EXPECT_EQ(TextOf(fee, IDC_FEE_TOTAL_NET), "0");
            EXPECT_EQ(TextOf(fee, IDC_FEE_TOTAL), "0");
            Click(fee, IDC_FEE_BACK);
        });
        EXPECT_EQ(window.Settings().m_dPhoneFee, 0.0);
        EXPECT_EQ(window.Settings().m_dNetFee, 0.0);

        // The running period is priced with its own connection's stored tariff, not with what
        // the fee window left in the table: ten weekday minutes at the defaults.
        harness.clock.Advance(10 * 60);
        line.ras.CutLine();
        window.SendMessage(WM_TIMER, kTimerWatchLine);
        EXPECT_FALSE(window.Recorder().m_bRecording);
        EXPECT_DOUBLE_EQ(window.Recorder().m_dNetFee, 0.50);
        EXPECT_DOUBLE_EQ(window.Recorder().m_dPhoneFee, 0.44);
        EXPECT_DOUBLE_EQ(window.Settings().m_dNetFee, 0.50);
        window.EndDialog(IDCANCEL);
    });
}

TEST(FeeWindows, WithoutEntriesItClosesAndFilesThatCannotBeWrittenAreNotCalledSaved) {
    SimulatedLine line({});
    MainWindowHarness harness;
    harness.dialUp = &line.ras;
    harness.Run([&](CMainDlg& window) {
        bool opened = false;
        ui::SetDialogScript(IDD_FEE, [&](ui::CDialog&) { opened = true; });
        window.SendMessage(WM_COMMAND, ID_FEE_SETTINGS);
        ui::SetDialogScript(IDD_FEE, nullptr);
        EXPECT_FALSE(opened);
        testing::ExpectLastShown(harness.prompter, kFeeNeedsDialUpEntry, "", MessageIcon::Stop);

        // Folders stand where the two files go.
        std::filesystem::create_directory("Fare.ini");
        std::filesystem::create_directory("Holiday.ini");
        line.ras.SetEntries({"Office"});
        With(window, ID_FEE_SETTINGS, IDD_FEE, [&](HWND fee) {
            Click(fee, IDC_FEE_SAVE);
            testing::ExpectLastShown(harness.prompter, kFeeSettingsNotSaved, "错误",
                                     MessageIcon::Stop);
            With(fee, IDC_FEE_TIME_SETTINGS, IDD_SPECIAL_TIME, [&](HWND time) {
                Click(time, IDC_SPECIAL_TIME_ADD);
                Click(time, IDC_SPECIAL_TIME_OK);
                testing::ExpectLastShown(harness.prompter, kHolidaysNotSaved, "错误",
                                         MessageIcon::Stop);
                EXPECT_TRUE(IsWindowVisible(time));  // still open: nothing was kept
                Click(time, IDC_SPECIAL_TIME_CANCEL);
            });
            Click(fee, IDC_FEE_BACK);
        });
        window.EndDialog(IDCANCEL);
    });
}

// The plan sheet, opened on its first page.
void WithPlanSheet(CMainDlg& window, const std::function<void(HWND sheet)>& body) {
    With(window, ID_ONLINE_PLAN, IDD_PLAN_SESSION, [&](HWND page) { body(GetParent(page)); });
}

TEST(PlanSheet, ASessionLimitSetInTheSheetHangsUpAtTheFirstCheckPastIt) {
    SimulatedLine line({"163"});
    MainWindowHarness harness;
    harness.dialUp = &line.ras;
    harness.Run([&](CMainDlg& window) {
        WithPlanSheet(window, [&](HWND sheet) {
            EXPECT_EQ(ui::GetText(sheet), "上网计划");
            const HWND session = ShowingPage(sheet);
            EXPECT_EQ(TextOf(session, IDC_PLAN_TIME), "0");
            EXPECT_EQ(TextOf(session, IDC_PLAN_FEE), "0.00");
            EXPECT_TRUE(Checked(session, IDC_PLAN_HANG_UP));
            for (int id : {IDC_PLAN_SOUND_FILE, IDC_PLAN_CHOOSE_SOUND, IDC_PLAN_PLAY_SOUND}) {
                EXPECT_FALSE(Enabled(session, id)) << id;
            }
            testing::SaveScreenshot(sheet, "plan-session");
            Type(session, IDC_PLAN_TIME, "");
            EXPECT_EQ(GoTo(sheet, 1), session);
            testing::ExpectLastShown(harness.prompter, kEnterPlanLimits, "提示",
                                     MessageIcon::Information);
            Type(session, IDC_PLAN_TIME, "30");
            Type(session, IDC_PLAN_FEE, "5");

            // The other page: the reminder needs a file, which the chooser gives.
            const HWND total = GoTo(sheet, 1);
            ASSERT_NE(total, session);
            testing::SaveScreenshot(sheet, "plan-total");
            Click(total, IDC_PLAN_SOUND);
            EXPECT_TRUE(Enabled(total, IDC_PLAN_PLAY_SOUND));
            Click(sheet, IDOK);
            testing::PumpFor(30ms);
            EXPECT_EQ(ShowingPage(sheet), total);
            testing::ExpectLastShown(harness.prompter, kChooseSoundFile, "提示",
                                     MessageIcon::Information);
            harness.prompter.files = {std::string("C:\\sounds\\horn.wav")};
            Click(total, IDC_PLAN_CHOOSE_SOUND);
            Click(total, IDC_PLAN_PLAY_SOUND);
            EXPECT_EQ(harness.sound.played, std::vector<std::string>{"C:\\sounds\\horn.wav"});
            Click(total, IDC_PLAN_HANG_UP);
            EXPECT_FALSE(Enabled(total, IDC_PLAN_SOUND_FILE));
            Click(sheet, IDOK);
        });
        const MainSettings& s = window.Settings();
        EXPECT_EQ(s.m_nSessionTimeLimit, 30);
        EXPECT_EQ(s.m_dSessionFeeLimit, 5.0);
        EXPECT_TRUE(s.m_bTotalHangUp);
        EXPECT_EQ(s.m_strTotalWav, "C:\\sounds\\horn.wav");

        // Checks every 30 seconds from the start of the period: the one at 30 minutes hangs up.
        line.DialOwn("163");
        window.SendMessage(WM_TIMER, kTimerWatchLine);
        int seconds = 0;
        while (line.Up() && seconds < 3600) {
            harness.clock.Advance(30);
            seconds += 30;
            window.SendMessage(WM_TIMER, kTimerOnlineTime);
        }
        EXPECT_EQ(seconds, 30 * 60);
        EXPECT_EQ(TheDialState().hConn, 0u);

        // Dialled again at once, before the line watch saw the line go: a new connection, not
        // hung up at the next check.
        line.DialOwn("163");
        window.SendMessage(WM_TIMER, kTimerWatchLine);
        harness.clock.Advance(30);
        window.SendMessage(WM_TIMER, kTimerOnlineTime);
        EXPECT_TRUE(line.Up());
        window.EndDialog(IDCANCEL);
    });
}

TEST(PlanSheet, ASoundPlanRepeatsUntilPlansAreSwitchedOffAndCancelKeepsThePlan) {
    SimulatedLine line({"163"});
    MainWindowHarness harness;
    harness.dialUp = &line.ras;
    MainSettings settings;
    settings.m_nTotalTimeLimit = 1;
    settings.m_bTotalHangUp = false;
    settings.m_strTotalWav = "C:\\sounds\\horn.wav";
    harness.Store(settings, {});
    harness.Run([&](CMainDlg& window) {
        WithPlanSheet(window, [&](HWND sheet) {
            const HWND total = GoTo(sheet, 1);
            EXPECT_EQ(TextOf(total, IDC_PLAN_TIME), "1");
            EXPECT_TRUE(Checked(total, IDC_PLAN_SOUND));
            EXPECT_EQ(TextOf(total, IDC_PLAN_SOUND_FILE), "C:\\sounds\\horn.wav");
            EXPECT_TRUE(Enabled(total, IDC_PLAN_CHOOSE_SOUND));
            Type(total, IDC_PLAN_TIME, "5");
            Click(total, IDC_PLAN_HANG_UP);
            Click(sheet, IDCANCEL);
        });
        EXPECT_EQ(window.Settings().m_nTotalTimeLimit, 1);
        EXPECT_FALSE(window.Settings().m_bTotalHangUp);

        line.DialOwn("163");
        window.SendMessage(WM_TIMER, kTimerWatchLine);
        const auto checkAfter = [&](int minutes) {
            harness.clock.Advance(minutes * 60);
            window.SendMessage(WM_TIMER, kTimerPlan);
            return harness.sound.played.size();
        };
        EXPECT_EQ(checkAfter(59), 0u);
        EXPECT_EQ(checkAfter(1), 1u);
        EXPECT_EQ(checkAfter(2), 2u);  // again at every check while the limit stays passed
        window.SendMessage(WM_COMMAND, ID_PLAN_ON);
        EXPECT_EQ(checkAfter(2), 2u);
        window.SendMessage(WM_COMMAND, ID_PLAN_ON);
        EXPECT_EQ(checkAfter(2), 3u);
        EXPECT_EQ(harness.sound.played.back(), "C:\\sounds\\horn.wav");
        EXPECT_TRUE(line.Up());
        window.EndDialog(IDCANCEL);
    });
}

}  // namespace
}  // namespace quorlet
