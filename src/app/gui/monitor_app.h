// The application: one copy per user session, the socket layer, and the main window run as a
// modal dialog; the program ends when that dialog ends.
#pragma once

#include <windows.h>

#include <string>

#include "app/gui/main_services.h"

namespace quorlet {

// The mutex of the single-instance test, and the mark (a window property) by which a second copy
// finds the running copy's main window: its title changes during a deletion, and a message box
// may carry the same title.
inline constexpr const wchar_t* kInstanceMutexName = L"Quorlet Class";
inline constexpr const wchar_t* kMainWindowMark = L"Quorlet.MainWindow";

class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(std::wstring name = kInstanceMutexName)
        : m_strName(std::move(name)) {}
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when this is the only copy (the mutex is then held until the guard goes); false
    // when another copy runs, after its window has been restored and brought to the front.
    // A mutex that cannot be created at all (its name taken by another kind of object, or by a
    // copy running with rights this one lacks) also counts as another copy.
    bool Check();

private:
    HANDLE m_hMutex = nullptr;
    std::wstring m_strName;
};

// Marks a main window for ActivateRunningInstance, from its first message on; the mark must go
// again before the window is destroyed.
void MarkMainWindow(HWND window);
void UnmarkMainWindow(HWND window);
// The marked main window of a running copy, or nullptr.
HWND FindRunningMainWindow();

// Brings the running copy to the front: its main window, restored even from the notification
// area, or the window it is asking something in (the startup password, a message box). False
// when there is none.
bool ActivateRunningInstance();

class CMonitorApp {
public:
    explicit CMonitorApp(const MainServices& services) : m_services(services) {}

    // Runs the program; always false, as the program ends with its main window.
    bool InitInstance();

private:
    MainServices m_services;
    SingleInstanceGuard m_guard;
};

}  // namespace quorlet
