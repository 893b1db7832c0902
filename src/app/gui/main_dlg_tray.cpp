// The main window in the notification area: hiding and opening the window, the tray icon's
// picture and tip for the window's state, the new-mail blink, and the copies of the window's
// state that the tray menu shows.
#include "app/gui/main_dlg.h"

namespace quorlet {

void CMainDlg::HideToTray() {
    m_bTrayActive = true;
    // A hidden window must not keep the mouse (the "-" button holds it while hovered), or
    // the tray menu could not take it.
    if (GetCapture() != nullptr && GetAncestor(GetCapture(), GA_ROOT) == m_hWnd) {
        ReleaseCapture();
    }
    ShowWindow(SW_HIDE);
}

void CMainDlg::OpenWindow() {
    m_bTrayActive = false;
    KillTimer(m_hWnd, kTimerBlink);
    if (!m_bChecking) {
        ShowModeIcon();
    }
    ShowWindow(SW_SHOW);
}

HICON CMainDlg::ModeIcon() const {
    return m_bAutoMode ? m_hIconAuto : m_hIconManual;
}

void CMainDlg::ShowModeIcon() {
    m_trayIcon.SetIcon(ModeIcon());
    m_trayIcon.SetTip(m_tips.ModeTip(m_bAutoMode));
}

void CMainDlg::ShowBusyIcon() {
    m_trayIcon.SetIcon(m_hIconChecking);
    m_trayIcon.SetTip(m_tips.BusyTip());
}

void CMainDlg::StartBlink() {
    m_bBlinkPhase = false;
    SetTimer(m_hWnd, kTimerBlink, kBlinkPeriod, nullptr);
    // The icon blinks; the tip no longer says that a check is running.
    m_trayIcon.SetTip(m_tips.ModeTip(m_bAutoMode));
}

void CMainDlg::BlinkTrayIcon() {
    m_trayIcon.SetIcon(m_bBlinkPhase ? m_hIconMailDim : m_hIconMail);
    m_bBlinkPhase = !m_bBlinkPhase;
}

void CMainDlg::CopyStateToTray() {
    TrayMenuCopies copies;
    copies.bMode = m_bAutoMode;
    copies.bBusy = m_bChecking;
    copies.bCompose = m_bComposeOpen;
    copies.bPlan = m_plan.m_bPlanOn;
    m_trayIcon.SetMenuCopies(copies);
}

}  // namespace quorlet
