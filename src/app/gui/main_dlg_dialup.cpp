// The main window's dial-up and accounting: the line watch (timer 5), the online time in the
// tray tip (timer 6), the plan check (timers 6 and 7) and its switch, and the commands of the
// dial-up window, the online log, the fee settings and the plan sheet.
#include "app/gui/main_dlg.h"

#include "base/c_numbers.h"
#include "dialup/dial_state.h"
#include "dialup/dial_texts.h"
#include "dialup/gui/fee_dlg.h"
#include "dialup/gui/log_dlg.h"
#include "dialup/gui/plan_sheet.h"

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

// The fee settings show the accumulated fees and edit this window's tariff table. The totals
// are cleared when the window has closed, whichever way, if the user confirmed "清除" in it.
void CMainDlg::ShowFeeSettings() {
    CFeeDlg fees(m_services.prompter, m_services.remoteAccess, m_fees);
    fees.SetTotals(m_settings.m_dPhoneFee, m_settings.m_dNetFee);
    fees.DoModal(m_hWnd);
    if (fees.m_bClearTotals) {
        m_settings.m_dPhoneFee = 0.0;
        m_settings.m_dNetFee = 0.0;
    }
}

// The plan sheet edits texts; the plans change only when it ends with OK, and reach the registry
// with the other settings at exit.
void CMainDlg::EditPlans() {
    CPlanDlg1 session(m_services.prompter, m_services.sound);
    CPlanDlg2 total(m_services.prompter, m_services.sound);
    session.CopyIn(PlanFieldsOf(m_settings, PlanPage::Session));
    total.CopyIn(PlanFieldsOf(m_settings, PlanPage::Total));
    CPlan sheet;
    sheet.AddPage(session);
    sheet.AddPage(total);
    if (sheet.DoModal(m_hWnd) != IDOK) {
        return;
    }
    TakePlanFields(m_settings, PlanPage::Session, session.CopyOut());
    TakePlanFields(m_settings, PlanPage::Total, total.CopyOut());
}

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

}  // namespace quorlet
