// The main window gets over what interrupts it: automatic checking outlives a timer that fires
// while filtered mail is being deleted, the tray icon comes even when the notification area was
// not ready for it at start, a drag ends with the mouse capture, and a session end that is called
// off leaves the window whole.
#include <gtest/gtest.h>

#include "app/gui/tray_icon.h"
#include "app_ids.h"
#include "gui_support.h"
#include "resource.h"
#include "ui/controls.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::MainWindowHarness;
using Probe = testing::MainDlgProbe;

// Whether timer 0 runs (it is stopped to find out).
bool AutoCheckTimerRuns(CMainDlg& window) {
    return KillTimer(window.m_hWnd, kTimerAutoCheck) != FALSE;
}

// Timer 0 stops itself before it starts a check. When that start is refused because a deletion
// of filtered mail runs, automatic checking must not end for good: the refusal arms the timer
// again, and so does the end of the deletion. In manual mode neither does.
TEST(MainWindowRecovery, AutomaticCheckingOutlivesATimerThatFiresDuringADeletion) {
    for (const bool autoMode : {true, false}) {
        SCOPED_TRACE(autoMode ? "auto mode" : "manual mode");
        MainWindowHarness harness;
        MainSettings settings;
        settings.m_bAutoStart = autoMode;
        settings.m_strTimeInterval = "5";
        harness.Store(settings, {{"a", "pop.example", "u", "p"}});
        harness.Run([&](CMainDlg& window) {
            ASSERT_EQ(window.AutoMode(), autoMode);
            Probe::Busy(window) = true;  // as while filtered mail is being deleted
            window.SendMessage(WM_TIMER, kTimerAutoCheck);
            EXPECT_EQ(AutoCheckTimerRuns(window), autoMode) << "after the refused start";

            Probe::ReportDeletionFinished(window);
            EXPECT_TRUE(testing::PumpUntil([&] { return !window.Busy(); }, 2s));
            EXPECT_EQ(AutoCheckTimerRuns(window), autoMode) << "after the deletion";
            window.EndDialog(IDCANCEL);
        });
    }
}

// Stands in for the notification area: it refuses icons until it is "ready", and keeps the icons
// it holds as the shell would.
class FakeNotificationArea {
public:
    FakeNotificationArea() {
        SetShellNotifyHook([this](DWORD message, NOTIFYICONDATAW* data) {
            return Notify(message, *data) ? TRUE : FALSE;
        });
    }
    ~FakeNotificationArea() { SetShellNotifyHook(nullptr); }

    bool ready = false;
    int adds = 0;  // NIM_ADD calls, accepted or not
    bool holds = false;
    HICON icon = nullptr;
    std::wstring tip;

private:
    bool Notify(DWORD message, const NOTIFYICONDATAW& data) {
        switch (message) {
            case NIM_ADD:
                ++adds;
                if (!ready || holds) {
                    return false;
                }
                holds = true;
                break;
            case NIM_MODIFY:
                if (!holds) {
                    return false;
                }
                break;
            case NIM_DELETE: {
                const bool had = holds;
                holds = false;
                return had;
            }
            default:
                return false;
        }
        if ((data.uFlags & NIF_ICON) != 0) {
            icon = data.hIcon;
        }
        if ((data.uFlags & NIF_TIP) != 0) {
            tip = data.szTip;
        }
        return true;
    }
};

// Started from the Run key at logon, the program may come before the taskbar: the first add
// fails. The icon must still come, with the picture and tip of the moment, when the taskbar
// announces itself ("TaskbarCreated") or, failing that, on a later try of the window's own;
// with "Hide" on, the icon is the only way back to the window.
TEST(MainWindowRecovery, TheTrayIconComesWhenTheFirstAddFailed) {
    for (const bool announced : {true, false}) {
        SCOPED_TRACE(announced ? "TaskbarCreated" : "a later try");
        FakeNotificationArea area;
        MainWindowHarness harness;
        MainSettings settings;
        settings.m_bHide = true;
        harness.Store(settings, {});
        harness.Run([&](CMainDlg& window) {
            EXPECT_EQ(area.adds, 1);
            EXPECT_FALSE(window.TrayIcon().IsEnabled());
            EXPECT_TRUE(testing::PumpUntil([&] { return !window.IsWindowVisible(); }, 2s));
            // The window changes its icon meanwhile; the icon that comes shows the change.
            window.SendMessage(WM_COMMAND, IDC_MODE);
            ASSERT_TRUE(window.AutoMode());
            area.ready = true;
            if (announced) {
                window.SendMessage(RegisterWindowMessageW(L"TaskbarCreated"));
                EXPECT_TRUE(area.holds);
            } else {
                EXPECT_TRUE(testing::PumpUntil([&] { return area.holds; }, 10s));
            }
            EXPECT_TRUE(window.TrayIcon().IsEnabled());
            EXPECT_EQ(area.tip, L"自动检测状态");
            EXPECT_EQ(area.icon, window.TrayIcon().Icon());
            // And it answers: a double-click opens the window.
            window.SendMessage(kTrayCallbackMessage, IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
            EXPECT_TRUE(window.IsWindowVisible());
            const int adds = area.adds;
            testing::PumpFor(3s);
            EXPECT_EQ(area.adds, adds) << "no more tries once it is there";
            window.EndDialog(IDCANCEL);
        });
        EXPECT_FALSE(area.holds) << "removed with the window";
    }
}

// Another window that takes the mouse (a menu, a button, a system dialog) ends the drag: the
// window then no longer follows the mouse, although it never saw the button go up.
TEST(MainWindowRecovery, ADragEndsWhenTheMouseCaptureIsLost) {
    MainWindowHarness harness;
    harness.Run([&](CMainDlg& window) {
        const POINT grab{40, 10};
        POINT screen = grab;
        ClientToScreen(window.m_hWnd, &screen);
        SetCursorPos(screen.x, screen.y);
        window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
        EXPECT_EQ(GetCapture(), window.m_hWnd);
        SetCapture(window.GetDlgItem(IDC_CHECK));  // the mouse goes elsewhere
        ReleaseCapture();

        RECT before;
        GetWindowRect(window.m_hWnd, &before);
        SetCursorPos(screen.x + 30, screen.y + 20);
        window.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(grab.x + 30, grab.y + 20));
        RECT after;
        GetWindowRect(window.m_hWnd, &after);
        EXPECT_EQ(after.left, before.left);
        EXPECT_EQ(after.top, before.top);
        window.EndDialog(IDCANCEL);
    });
}

// Windows asks before it ends the session and may then call the end off. The answer saves;
// the skin and the check boxes' images go only with the session's real end.
TEST(MainWindowRecovery, ASessionEndCalledOffKeepsTheSkinAndTheCheckBoxes) {
    MainWindowHarness harness;
    harness.Store(MainSettings{}, {{"a", "pop.example", "u", "p"}});
    harness.Run([&](CMainDlg& window) {
        const HWND list = window.GetDlgItem(IDC_ACCOUNT_LIST);
        auto whole = [&] {
            return Probe::HasSkin(window) && ListView_GetImageList(list, LVSIL_STATE) != nullptr;
        };
        ASSERT_TRUE(whole());
        EXPECT_EQ(window.SendMessage(WM_QUERYENDSESSION), TRUE);
        EXPECT_EQ(testing::ReadMainValue("Total"), "1") << "saved at the question";
        EXPECT_TRUE(whole()) << "after the question";
        window.SendMessage(WM_ENDSESSION, FALSE);
        EXPECT_TRUE(whole()) << "after the end was called off";
        window.SendMessage(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_FALSE(Probe::HasSkin(window));
        EXPECT_EQ(ListView_GetImageList(list, LVSIL_STATE), nullptr);
        window.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(harness.prompter.shown.empty());
}

}  // namespace
}  // namespace quorlet
