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

// The compose window is not built yet: its command does nothing until it is. It will set
// m_bComposeOpen around its run (the tray grays "发送邮件(&S)" meanwhile).
void CMainDlg::OpenCompose() {}  // the compose window (191)

}  // namespace quorlet
