#include "app/gui/monitor_app.h"

#include <commctrl.h>

#include "app/gui/main_dlg.h"
#include "platform/win32/wide_text.h"
#include "resource.h"
#include "ui/window.h"

namespace quorlet {

SingleInstanceGuard::~SingleInstanceGuard() {
    if (m_hMutex != nullptr) {
        CloseHandle(m_hMutex);
    }
}

bool SingleInstanceGuard::Check() {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, m_strName.c_str());
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        ActivateRunningInstance();
        return false;
    }
    m_hMutex = mutex;
    return true;
}

bool ActivateRunningInstance() {
    HWND window = FindWindowW(L"#32770", win32::ToWide(kMainWindowTitle).c_str());
    if (window == nullptr) {
        return false;
    }
    // Restoring also shows a window that was hidden to the notification area.
    ShowWindow(window, SW_RESTORE);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    return true;
}

bool CMonitorApp::InitInstance() {
    if (!m_guard.Check()) {
        return false;
    }
    if (!m_services.net.Initialize()) {
        m_services.prompter.Plain(ui::LoadResourceString(IDS_SOCKET_INIT_FAILED));
        return false;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                                       ICC_UPDOWN_CLASS | ICC_DATE_CLASSES |
                                                       ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    CMainDlg mainWindow(m_services);
    mainWindow.DoModal(nullptr);
    return false;
}

}  // namespace quorlet
