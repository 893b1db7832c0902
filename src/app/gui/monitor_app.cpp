#include "app/gui/monitor_app.h"

#include <commctrl.h>

#include "app/gui/main_dlg.h"
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
    if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex != nullptr) {
            CloseHandle(mutex);
        }
        ActivateRunningInstance();
        return false;
    }
    m_hMutex = mutex;
    return true;
}

void MarkMainWindow(HWND window) {
    SetPropW(window, kMainWindowMark, reinterpret_cast<HANDLE>(1));
}

void UnmarkMainWindow(HWND window) {
    RemovePropW(window, kMainWindowMark);
}

HWND FindRunningMainWindow() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            if (GetPropW(window, kMainWindowMark) == nullptr) {
                return TRUE;
            }
            *reinterpret_cast<HWND*>(data) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool ActivateRunningInstance() {
    const HWND main = FindRunningMainWindow();
    if (main == nullptr) {
        return false;
    }
    // This copy was just started by the user, so it may hand the foreground on.
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    AllowSetForegroundWindow(process);
    const HWND asking = GetLastActivePopup(main);
    if (asking == main) {
        // Restoring also shows a window that was hidden to the notification area.
        ShowWindow(main, SW_RESTORE);
    }
    BringWindowToTop(asking);
    SetForegroundWindow(asking);
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
