// The main window at work: the account list, every exit path, the hot keys, the menus in each
// state, the check mode, the end of a check and the small commands.
#include <gtest/gtest.h>

#include <windowsx.h>

#include "app/check_end.h"
#include "app/check_mode.h"
#include "app_ids.h"
#include "dialup/dial_state.h"
#include "gui_support.h"
#include "resource.h"
#include "ui/controls.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::MainWindowHarness;
using Probe = testing::MainDlgProbe;

AccountTable ThreeAccounts() {
    return {{"工作邮箱", "pop.work.example", "zhang", "pw1"},
            {"家庭", "pop.home.example", "li", "pw2"},
            {"订阅 newsletters", "mail.example.org", "news", "pw3"}};
}

// A left click in the middle of a row's cell at x (client coordinates of the list).
void ClickRow(HWND list, int row, int x) {
    RECT bounds;
    ui::CListCtrl(list).GetItemRect(row, bounds, LVIR_BOUNDS);
    const LPARAM point = MAKELPARAM(x, (bounds.top + bounds.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(list, WM_LBUTTONUP, 0, point);
    testing::PumpFor(50ms);
}

TEST(MainWindow, ThreeAccountsAreListedTickedAndAClickTogglesARowWithoutSelectingIt) {
    MainWindowHarness harness;
    harness.Store(MainSettings{}, ThreeAccounts());
    harness.Run([&](CMainDlg& window) {
        HWND listWindow = window.GetDlgItem(IDC_ACCOUNT_LIST);
        const ui::CListCtrl list(listWindow);
        ASSERT_EQ(list.GetItemCount(), 3);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(list.GetStateImage(row), 2);
            EXPECT_EQ(list.GetImage(row), 2);
        }
        EXPECT_EQ(list.GetItemText(0, 0), "工作邮箱");
        EXPECT_EQ(list.GetItemText(2, 1), "mail.example.org");
        testing::SaveScreenshot(window.m_hWnd, "main-window");

        SetFocus(window.GetDlgItem(IDC_CHECK));
        ClickRow(listWindow, 1, 60);  // on the name
        EXPECT_EQ(list.GetStateImage(1), 1);
        EXPECT_FALSE(window.Accounts()[1].m_bEnabled);
        ClickRow(listWindow, 1, 8);  // on the check box
        EXPECT_EQ(list.GetStateImage(1), 2);
        EXPECT_TRUE(window.Accounts()[1].m_bEnabled);
        ClickRow(listWindow, 2, 300);  // in the size column
        EXPECT_FALSE(window.Accounts()[2].m_bEnabled);
        // A quick second click arrives as a double-click: it toggles too, and selects nothing.
        RECT first;
        list.GetItemRect(0, first, LVIR_BOUNDS);
        const LPARAM point = MAKELPARAM(60, (first.top + first.bottom) / 2);
        PostMessageW(listWindow, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(listWindow, WM_LBUTTONUP, 0, point);
        PostMessageW(listWindow, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        PostMessageW(listWindow, WM_LBUTTONUP, 0, point);
        testing::PumpFor(50ms);
        EXPECT_TRUE(window.Accounts()[0].m_bEnabled);
        EXPECT_EQ(list.GetStateImage(0), 2);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(list.GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED), 0u) << row;
        }
        EXPECT_EQ(GetFocus(), window.GetDlgItem(IDC_CHECK));  // the click took no focus
        testing::SaveScreenshot(window.m_hWnd, "main-window-one-excluded");
        window.EndDialog(IDCANCEL);
    });
}

TEST(MainWindow, EveryExitPathAsksOnceAndDecliningKeepsEverything) {
    struct Path {
        const char* name;
        std::function<void(CMainDlg&)> ask;
    };
    const Path paths[] = {
        {"Esc", [](CMainDlg& w) { testing::PressKey(w.m_hWnd, VK_ESCAPE); }},
        // The dialog manager makes the cancel command of Ctrl+Break and the OK command of the
        // Execute key; neither may end the window unasked.
        {"Ctrl+Break", [](CMainDlg& w) { testing::PressKey(w.m_hWnd, VK_CANCEL); }},
        {"Execute key", [](CMainDlg& w) { testing::PressKey(w.m_hWnd, VK_EXECUTE); }},
        {"X button", [](CMainDlg& w) { testing::Click(w.m_hWnd, IDC_CLOSE); }},
        {"menu 32773", [](CMainDlg& w) { w.SendMessage(WM_COMMAND, ID_EXIT); }},
        {"tray exit",
         [](CMainDlg& w) {
             testing::MenuRecorder recorder;
             recorder.choose = ID_EXIT;
             testing::Click(w.m_hWnd, IDC_HIDE);
             w.SendMessage(kTrayCallbackMessage, IDR_TRAY_MENU, WM_RBUTTONUP);
             testing::PumpFor(50ms);
             EXPECT_EQ(recorder.menus.size(), 1u);
         }},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        MainWindowHarness harness;
        MainSettings settings;
        settings.m_dPhoneFee = 3.25;
        harness.Store(settings, ThreeAccounts());
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Quorlet\\Main", L"Path");
        harness.prompter.answers = {MessageAnswer::No, MessageAnswer::Yes};
        bool stillOpenAfterNo = false;
        harness.Run([&](CMainDlg& window) {
            path.ask(window);
            testing::PumpFor(50ms);
            stillOpenAfterNo = IsWindow(window.m_hWnd) && window.TrayIcon().IsEnabled();
            EXPECT_EQ(harness.prompter.shown.size(), 1u);
            EXPECT_FALSE(testing::ReadMainValue("Path"));  // nothing saved yet
            window.ShowWindow(SW_SHOW);
            path.ask(window);
            testing::PumpFor(50ms);
        });
        EXPECT_TRUE(stillOpenAfterNo);
        EXPECT_EQ(harness.prompter.Texts(),
                  (std::vector<std::string>{"你真的要退出 ?", "你真的要退出 ?"}));
        EXPECT_EQ(harness.prompter.shown[0].title, "询问");
        EXPECT_EQ(testing::ReadMainValue("Path"), harness.folder.Path());
        EXPECT_EQ(testing::ReadMainValue("Total"), "3");
        EXPECT_EQ(testing::ReadMainValue("PhoneFee"), "3.25");
    }
}

TEST(MainWindow, OnTheSettlementDayWithAutoClearTheStoredFeesAreZero) {
    MainWindowHarness harness;
    MainSettings settings;
    settings.m_bAutoClear = true;
    settings.m_strDayClear = "3";  // the harness's clock stands on 3 May
    settings.m_dPhoneFee = 12.34;
    settings.m_dNetFee = 5.5;
    harness.Store(settings, {});
    harness.Run([](CMainDlg& window) { window.SendMessage(WM_COMMAND, ID_EXIT); });
    EXPECT_EQ(testing::ReadMainValue("PhoneFee"), "0.00");
    EXPECT_EQ(testing::ReadMainValue("NetFee"), "0.00");

    // Another day keeps them.
    MainWindowHarness later;
    settings.m_strDayClear = "4";
    later.Store(settings, {});
    later.Run([](CMainDlg& window) { window.SendMessage(WM_COMMAND, ID_EXIT); });
    EXPECT_EQ(testing::ReadMainValue("PhoneFee"), "12.34");
}

TEST(MainWindow, TheOwnLineIsNamedInTheQuestionAndHungUpOnExit) {
    MainWindowHarness harness;
    harness.Run([](CMainDlg& window) {
        TheDialState().hConn = 42;
        TheDialState().bOnline = true;
        window.SendMessage(WM_COMMAND, ID_EXIT);
    });
    EXPECT_EQ(harness.prompter.Texts(),
              std::vector<std::string>{"当前已在线,退出将断开线路,真的要退出 ?"});
    EXPECT_EQ(harness.remoteAccess.hangUps, 1);
    EXPECT_EQ(TheDialState().hConn, 0u);
    EXPECT_FALSE(TheDialState().bOnline);
}

TEST(MainWindow, SessionEndSavesWithoutAsking) {
    MainWindowHarness harness;
    harness.Store(MainSettings{}, ThreeAccounts());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Quorlet\\Main", L"Path");
    harness.Run([&](CMainDlg& window) {
        TheDialState().hConn = 42;
        TheDialState().bOnline = true;
        EXPECT_EQ(window.SendMessage(WM_QUERYENDSESSION, 0, 0), TRUE);
        EXPECT_TRUE(harness.prompter.shown.empty());
        EXPECT_EQ(testing::ReadMainValue("Path"), harness.folder.Path());
        EXPECT_EQ(harness.remoteAccess.hangUps, 0);  // the session end does not hang up
        TheDialState() = DialState{};
        window.EndDialog(IDCANCEL);
    });
}

TEST(MainWindow, HotKeysPostTheirCommandsEnterIsSwallowedAndEscAsks) {
    MainWindowHarness harness;
    harness.prompter.answers = {MessageAnswer::No};
    std::vector<int> commands;
    // F2 to F4 open the filter dialogs and F7 the log; each is closed as soon as it is up.
    for (int dialog : {IDD_ADDRESS_FILTER, IDD_SUBJECT_FILTER, IDD_LENGTH_FILTER, IDD_ONLINE_LOG}) {
        ui::SetDialogScript(dialog, [](ui::CDialog& d) { d.EndDialog(IDCANCEL); });
    }
    harness.Run([&](CMainDlg& window) {
        ui::SetCommandObserver([&](HWND dialog, int id) {
            if (dialog == window.m_hWnd) {
                commands.push_back(id);
            }
        });
        const std::pair<UINT, int> keys[] = {
            {VK_F2, ID_FILTER_ADDRESS}, {VK_F3, ID_FILTER_SUBJECT}, {VK_F4, ID_FILTER_LENGTH},
            {VK_F5, ID_MAIL_PROGRAM},   {VK_F7, ID_ONLINE_LOG},     {VK_F8, ID_FEE_SETTINGS},
            {VK_F9, ID_DIAL},           {VK_F11, ID_ONLINE_PLAN},   {VK_F6, ID_TOGGLE_LIST},
        };
        for (const auto& [key, command] : keys) {
            commands.clear();
            testing::PressKey(window.m_hWnd, key);
            EXPECT_EQ(commands, std::vector<int>{command}) << "key " << key;
        }
        EXPECT_FALSE(window.ListVisible());  // F6 hid the list
        commands.clear();
        for (UINT key : {VK_F10, VK_F12, VK_RETURN}) {
            testing::PressKey(window.m_hWnd, key);
        }
        SetFocus(window.GetDlgItem(IDC_CHECK));
        testing::PressKey(window.m_hWnd, VK_RETURN);
        EXPECT_TRUE(commands.empty());
        EXPECT_TRUE(window.IsWindowVisible());

        testing::PressKey(window.m_hWnd, VK_ESCAPE);  // answered No
        EXPECT_TRUE(window.IsWindowVisible());
        EXPECT_EQ(harness.prompter.Texts(), std::vector<std::string>{"你真的要退出 ?"});
        ui::SetCommandObserver(nullptr);
        window.EndDialog(IDCANCEL);
    });
}

std::string TextOf(const std::vector<ui::MenuItem>& menu, UINT id) {
    for (const ui::MenuItem& item : menu) {
        if (item.id == id) {
            return item.text;
        }
    }
    return "<missing>";
}

const ui::MenuItem* ItemOf(const std::vector<ui::MenuItem>& menu, UINT id) {
    for (const ui::MenuItem& item : menu) {
        if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

TEST(MainWindow, ContextMenuIsBuiltAfreshForTheState) {
    MainWindowHarness harness;
    harness.Run([&](CMainDlg& window) {
        testing::MenuRecorder recorder;
        testing::Click(window.m_hWnd, IDC_MENU);
        ASSERT_EQ(recorder.menus.size(), 1u);
        const auto& first = recorder.menus[0];
        ASSERT_EQ(first.size(), 17u);
        EXPECT_EQ(first[0].text, "邮件程序(F5)");
        EXPECT_EQ(TextOf(first, ID_TOGGLE_LIST), "隐藏列表视(F6)");
        EXPECT_EQ(TextOf(first, ID_DIAL), "拨号上网(F9)");
        EXPECT_TRUE(ItemOf(first, ID_PLAN_ON)->checked);
        EXPECT_EQ(first[16].text, "退出鸥信(Esc)");

        window.SendMessage(WM_COMMAND, ID_TOGGLE_LIST);
        window.SendMessage(WM_COMMAND, ID_PLAN_ON);
        TheDialState().bOnline = true;
        // A right-click below the top band opens it too; in the band it does nothing.
        window.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(100, 10));
        EXPECT_EQ(recorder.menus.size(), 1u);
        window.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(100, 160));
        ASSERT_EQ(recorder.menus.size(), 2u);
        const auto& second = recorder.menus[1];
        EXPECT_EQ(TextOf(second, ID_TOGGLE_LIST), "显示列表视(F6)");
        EXPECT_EQ(TextOf(second, ID_DIAL), "断开线路(F9)");
        EXPECT_FALSE(ItemOf(second, ID_PLAN_ON)->checked);
        EXPECT_FALSE(window.PlanOn());
        TheDialState() = DialState{};
        window.EndDialog(IDCANCEL);
    });
}

TEST(MainWindow, TrayMenuFollowsModeLineBusyComposeAndPlan) {
    MainWindowHarness harness;
    MainSettings settings;
    settings.m_strTimeInterval = "10";
    harness.Store(settings, {});
    harness.Run([&](CMainDlg& window) {
        testing::MenuRecorder recorder;
        auto trayMenu = [&] {
            window.SendMessage(kTrayCallbackMessage, IDR_TRAY_MENU, WM_RBUTTONUP);
            return recorder.menus.empty() ? std::vector<ui::MenuItem>{} : recorder.menus.back();
        };
        // While the window is shown the icon does nothing.
        trayMenu();
        EXPECT_TRUE(recorder.menus.empty());

        testing::Click(window.m_hWnd, IDC_HIDE);
        EXPECT_FALSE(window.IsWindowVisible());
        auto menu = trayMenu();
        ASSERT_EQ(menu.size(), 11u);
        EXPECT_EQ(menu[0].text, "打开窗口(&O)");
        EXPECT_TRUE(menu[0].isDefault);
        EXPECT_EQ(TextOf(menu, IDC_MODE), "自动检测(&U)");
        EXPECT_FALSE(ItemOf(menu, IDC_CHECK)->grayed);
        EXPECT_EQ(TextOf(menu, ID_DIAL), "拨号上网(&D)");
        EXPECT_TRUE(ItemOf(menu, ID_PLAN_ON)->checked);
        EXPECT_FALSE(ItemOf(menu, IDC_COMPOSE)->grayed);
        EXPECT_EQ(TextOf(menu, ID_TRAY_MAIL_PROGRAM), "启动程序(&L)");
        EXPECT_EQ(menu[10].text, "退出鸥信(&X)");

        window.SendMessage(WM_COMMAND, IDC_MODE);  // to auto mode
        window.SendMessage(WM_COMMAND, ID_PLAN_ON);
        TrayMenuCopies copies = window.TrayIcon().MenuCopies();
        copies.bBusy = true;
        copies.bCompose = true;
        window.TrayIcon().SetMenuCopies(copies);
        TheDialState().bOnline = true;
        menu = trayMenu();
        EXPECT_EQ(TextOf(menu, IDC_MODE), "手动检测(&U)");
        EXPECT_TRUE(ItemOf(menu, IDC_CHECK)->grayed);
        EXPECT_EQ(TextOf(menu, ID_DIAL), "断开线路(&D)");
        EXPECT_FALSE(ItemOf(menu, ID_PLAN_ON)->checked);
        EXPECT_TRUE(ItemOf(menu, IDC_COMPOSE)->grayed);
        copies.bBusy = false;
        window.TrayIcon().SetMenuCopies(copies);
        TheDialState() = DialState{};

        // Choosing "打开窗口(&O)" opens the window and the icon goes quiet again.
        recorder.choose = ID_OPEN_WINDOW;
        trayMenu();
        testing::PumpFor(50ms);
        EXPECT_TRUE(window.IsWindowVisible());
        EXPECT_FALSE(window.TrayActive());
        window.EndDialog(IDCANCEL);
    });
}

// Takes a picture of a tray menu as the user sees it, then closes it.
void CALLBACK CaptureMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND menu = FindWindowW(L"#32768", nullptr)) {
        RECT area;
        GetWindowRect(menu, &area);
        testing::SaveScreenshot(area, "tray-menu");
    }
    EndMenu();
}

TEST(MainWindow, TrayMenuOnTheScreen) {
    const auto picture = std::filesystem::path(QUORLET_SCREENSHOT_DIR) / "tray-menu.png";
    std::filesystem::remove(picture);
    MainWindowHarness harness;
    harness.Run([&](CMainDlg& window) {
        ui::SetMenuHook([](HMENU, HWND) {
            SetTimer(nullptr, 0, 300, &CaptureMenu);
            return true;  // shown for real
        });
        // Hidden by a click on "-", as a user does it: the button must not keep the mouse.
        testing::Click(window.m_hWnd, IDC_HIDE);
        SetCursorPos(600, 500);
        // The display's news of the hidden window arrives first, as it would long before a
        // user's click on the icon.
        testing::PumpFor(200ms);
        window.SendMessage(kTrayCallbackMessage, IDR_TRAY_MENU, WM_RBUTTONUP);
        ui::SetMenuHook(nullptr);
        window.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(std::filesystem::exists(picture));
}

TEST(MainWindow, ModeToggleNeedsAnIntervalAndKeepsTheTrayInStep) {
    MainWindowHarness harness;
    MainSettings settings;
    settings.m_strTimeInterval = "";
    harness.Store(settings, {});
    harness.Run([&](CMainDlg& window) {
        testing::Click(window.m_hWnd, IDC_MODE);
        EXPECT_FALSE(window.AutoMode());
        EXPECT_EQ(harness.prompter.Texts(), std::vector<std::string>{kIntervalMissingMessage});
        window.EndDialog(IDCANCEL);
    });

    MainWindowHarness second;
    settings.m_strTimeInterval = "101";
    second.Store(settings, {});
    second.Run([&](CMainDlg& window) {
        testing::Click(window.m_hWnd, IDC_MODE);  // out of range: nothing, no message
        EXPECT_FALSE(window.AutoMode());
        EXPECT_TRUE(second.prompter.shown.empty());
        window.EndDialog(IDCANCEL);
    });

    MainWindowHarness third;
    settings.m_strTimeInterval = "5";
    third.Store(settings, {});
    third.Run([&](CMainDlg& window) {
        testing::Click(window.m_hWnd, IDC_MODE);
        EXPECT_TRUE(window.AutoMode());
        EXPECT_EQ(window.GetDlgItemText(IDC_MODE), "手动(&U)");
        EXPECT_EQ(window.TrayIcon().Tip(), "自动检测状态");
        // While a check runs the tray keeps its busy look.
        Probe::Busy(window) = true;
        window.TrayIcon().SetTip("正在检测...");
        testing::Click(window.m_hWnd, IDC_MODE);
        EXPECT_FALSE(window.AutoMode());
        EXPECT_EQ(window.GetDlgItemText(IDC_MODE), "自动(&U)");
        EXPECT_EQ(window.TrayIcon().Tip(), "正在检测...");
        Probe::Busy(window) = false;
        window.EndDialog(IDCANCEL);
    });
}

TEST(MainWindow, CheckEndBlinksWhenHiddenPlaysTheSoundAndAsksAboutFilteredMail) {
    MainWindowHarness harness;
    MainSettings settings;
    settings.m_bSound = true;
    settings.m_strSoundFile = "C:\\sounds\\mail.wav";
    harness.Store(settings, {});
    harness.prompter.answers = {MessageAnswer::No};
    harness.Run([&](CMainDlg& window) {
        testing::Click(window.m_hWnd, IDC_HIDE);
        const HICON idle = window.TrayIcon().Icon();
        Probe::NewMail(window) = true;
        Probe::HaveFiltered(window) = true;
        window.SendMessage(WM_TIMER, kTimerCheckEnd);
        EXPECT_FALSE(Probe::NewMail(window));
        EXPECT_FALSE(Probe::HaveFiltered(window));
        EXPECT_EQ(harness.sound.played, std::vector<std::string>{"C:\\sounds\\mail.wav"});
        EXPECT_EQ(harness.prompter.Texts(), std::vector<std::string>{kDeleteFilteredQuestion});
        EXPECT_EQ(harness.prompter.shown[0].title, "询问");

        // The blink runs on timer 1: the two phases alternate.
        window.SendMessage(WM_TIMER, kTimerBlink);
        const HICON phase1 = window.TrayIcon().Icon();
        window.SendMessage(WM_TIMER, kTimerBlink);
        const HICON phase2 = window.TrayIcon().Icon();
        EXPECT_NE(phase1, idle);
        EXPECT_NE(phase2, phase1);
        window.SendMessage(WM_TIMER, kTimerBlink);
        EXPECT_EQ(window.TrayIcon().Icon(), phase1);
        EXPECT_TRUE(testing::PumpUntil([&] { return window.TrayIcon().Icon() == phase2; }, 2s));

        // Opening the window stops it and shows the mode's icon again.
        window.SendMessage(kTrayCallbackMessage, IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
        EXPECT_EQ(window.TrayIcon().Icon(), idle);
        testing::PumpFor(700ms);
        EXPECT_EQ(window.TrayIcon().Icon(), idle);
        window.EndDialog(IDCANCEL);
    });
}

TEST(MainWindow, OnlineTimeGoesIntoTheTipWhileAPeriodIsRecorded) {
    MainWindowHarness harness;
    harness.Run([&](CMainDlg& window) {
        harness.remoteAccess.lineUp = true;
        window.Recorder().WatchLine();  // the period begins
        ASSERT_TRUE(window.Recorder().m_bRecording);
        harness.clock.Advance(2 * 3600 + 7 * 60 + 30);
        window.SendMessage(WM_TIMER, kTimerOnlineTime);
        EXPECT_EQ(window.TrayIcon().Tip(), "手动检测状态 联网时间:2小时7分");
        Probe::Busy(window) = true;
        window.SendMessage(WM_TIMER, kTimerOnlineTime);
        EXPECT_EQ(window.TrayIcon().Tip(), "正在检测... 联网时间:2小时7分");
        Probe::Busy(window) = false;
        window.Recorder().m_bRecording = false;
        harness.prompter.answers = {MessageAnswer::No};
        window.EndDialog(IDCANCEL);
    });
}

TEST(MainWindow, IpAddressesHelpAndTheRestartedNotificationArea) {
    MainWindowHarness harness;
    harness.Run([&](CMainDlg& window) {
        window.SendMessage(WM_COMMAND, ID_IP_ADDRESSES);
        EXPECT_EQ(harness.prompter.Texts(),
                  (std::vector<std::string>{"当前IP地址: 192.168.1.7", "当前IP地址: 10.0.0.2"}));
        EXPECT_EQ(harness.prompter.shown[0].title, "信息");
        harness.net.hostName.reset();
        window.SendMessage(WM_COMMAND, ID_IP_ADDRESSES);
        EXPECT_EQ(harness.prompter.shown.size(), 2u);

        window.SendMessage(WM_COMMAND, ID_HELP);
        EXPECT_EQ(harness.shell.opened,
                  std::vector<std::string>{harness.folder.Path() + "\\Quorlet.chm"});
        // F1 is the same command, whichever control has the focus.
        SetFocus(window.GetDlgItem(IDC_ACCOUNT_LIST));
        testing::PressKey(window.m_hWnd, VK_F1);
        EXPECT_EQ(harness.shell.opened,
                  std::vector<std::string>(2, harness.folder.Path() + "\\Quorlet.chm"));

        // The notification area forgets the icon when it restarts; the window adds it again.
        NOTIFYICONDATAW icon{};
        icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
        icon.hWnd = window.m_hWnd;
        icon.uID = IDR_TRAY_MENU;
        ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
        EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon));
        window.SendMessage(RegisterWindowMessageW(L"TaskbarCreated"));
        icon.uFlags = NIF_TIP;
        lstrcpyW(icon.szTip, L"手动检测状态");
        EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon));
        window.EndDialog(IDCANCEL);
    });
}

TEST(MainWindow, TheTopBandDragsTheWindow) {
    MainWindowHarness harness;
    harness.Run([&](CMainDlg& window) {
        RECT before;
        GetWindowRect(window.m_hWnd, &before);
        POINT grab{40, 10};
        POINT screen = grab;
        ClientToScreen(window.m_hWnd, &screen);
        SetCursorPos(screen.x, screen.y);
        window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
        SetCursorPos(screen.x + 30, screen.y + 20);
        window.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x + 30, grab.y + 20));
        window.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(grab.x + 30, grab.y + 20));
        RECT after;
        GetWindowRect(window.m_hWnd, &after);
        EXPECT_EQ(after.left - before.left, 30);
        EXPECT_EQ(after.top - before.top, 20);
        EXPECT_EQ(after.right - after.left, before.right - before.left);

        // Below the band a press does not drag.
        window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 200));
        SetCursorPos(screen.x + 80, screen.y + 80);
        window.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 260));
        window.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(90, 260));
        RECT still;
        GetWindowRect(window.m_hWnd, &still);
        EXPECT_EQ(still.left, after.left);

        // Minimising hides to the tray.
        window.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        EXPECT_FALSE(window.IsWindowVisible());
        EXPECT_TRUE(window.TrayActive());
        window.EndDialog(IDCANCEL);
    });
}

}  // namespace
}  // namespace quorlet
