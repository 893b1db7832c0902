// The main window's sending: the compose window and the system mail program, from the button,
// the menus, F5 and the end of a check.
#include "app/gui/main_dlg.h"

namespace quorlet {

void CMainDlg::StopBlinkAndStartMailProgram() {
    KillTimer(m_hWnd, kTimerBlink);
    if (!m_bChecking) {
        ShowModeIcon();
    }
    StartMailProgram();
}

// The compose window and the mail-program hand-off are not built yet: their commands do nothing
// until they are. The compose window will set m_bComposeOpen around its run (the tray grays
// "发送邮件(&S)" meanwhile).

void CMainDlg::OpenCompose() {}       // the compose window (191)
void CMainDlg::StartMailProgram() {}  // starts the system mail program

}  // namespace quorlet
