// The main window gets over what interrupts it: automatic checking outlives a timer that fires
// while filtered mail is being deleted.
#include <gtest/gtest.h>

#include "app_ids.h"
#include "gui_support.h"
#include "resource.h"

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

}  // namespace
}  // namespace quorlet
