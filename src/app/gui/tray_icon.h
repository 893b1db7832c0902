// CTrayIcon: the program's one icon in the notification area, its tip, and the tray menu
// (resource 157) or the open-window command that mouse events on it bring.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <atomic>
#include <string>

namespace quorlet {

class CTrayIcon {
public:
    CTrayIcon();
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon; the icon identifier is the menu's. False when it could not be added.
    bool Create(HWND owner, UINT callbackMessage, const std::string& tip, HICON icon, UINT menuId);
    void SetIcon(HICON icon);
    void SetTip(const std::string& tip);
    void Remove();
    bool IsEnabled() const { return m_bEnabled; }
    HICON Icon() const { return m_nid.hIcon; }
    std::string Tip() const;

    // The notification area was started again (the shell sends "TaskbarCreated"): the icon it
    // lost comes back with its current picture and tip.
    void Restore();

    // A mouse event on an icon: 1 when it was this icon's.
    virtual LRESULT OnTrayNotification(WPARAM id, LPARAM mouseMessage);

    // Copies of the main window's state, for the tray menu.
    bool m_bMode = false;              // auto-check mode
    std::atomic<bool> m_bBusy{false};  // a check runs (cleared by the check's last worker)
    bool m_bCompose = false;           // the compose window is open
    bool m_bPlan = true;               // plan enforcement is on

private:
    bool Notify(DWORD message, UINT flags);
    void ShowMenu();

    NOTIFYICONDATAW m_nid{};
    bool m_bEnabled = false;
};

}  // namespace quorlet
