// The dial-up window and the online log through the real main window, over the simulated
// dial-up service a DialSim.ini in the program folder gives: dialling, its failures, the redial,
// hanging up and closing during a dial, the recording of the line and the log of it.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <fstream>
#include <thread>

#include "app/exit_rules.h"
#include "app_ids.h"
#include "dialog_helpers.h"
#include "dialup/dial_progress.h"
#include "dialup/dial_settings.h"
#include "dialup/online_log.h"
#include "dialup_ids.h"
#include "gui_support.h"
#include "platform/file_system.h"
#include "platform/simulated_remote_access.h"
#include "resource.h"
#include "ui/controls.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::MainWindowHarness;

constexpr const char* kPhoneBook = "[Entries]\r\nTotal=2\r\n0=163\r\n1=办公室\r\n";
constexpr const char* kAliceDial =
    "[Dial]\r\nStates=0,1,2,3,4,5,6,10,14,0x2000\r\nDelay=100\r\nUser=alice\r\n"
    "Password=secret\r\n";

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The program folder's DialSim.ini and the service the program makes of it. The service keeps
// every notifier it hands on, so that a test can report late for a dial, as the system may.
class SimulatedDialUp final : public RemoteAccess {
public:
    SimulatedDialUp(MainWindowHarness& harness, std::string dialSim)
        : m_path(harness.folder.Path() + "\\DialSim.ini"), m_dialSim(std::move(dialSim)) {
        WriteFile(m_path, m_dialSim);
        m_service = MakeRemoteAccess(harness.folder.Path());
        sim = dynamic_cast<SimulatedRemoteAccess*>(m_service.get());
        harness.dialUp = this;
    }
    // Rewrites the [Line] section, which the service reads again at every look at the line.
    void SetLine(const std::string& line) { WriteFile(m_path, m_dialSim + "[Line]\r\n" + line); }

    // No connection of the program's and none left in the service.
    void ExpectHungUp() {
        EXPECT_EQ(TheDialState().hConn, 0u);
        EXPECT_TRUE(m_service->EnumConnections()->empty());
    }

    SimulatedRemoteAccess* sim = nullptr;
    std::vector<DialNotifier> notifiers;

    std::optional<std::vector<std::string>> EnumEntries() override {
        return m_service->EnumEntries();
    }
    unsigned Dial(const std::string& entry, const std::string& user, const std::string& password,
                  DialNotifier notifier, RasHandle& handle) override {
        notifiers.push_back(notifier);
        return m_service->Dial(entry, user, password, notifier, handle);
    }
    std::optional<std::string> ErrorString(unsigned code) override {
        return m_service->ErrorString(code);
    }
    unsigned HangUp(RasHandle handle) override { return m_service->HangUp(handle); }
    std::optional<std::vector<Connection>> EnumConnections() override {
        return m_service->EnumConnections();
    }
    std::optional<unsigned> ConnectState(RasHandle handle) override {
        return m_service->ConnectState(handle);
    }

private:
    std::string m_path;
    std::string m_dialSim;
    std::unique_ptr<RemoteAccess> m_service;
};

HWND DialWindow() {
    CDialDlg* dialog = TheDialState().pDialDlg;
    return dialog != nullptr ? dialog->GetSafeHwnd() : nullptr;
}

std::string Status() {
    return ui::GetText(GetDlgItem(DialWindow(), IDC_DIAL_STATUS));
}

bool Enabled(int id) {
    return IsWindowEnabled(GetDlgItem(DialWindow(), id)) != FALSE;
}

// Runs the thread's messages one at a time and notes every new status text of the dial-up
// window, until done holds or the time is up.
std::vector<std::string> WatchStatus(const std::function<bool()>& done,
                                     std::chrono::milliseconds timeout) {
    std::vector<std::string> seen;
    const auto note = [&] {
        if (DialWindow() != nullptr && (seen.empty() || seen.back() != Status())) {
            seen.push_back(Status());
        }
    };
    note();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ui::DispatchThreadMessage(message);
            note();
        } else {
            Sleep(2);
        }
    }
    return seen;
}

TEST(DialWindow, F9DialsWithTheStoredCredentialsShowsEveryStepAndConnects) {
    for (const bool autoCheck : {true, false}) {
        SCOPED_TRACE(autoCheck ? "AutoCheck on" : "AutoCheck off");
        MainWindowHarness harness;
        SimulatedDialUp dialUp(harness, std::string(kPhoneBook) + kAliceDial);
        MainSettings settings;
        settings.m_bAutoCheck = autoCheck;
        harness.Store(settings, {{"工作邮箱", "pop.work.example", "zhang", "pw1"}});
        DialSettings stored{"alice", "secret", true, "0"};
        ASSERT_EQ(SaveDialSettings(kDialIniPath, "163", stored), DialSaveResult::Saved);
        harness.Run([&](CMainDlg& window) {
            testing::PressKey(window.m_hWnd, VK_F9);
            const HWND dial = DialWindow();
            ASSERT_NE(dial, nullptr);
            testing::PressKey(window.m_hWnd, VK_F9);  // the open window stays the only one
            EXPECT_EQ(DialWindow(), dial);
            EXPECT_TRUE(IsWindowVisible(dial));
            ASSERT_EQ(testing::Entries(dial, IDC_DIAL_CONNECTION),
                      (std::vector<std::string>{"163", "办公室"}));
            EXPECT_EQ(ui::GetText(GetDlgItem(dial, IDC_DIAL_USER)), "alice");
            EXPECT_EQ(IsDlgButtonChecked(dial, IDC_DIAL_SAVE_PASSWORD), BST_CHECKED);
            // Each selection loads its entry's settings afresh.
            testing::Choose(dial, IDC_DIAL_CONNECTION, 1);
            EXPECT_EQ(ui::GetText(GetDlgItem(dial, IDC_DIAL_USER)), "");
            EXPECT_EQ(ui::GetText(GetDlgItem(dial, IDC_DIAL_REDIAL_TIME)), "30");
            EXPECT_EQ(IsDlgButtonChecked(dial, IDC_DIAL_SAVE_PASSWORD), BST_UNCHECKED);
            testing::Choose(dial, IDC_DIAL_CONNECTION, 0);
            EXPECT_EQ(ui::GetText(GetDlgItem(dial, IDC_DIAL_PASSWORD)), "secret");
            EXPECT_EQ(ui::GetText(GetDlgItem(dial, IDC_DIAL_REDIAL_TIME)), "0");
            if (autoCheck) {
                testing::SaveScreenshot(dial, "dial_window");
            }

            testing::Click(dial, IDC_DIAL_START);
            EXPECT_FALSE(Enabled(IDC_DIAL_START));
            EXPECT_FALSE(Enabled(IDC_DIAL_CONNECTION));
            EXPECT_TRUE(Enabled(IDC_DIAL_HANG_UP));
            const std::vector<std::string> steps =
                WatchStatus([] { return DialWindow() == nullptr; }, 5s);
            EXPECT_EQ(steps, (std::vector<std::string>{
                                 "未连接", "正在打开端口", "端口已经打开", "连接设备",
                                 "已经连接到设备", "已经连接到所有设备", "验证用户名和口令",
                                 "开始传输信息包", "已通过验证", "已经连接"}));
            EXPECT_EQ(DialWindow(), nullptr);  // connected: the window closed itself
            EXPECT_TRUE(TheDialState().bOnline);
            EXPECT_NE(TheDialState().hConn, 0u);
            EXPECT_EQ(dialUp.sim->LastDialUser(), "alice");
            // "Quorlet comm" started a check only with AutoCheck on: the account's row shows
            // what the check found.
            const ui::CListCtrl accounts(window.GetDlgItem(IDC_ACCOUNT_LIST));
            const auto checked = [&] { return !accounts.GetItemText(0, 2).empty(); };
            if (autoCheck) {
                EXPECT_TRUE(testing::PumpUntil(checked, 5s));
                EXPECT_TRUE(testing::PumpUntil([&] { return !window.Busy(); }, 5s));
            } else {
                testing::PumpFor(300ms);
                EXPECT_FALSE(checked());
            }

            // With the own line up the command asks first: No keeps the line, Yes hangs up.
            harness.prompter.shown.clear();
            harness.prompter.answers = {MessageAnswer::No};
            window.SendMessage(WM_COMMAND, ID_DIAL);
            ASSERT_EQ(harness.prompter.shown.size(), 1u);
            EXPECT_EQ(harness.prompter.shown[0].text, "确定断开线路 ?");
            EXPECT_EQ(harness.prompter.shown[0].title, "提示");
            EXPECT_EQ(harness.prompter.shown[0].icon, MessageIcon::Question);
            EXPECT_TRUE(TheDialState().bOnline);
            EXPECT_EQ(DialWindow(), nullptr);
            harness.prompter.answers = {MessageAnswer::Yes};
            window.SendMessage(WM_COMMAND, ID_DIAL);
            EXPECT_FALSE(TheDialState().bOnline);
            dialUp.ExpectHungUp();
            EXPECT_EQ(DialWindow(), nullptr);

            harness.prompter.answers = {MessageAnswer::Yes};
            window.SendMessage(WM_COMMAND, ID_EXIT);
        });
        // The window closed with the box on: the entry's settings are saved as they were.
        EXPECT_EQ(LoadDialSettings(kDialIniPath, "163").m_strUser, "alice");
    }
}

TEST(DialWindow, FailuresRedialHangUpLateReportsAndCloseDuringADial) {
    MainWindowHarness harness;
    SimulatedDialUp dialUp(harness, std::string(kPhoneBook) +
                                        "[Dial]\r\nStates=0,1,5,10,0x2000\r\nDelay=150\r\n"
                                        "User=alice\r\nPassword=secret\r\n");
    harness.Run([&](CMainDlg& window) {
        window.SendMessage(WM_COMMAND, ID_DIAL);
        HWND dial = DialWindow();
        ASSERT_NE(dial, nullptr);
        const auto idle = [] { return Enabled(IDC_DIAL_START); };

        // Wrong credentials: 691 in the status line, the line hung up, no message box.
        SetDlgItemTextW(dial, IDC_DIAL_USER, L"bob");
        SetDlgItemTextW(dial, IDC_DIAL_PASSWORD, L"guess");
        testing::Click(dial, IDC_DIAL_START);
        ASSERT_TRUE(testing::PumpUntil(idle, 5s));
        EXPECT_NE(Status().find("错误代码为：691."), std::string::npos) << Status();
        EXPECT_FALSE(Enabled(IDC_DIAL_HANG_UP));
        EXPECT_FALSE(TheDialState().bOnline);
        dialUp.ExpectHungUp();

        // An error reported with a state, after the progress.
        SimulatedRemoteAccess::DialScript script;
        script.states = {RasState::kOpenPort, RasState::kConnectDevice};
        script.finalError = RasError::kNoAnswer;
        script.delayMs = 100;
        dialUp.sim->SetDialScript(script);
        testing::Click(dial, IDC_DIAL_START);
        ASSERT_TRUE(testing::PumpUntil(idle, 5s));
        EXPECT_EQ(Status(), "远程计算机没有响应。错误代码为：678.");
        EXPECT_TRUE(harness.prompter.shown.empty());

        // A dial refused at once: the message box, and the redial after the interval (one
        // second, then the pause of two).
        script.immediateError = RasError::kLineBusy;
        dialUp.sim->SetDialScript(script);
        SetDlgItemTextW(dial, IDC_DIAL_REDIAL_TIME, L"1");
        const int dialsBefore = dialUp.sim->DialCount();
        testing::Click(dial, IDC_DIAL_START);
        ASSERT_EQ(harness.prompter.shown.size(), 1u);
        EXPECT_EQ(harness.prompter.shown[0].title, "拨号失败");
        EXPECT_EQ(harness.prompter.shown[0].icon, MessageIcon::Stop);
        EXPECT_NE(harness.prompter.shown[0].text.find("错误代码为：676."), std::string::npos);
        EXPECT_TRUE(idle());
        EXPECT_TRUE(
            testing::PumpUntil([&] { return dialUp.sim->DialCount() == dialsBefore + 2; }, 6s));
        EXPECT_EQ(harness.prompter.shown.size(), 2u);
        // Closing stops the redial; the box is off, so only "Auto" = "0" is written.
        PostMessageW(dial, WM_CLOSE, 0, 0);
        ASSERT_TRUE(testing::PumpUntil([] { return DialWindow() == nullptr; }, 2s));
        const int dialsAtClose = dialUp.sim->DialCount();
        testing::PumpFor(1500ms);
        EXPECT_EQ(dialUp.sim->DialCount(), dialsAtClose);

        // Hanging up during a dial; the report the system still sends for it afterwards does
        // not touch the next dial.
        script = {SimulatedRemoteAccess::StandardStates(), 0, 0, 200, std::nullopt, ""};
        dialUp.sim->SetDialScript(script);
        window.SendMessage(WM_COMMAND, ID_DIAL);
        dial = DialWindow();
        SetDlgItemTextW(dial, IDC_DIAL_REDIAL_TIME, L"0");
        testing::Click(dial, IDC_DIAL_START);
        ASSERT_TRUE(testing::PumpUntil([] { return Status() == "正在打开端口"; }, 3s));
        testing::Click(dial, IDC_DIAL_HANG_UP);
        EXPECT_EQ(Status(), "未连接");
        EXPECT_TRUE(idle());
        dialUp.ExpectHungUp();
        const RemoteAccess::DialNotifier hungUp = dialUp.notifiers.back();
        std::thread([&] { hungUp(RasState::kDisconnected, 0); }).join();
        testing::PumpFor(100ms);
        EXPECT_EQ(Status(), "未连接");
        testing::Click(dial, IDC_DIAL_START);
        std::thread([&] { hungUp(RasState::kConnected, 0); }).join();
        std::thread([&] { hungUp(RasState::kConnectDevice, RasError::kNoAnswer); }).join();
        testing::PumpFor(50ms);
        EXPECT_EQ(DialWindow(), dial);
        EXPECT_FALSE(TheDialState().bOnline);
        EXPECT_FALSE(idle());
        EXPECT_EQ(Status().find("错误代码"), std::string::npos);
        EXPECT_TRUE(testing::PumpUntil([] { return Status() == "正在打开端口"; }, 3s));

        // Closing during that dial: the window says so and goes at the next report, which
        // hangs up.
        PostMessageW(dial, WM_CLOSE, 0, 0);
        testing::PumpFor(20ms);
        EXPECT_EQ(ui::GetText(dial), "正在断开...");
        EXPECT_EQ(DialWindow(), dial);
        EXPECT_TRUE(testing::PumpUntil([] { return DialWindow() == nullptr; }, 3s));
        EXPECT_FALSE(TheDialState().bOnline);
        dialUp.sim->WaitUntilIdle();
        dialUp.ExpectHungUp();

        // A dial that stops reporting: the redial tick ends the close the window waits for.
        script.delayMs = 10000;
        dialUp.sim->SetDialScript(script);
        window.SendMessage(WM_COMMAND, ID_DIAL);
        dial = DialWindow();
        SetDlgItemTextW(dial, IDC_DIAL_REDIAL_TIME, L"1");
        testing::Click(dial, IDC_DIAL_START);
        PostMessageW(dial, WM_CLOSE, 0, 0);
        EXPECT_TRUE(testing::PumpUntil([] { return DialWindow() == nullptr; }, 3s));
        dialUp.ExpectHungUp();

        harness.prompter.answers = {MessageAnswer::Yes};
        window.SendMessage(WM_COMMAND, ID_EXIT);
    });
    EXPECT_FALSE(LoadDialSettings(kDialIniPath, "163").m_bSavePassword);
}

CalendarDate PickedDate(HWND dialog, int id) {
    SYSTEMTIME time{};
    SendMessageW(GetDlgItem(dialog, id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return {time.wYear, time.wMonth, time.wDay};
}

std::string FeeLog(const MainWindowHarness& harness) {
    return ReadWholeFile(harness.folder.Path() + "\\Fee.ini").value_or("<missing>");
}

// Dials the first entry through F9's window and waits until the line watch times the line.
void DialAndWaitForThePeriod(CMainDlg& window) {
    window.SendMessage(WM_COMMAND, ID_DIAL);
    ASSERT_NE(DialWindow(), nullptr);
    testing::Click(DialWindow(), IDC_DIAL_START);
    ASSERT_TRUE(testing::PumpUntil([] { return TheDialState().bOnline; }, 5s));
    ASSERT_TRUE(testing::PumpUntil([&] { return window.Recorder().m_bRecording; }, 3s));
}

TEST(DialWindow, ALineUpIsRecordedShownInTheTipAndListedInTheLog) {
    MainWindowHarness harness;
    SimulatedDialUp dialUp(harness, std::string(kPhoneBook) + "[Dial]\r\nDelay=20\r\n");
    MainSettings settings;
    settings.m_bRecord = true;
    settings.m_strAheadTime = "30";
    harness.Store(settings, {});
    harness.Run([&](CMainDlg& window) {
        EXPECT_TRUE(harness.prompter.shown.empty());  // no line at the start: no warning
        DialAndWaitForThePeriod(window);
        harness.clock.Advance(90);
        window.SendMessage(WM_TIMER, kTimerOnlineTime);
        EXPECT_EQ(window.TrayIcon().Tip(), "手动检测状态 联网时间:0小时2分");
        // The line is lost: the watch ends the period, prices and logs it.
        dialUp.SetLine("Cut=1\r\n");
        ASSERT_TRUE(testing::PumpUntil([&] { return !window.Recorder().m_bRecording; }, 3s));
        EXPECT_EQ(window.TrayIcon().Tip(), "手动检测状态");
        EXPECT_FALSE(TheDialState().bOnline);
        EXPECT_EQ(TheDialState().hConn, 0u);
        EXPECT_EQ(FeeLog(harness),
                  "[0]\r\nStart=2024-05-03 09:59:30\r\nEnd=2024-05-03 10:01:30\r\n"
                  "Connected=0:2:0\r\nPhoneFee=0.11\r\nNetFee=0.10\r\nName=163\r\n"
                  "[Main]\r\nTotal=1\r\n");

        // F7: the log opens on today's billing period (settlement day 20) and lists the record.
        ui::SetDialogScript(IDD_ONLINE_LOG, [&](ui::CDialog& log) {
            EXPECT_EQ(PickedDate(log, IDC_ONLINE_LOG_FROM), (CalendarDate{2024, 4, 21}));
            EXPECT_EQ(PickedDate(log, IDC_ONLINE_LOG_TO), (CalendarDate{2024, 5, 20}));
            const ui::CListCtrl periods(log.GetDlgItem(IDC_ONLINE_LOG_PERIODS));
            EXPECT_EQ(periods.GetColumnCount(), 5);
            EXPECT_FALSE(IsWindowEnabled(log.GetDlgItem(IDC_ONLINE_LOG_DELETE)));
            testing::Click(log, IDC_ONLINE_LOG_EXTRACT);
            ASSERT_EQ(periods.GetItemCount(), 1);
            std::vector<std::string> row;
            for (int column = 0; column < 5; ++column) {
                row.push_back(periods.GetItemText(0, column));
            }
            EXPECT_EQ(row, (std::vector<std::string>{"2024-05-03 09:59:30", "2024-05-03 10:01:30",
                                                     "0:2:0", "0.21", "163"}));
            EXPECT_EQ(log.GetWindowText(), "上网记录(电话费:0.11元 上网费:0.10元 小计:0.21元)");
            testing::SaveScreenshot(log, "online_log_window");
            // A range that ends before it begins: the message, and the list stays.
            SYSTEMTIME early{2024, 4, 0, 1};  // 2024-04-01
            SendMessageW(log.GetDlgItem(IDC_ONLINE_LOG_TO), DTM_SETSYSTEMTIME, GDT_VALID,
                         reinterpret_cast<LPARAM>(&early));
            testing::Click(log, IDC_ONLINE_LOG_EXTRACT);
            EXPECT_EQ(harness.prompter.Texts(), std::vector<std::string>{"选择的时间段无效 !"});
            EXPECT_EQ(harness.prompter.shown.back().title, "错误");
            EXPECT_EQ(periods.GetItemCount(), 1);
            testing::Click(log, IDC_ONLINE_LOG_EXIT);
        });
        testing::PressKey(window.m_hWnd, VK_F7);
        ui::SetDialogScript(IDD_ONLINE_LOG, nullptr);
        EXPECT_EQ(harness.prompter.shown.size(), 1u);  // the log window did run

        // Exit during a period of the own line: one question, the period logged once, the line
        // hung up.
        dialUp.SetLine("Cut=0\r\n");
        DialAndWaitForThePeriod(window);
        harness.clock.Advance(60);
        harness.prompter.shown.clear();
        harness.prompter.answers = {MessageAnswer::Yes};
        window.SendMessage(WM_COMMAND, ID_EXIT);
        EXPECT_EQ(harness.prompter.Texts(),
                  std::vector<std::string>{ChooseExitQuestion(true, true).text});
    });
    std::string log = FeeLog(harness);
    EXPECT_NE(log.find("[1]\r\nStart=2024-05-03 10:01:00\r\nEnd=2024-05-03 10:02:30\r\n"
                       "Connected=0:1:30\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Total=2\r\n"), std::string::npos) << log;
    EXPECT_TRUE(dialUp.EnumConnections()->empty());

    // Started while another program's line is up: the warning, and the session end logs the
    // period, timed from the start.
    dialUp.SetLine("Other=163\r\n");
    harness.prompter.shown.clear();
    harness.Run([&](CMainDlg& window) {
        EXPECT_EQ(harness.prompter.Texts(),
                  std::vector<std::string>{"在上网后运行鸥信通将使之不能正确记录在线时间 !"});
        ASSERT_TRUE(testing::PumpUntil([&] { return window.Recorder().m_bRecording; }, 3s));
        harness.clock.Advance(45);
        EXPECT_EQ(window.SendMessage(WM_QUERYENDSESSION, 0, 0), TRUE);
        EXPECT_EQ(harness.prompter.shown.size(), 1u);
        window.EndDialog(IDCANCEL);
    });
    log = FeeLog(harness);
    EXPECT_NE(log.find("[2]\r\nStart=2024-05-03 10:02:00\r\nEnd=2024-05-03 10:03:15\r\n"
                       "Connected=0:1:15\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Total=3\r\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace quorlet
