// CTrayIcon: the program's one icon in the notification area, its tip, and the tray menu
// (resource 157) or the open-window command that mouse events on it bring.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace quorlet {

// The main window's state as the tray menu shows it.
struct TrayMenuCopies {
    bool bMode = false;     // auto-check mode: the mode item offers manual mode
    bool bBusy = false;     // a check or a deletion runs: "立刻检测(&C)" is grayed
    bool bCompose = false;  // the compose window is open: "发送邮件(&S)" is grayed
    bool bPlan = true;      // plan enforcement is on: "执行计划(&P)" is checked
};

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

    // The copies of the main window's state that the tray menu shows; the main window sets
    // them, on its own thread, whenever that state changes.
    void SetMenuCopies(const TrayMenuCopies& copies) { m_copies = copies; }
    const TrayMenuCopies& MenuCopies() const { return m_copies; }

private:
    bool Notify(DWORD message, UINT flags);
    void ShowMenu();

    NOTIFYICONDATAW m_nid{};
    bool m_bEnabled = false;
    TrayMenuCopies m_copies;
};

}  // namespace quorlet
