// The main window's dial-up and accounting: the line watch (timer 5), the online time in the
// tray tip (timer 6), the plan check (timers 6 and 7) and its switch, and the commands of the
// dial-up window, the online log, the fee settings and the plan sheet.
#include "app/gui/main_dlg.h"

#include "base/c_numbers.h"
#include "dialup/dial_state.h"
#include "dialup/dial_texts.h"
#include "dialup/gui/log_dlg.h"

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

// The windows of dial-up and accounting.

// The online log (206), handed the settlement day.
void CMainDlg::ShowOnlineLog() {
    CLogDlg dialog(m_services.prompter, m_services.clock);
    dialog.m_nSettlementDay = AtoI(m_settings.m_strDayClear);
    dialog.DoModal(m_hWnd);
}

// While the program's own line is up (as the menus show it): the hang-up question. Otherwise
// the dial-up window, one at a time; during a dial it is open, and the command leaves it be.
void CMainDlg::OnDialCommand() {
    DialState& state = TheDialState();
    if (state.bOnline) {
        if (m_services.prompter.AskYesNo(kHangUpQuestion, kTitleNotice, MessageIcon::Question)) {
            HangUpOwnConnection(m_services.remoteAccess, state);
        }
        return;
    }
    m_dialDlg.Open(m_hWnd);
}

// The windows built elsewhere. They are not built yet: each command does nothing until its
// window is.

void CMainDlg::ShowFeeSettings() {}  // the fee settings (213), handed the accumulated fees
void CMainDlg::EditPlans() {}        // the online plan sheet (217, 218)

}  // namespace quorlet
