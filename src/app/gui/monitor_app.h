// The application: one copy per user session, the socket layer, and the main window run as a
// modal dialog; the program ends when that dialog ends.
#pragma once

#include <windows.h>

#include <string>

#include "app/gui/main_services.h"

namespace quorlet {

// The mutex of the single-instance test. The running copy's window is found by its title,
// kMainWindowTitle (main_dlg.h).
inline constexpr const wchar_t* kInstanceMutexName = L"Quorlet Class";

class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(std::wstring name = kInstanceMutexName)
        : m_strName(std::move(name)) {}
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when this is the only copy (the mutex is then held until the guard goes); false
    // when another copy runs, after its window has been restored and brought to the front.
    bool Check();

private:
    HANDLE m_hMutex = nullptr;
    std::wstring m_strName;
};

// Restores and activates the main window of the running copy; false when there is none.
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
