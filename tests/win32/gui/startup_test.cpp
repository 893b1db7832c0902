// Start-up of the real main window: first run, the check mode from the stored interval, hiding
// after start, and the startup password.
#include <gtest/gtest.h>

#include "app/check_mode.h"
#include "app/gui/password_dlg.h"
#include "app/tray_tips.h"
#include "app_ids.h"
#include "gui_support.h"
#include "mail_ids.h"
#include "platform/file_system.h"
#include "platform/memory_registry.h"
#include "resource.h"
#include "ui/controls.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::MainWindowHarness;

TEST(Startup, FirstRunShowsAnEmptyListInManualModeAndTheFirstExitCreatesTheKeys) {
    MainWindowHarness harness;
    harness.Run([&](CMainDlg& window) {
        EXPECT_TRUE(window.IsWindowVisible());
        EXPECT_EQ(window.GetWindowText(), "鸥信通");
        EXPECT_EQ(FindWindowW(L"#32770", L"鸥信通"), window.m_hWnd);
        EXPECT_EQ(window.GetDlgItemText(IDC_MODE), "自动(&C)");
        EXPECT_FALSE(window.AutoMode());
        EXPECT_TRUE(window.TrayIcon().IsEnabled());
        EXPECT_EQ(window.TrayIcon().Tip(), "手动检测状态");
        EXPECT_FALSE(IsWindowEnabled(window.GetDlgItem(IDC_STOP_CHECK)));

        const ui::CListCtrl list(window.GetDlgItem(IDC_ACCOUNT_LIST));
        EXPECT_EQ(list.GetItemCount(), 0);
        ASSERT_EQ(list.GetColumnCount(), 4);
        EXPECT_EQ(list.GetColumnWidth(0), 120);
        EXPECT_EQ(list.GetColumnWidth(1), 100);
        EXPECT_EQ(list.GetColumnFormat(2) & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);

        EXPECT_EQ(window.Settings().m_strTimeInterval, "5");
        EXPECT_EQ(window.Settings().m_strDayClear, "20");
        EXPECT_TRUE(window.Settings().m_bSessionHangUp);
        EXPECT_FALSE(window.Settings().m_bStartupPassword);
        EXPECT_FALSE(testing::ReadMainValue("Total"));

        window.PostMessage(WM_COMMAND, ID_EXIT);
    });
    EXPECT_EQ(harness.prompter.Texts(), std::vector<std::string>{"你真的要退出 ?"});
    EXPECT_EQ(testing::ReadMainValue("TimeInterval"), "5");
    EXPECT_EQ(testing::ReadMainValue("Day_Clear"), "20");
    EXPECT_EQ(testing::ReadMainValue("Path"), harness.folder.Path());
}

TEST(Startup, AutoStartTakesTheStoredIntervalOrExplainsTheRangeOnce) {
    struct Case {
        const char* interval;
        bool autoMode;
        bool message;
    };
    for (const Case& c : {Case{"0", false, true}, Case{"101", false, true}, Case{"", false, false},
                          Case{"5", true, false}}) {
        SCOPED_TRACE(std::string("interval '") + c.interval + "'");
        MainWindowHarness harness;
        MainSettings settings;
        settings.m_bAutoStart = true;
        settings.m_strTimeInterval = c.interval;
        harness.Store(settings, {});
        harness.Run([&](CMainDlg& window) {
            EXPECT_EQ(window.AutoMode(), c.autoMode);
            EXPECT_EQ(window.GetDlgItemText(IDC_MODE), c.autoMode ? "手动(&U)" : "自动(&C)");
            EXPECT_EQ(window.TrayIcon().Tip(), c.autoMode ? "自动检测状态" : "手动检测状态");
            window.EndDialog(IDCANCEL);
        });
        const std::vector<std::string> expected =
            c.message ? std::vector<std::string>{kIntervalRangeMessage}
                      : std::vector<std::string>{};
        EXPECT_EQ(harness.prompter.Texts(), expected);
        if (c.message) {
            EXPECT_EQ(harness.prompter.shown[0].title, "提示");
            EXPECT_EQ(harness.prompter.shown[0].icon, MessageIcon::Information);
        }
    }
}

TEST(Startup, HideShowsTheWindowThenHidesItAndTheTrayIconAnswers) {
    MainWindowHarness harness;
    MainSettings settings;
    settings.m_bHide = true;
    harness.Store(settings, {});
    harness.Run([&](CMainDlg& window) {
        EXPECT_TRUE(window.IsWindowVisible());
        EXPECT_TRUE(testing::PumpUntil([&] { return !window.IsWindowVisible(); }, 2000ms));
        EXPECT_TRUE(window.TrayActive());
        // A double-click on the tray icon opens the window again.
        window.SendMessage(kTrayCallbackMessage, IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(window.IsWindowVisible());
        EXPECT_FALSE(window.TrayActive());
        // While the window is shown, the tray icon does nothing.
        window.ShowWindow(SW_SHOW);
        EXPECT_EQ(window.SendMessage(kTrayCallbackMessage, IDR_TRAY_MENU, WM_LBUTTONDBLCLK), 0);
        window.EndDialog(IDCANCEL);
    });
}

TEST(Startup, PasswordIsAskedUntilRightAndEscOrCloseDoNotGetPastIt) {
    MainWindowHarness harness;
    MainSettings settings;
    settings.m_bStartupPassword = true;
    settings.m_strStartupPassword = "口令Abc";
    harness.Store(settings, {});
    int passwordShown = 0;
    bool mainShown = false;
    ui::SetDialogScript(IDD_PASSWORD, [&](ui::CDialog& dialog) {
        ++passwordShown;
        testing::SaveScreenshot(dialog.m_hWnd, "password");
        EXPECT_EQ(dialog.GetWindowText(), "启动密码");
        // Esc and the close box leave it open.
        testing::PressKey(dialog.m_hWnd, VK_ESCAPE);
        dialog.SendMessage(WM_CLOSE);
        testing::PumpFor(50ms);
        EXPECT_TRUE(dialog.IsWindowVisible());
        for (const char* attempt : {"口令abc", "", "口令Abc"}) {
            dialog.SetDlgItemText(IDC_PASSWORD_ENTERED, attempt);
            testing::Click(dialog.m_hWnd, IDC_PASSWORD_OK);
        }
    });
    harness.Run([&](CMainDlg& window) {
        mainShown = true;
        EXPECT_FALSE(IsWindowEnabled(window.m_hWnd) == FALSE);
        window.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(passwordShown, 1);
    EXPECT_TRUE(mainShown);
    EXPECT_EQ(harness.prompter.Texts(),
              (std::vector<std::string>{kWrongPasswordMessage, kWrongPasswordMessage}));
    EXPECT_EQ(harness.prompter.shown[0].title, "信息");
}

TEST(Startup, CancellingThePasswordEndsTheProgramWithoutSaving) {
    MainWindowHarness harness;
    MainSettings settings;
    settings.m_bStartupPassword = true;
    settings.m_strStartupPassword = "secret";
    settings.m_dPhoneFee = 1.5;
    harness.Store(settings, {});
    // The stored value is the folder of the earlier save; a save now would write this folder.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Quorlet\\Main", L"Path");
    ui::SetDialogScript(IDD_PASSWORD, [](ui::CDialog& dialog) {
        testing::Click(dialog.m_hWnd, IDC_PASSWORD_CANCEL);
    });
    const INT_PTR result = harness.Run([](CMainDlg&) {});
    EXPECT_EQ(result, -1);  // the loop saw the quit
    EXPECT_TRUE(harness.prompter.shown.empty());
    EXPECT_FALSE(testing::ReadMainValue("Path"));
    EXPECT_EQ(testing::ReadMainValue("PhoneFee"), "1.50");
}

// When the settings' root key cannot be created, the start-up reads nothing; leaving the window
// by the exit command or at the session end must then write nothing over what the user has.
TEST(Startup, AfterAFailedLoadNeitherExitNorSessionEndWritesAnything) {
    const std::string addresses = "[Main]\r\nTotal=1\r\n[Email]\r\n0=spam@example.com\r\n";
    const std::string subjects = "[Main]\r\nTotal=1\r\n[Subject]\r\n0=广告\r\n";
    struct Way {
        const char* name;
        std::function<void(CMainDlg&)> leave;
    };
    const Way ways[] = {
        {"list edited, then the exit command",
         [](CMainDlg& w) {
             ui::SetDialogScript(IDD_ADDRESS_FILTER, [](ui::CDialog& list) {
                 testing::Click(list.m_hWnd, IDC_FILTER_OK);
             });
             w.SendMessage(WM_COMMAND, ID_FILTER_ADDRESS);
             w.SendMessage(WM_COMMAND, ID_EXIT);
         }},
        {"session end",
         [](CMainDlg& w) {
             w.SendMessage(WM_QUERYENDSESSION);
             w.SendMessage(WM_ENDSESSION, TRUE);
             w.EndDialog(IDCANCEL);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        MainWindowHarness harness;
        ASSERT_TRUE(WriteFileAtomically("Address.ini", addresses));
        ASSERT_TRUE(WriteFileAtomically("Subject.ini", subjects));
        MemoryRegistry registry;
        const char* main = "Software\\Quorlet\\Main";
        registry.PutString(RegistryRoot::CurrentUser, main, "Total", "2");
        registry.PutString(RegistryRoot::CurrentUser, main, "Path", "C:\\Quorlet");
        registry.PutString(RegistryRoot::CurrentUser, main, "TimeInterval", "15");
        registry.Fail(MemoryRegistry::Operation::Create, RegistryRoot::CurrentUser,
                      "Software\\Quorlet");
        harness.registry = &registry;
        harness.Run([&](CMainDlg& window) { way.leave(window); });

        EXPECT_EQ(harness.prompter.Texts().at(0), "创建主键失败(Quorlet) !");
        auto text = [&](const char* name) {
            const auto value = registry.Get(RegistryRoot::CurrentUser, main, name);
            return value ? value->data : std::string("<missing>");
        };
        EXPECT_EQ(text("Total"), std::string("2") + '\0');
        EXPECT_EQ(text("Path"), std::string("C:\\Quorlet") + '\0');
        EXPECT_EQ(text("TimeInterval"), std::string("15") + '\0');
        EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, "Software\\Quorlet\\0"));
        EXPECT_FALSE(registry.KeyExists(RegistryRoot::ClassesRoot, "GLPass"));
        EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, "Software\\Classes\\GLPass"));
        EXPECT_EQ(ReadWholeFile("Address.ini"), addresses);
        EXPECT_EQ(ReadWholeFile("Subject.ini"), subjects);
    }
}

}  // namespace
}  // namespace quorlet
