// CTrayIcon: the program's one icon in the notification area, its tip, and the tray menu
// (resource 157) or the open-window command that mouse events on it bring.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

namespace quorlet {

// Test seam: every call a tray icon makes to the notification area goes through this function
// instead of Shell_NotifyIconW while it is set (nullptr: the system's again).
using ShellNotifyFunction = std::function<BOOL(DWORD message, NOTIFYICONDATAW* data)>;
void SetShellNotifyHook(ShellNotifyFunction hook);

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

    // Adds the icon; the icon identifier is the menu's. False when it could not be added: the
    // icon is then missing, and AddMissing() tries again.
    bool Create(HWND owner, UINT callbackMessage, const std::string& tip, HICON icon, UINT menuId);
    // Change the picture and the tip. While the icon is missing they are kept for its add.
    void SetIcon(HICON icon);
    void SetTip(const std::string& tip);
    void Remove();
    bool IsEnabled() const { return m_bEnabled; }
    // Created, but not in the notification area (the add failed, or the area restarted).
    bool IsMissing() const { return m_bWanted && !m_bEnabled; }
    HICON Icon() const { return m_nid.hIcon; }
    std::string Tip() const;

    // The notification area was started again (the shell sends "TaskbarCreated"): the icon it
    // lost, or never took, comes with its current picture and tip. True when it is there.
    bool Restore();
    // Another try for a missing icon; true when it is there.
    bool AddMissing();

    // A mouse event on an icon: 1 when it was this icon's.
    virtual LRESULT OnTrayNotification(WPARAM id, LPARAM mouseMessage);

    // The copies of the main window's state that the tray menu shows; the main window sets
    // them, on its own thread, whenever that state changes.
    void SetMenuCopies(const TrayMenuCopies& copies) { m_copies = copies; }
    const TrayMenuCopies& MenuCopies() const { return m_copies; }

private:
    bool Notify(DWORD message, UINT flags);
    bool Add();
    void ShowMenu();

    NOTIFYICONDATAW m_nid{};
    bool m_bWanted = false;   // created and not removed: the icon belongs in the area
    bool m_bEnabled = false;  // the icon is in the area
    TrayMenuCopies m_copies;
};

}  // namespace quorlet
