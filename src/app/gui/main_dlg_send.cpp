// The main window's sending: the compose window and the system mail program, from the button,
// the menus, F5 and the end of a check.
#include "app/gui/main_dlg.h"

#include "send/mail_program.h"

namespace quorlet {

void CMainDlg::StopBlinkAndStartMailProgram() {
    KillTimer(m_hWnd, kTimerBlink);
    if (!m_bChecking) {
        ShowModeIcon();
    }
    StartMailProgram();
}

void CMainDlg::StartMailProgram() {
    quorlet::StartMailProgram(m_services.registry, m_services.shell, m_services.prompter);
}

// The compose window (191), from the button and the tray menu. The tray grays its item while the
// window is open; a command that still arrives meanwhile finds it open and does nothing.
void CMainDlg::OpenCompose() {
    if (m_bComposeOpen) {
        return;
    }
    m_compose.Reset(m_settings.m_strServer, m_settings.m_strBack, m_settings.m_nSmtpSecurity,
                    m_settings.m_strSmtpUser, m_settings.m_strSmtpPassword);
    m_bComposeOpen = true;
    CopyStateToTray();
    m_compose.DoModal(m_hWnd);
    m_bComposeOpen = false;
    CopyStateToTray();
}

}  // namespace quorlet
