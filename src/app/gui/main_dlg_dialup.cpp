// The main window's dial-up and accounting: the line watch (timer 5), the online time in the
// tray tip (timer 6), the plan check (timers 6 and 7) and its switch, and the commands of the
// dial-up window, the online log, the fee settings and the plan sheet.
#include "app/gui/main_dlg.h"

namespace quorlet {

// The line and the plans

void CMainDlg::WatchLine() {
    if (m_recorder.WatchLine() == OnlineRecorder::LineChange::PeriodEnded) {
        m_tips.ClearSuffix();
        m_trayIcon.SetTip(m_tips.ModeTip(m_bAutoMode));
    }
}

void CMainDlg::ShowOnlineTime() {
    const std::optional<std::string> suffix = m_recorder.ShowOnlineTime();
    if (!suffix) {
        return;
    }
    if (m_bChecking) {
        m_tips.SetOnlineSuffix(*suffix, true);
        m_trayIcon.SetTip(m_tips.BusyTip());
    } else {
        m_tips.SetOnlineSuffix(*suffix, false);
        m_trayIcon.SetTip(m_tips.ModeTip(m_bAutoMode));
    }
}

void CMainDlg::CheckPlan() {
    m_plan.CheckPlan();
}

void CMainDlg::TogglePlan() {
    m_plan.TogglePlan();
    CopyStateToTray();
}

// The windows of dial-up and accounting. They are not built yet: each command does nothing until
// its window is.

void CMainDlg::ShowOnlineLog() {}    // the online log (206), handed the settlement day
void CMainDlg::ShowFeeSettings() {}  // the fee settings (213), handed the accumulated fees
void CMainDlg::OnDialCommand() {}    // the hang-up question, or the dial-up window (216)
void CMainDlg::EditPlans() {}        // the online plan sheet (217, 218)

}  // namespace quorlet
