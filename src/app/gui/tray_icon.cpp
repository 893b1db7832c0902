#include "app/gui/tray_icon.h"

#include "app/main_menus.h"
#include "base/gbk_text.h"
#include "dialup/dial_state.h"
#include "platform/win32/wide_text.h"
#include "ui/menu.h"
#include "ui/window.h"

namespace quorlet {
namespace {

// The tip holds at most 63 bytes of text.
constexpr std::size_t kTipBytes = 63;

ShellNotifyFunction& ShellNotifyHook() {
    static ShellNotifyFunction hook;
    return hook;
}

}  // namespace

void SetShellNotifyHook(ShellNotifyFunction hook) {
    ShellNotifyHook() = std::move(hook);
}

CTrayIcon::CTrayIcon() {
    m_nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
}

CTrayIcon::~CTrayIcon() {
    Remove();
}

bool CTrayIcon::Create(HWND owner, UINT callbackMessage, const std::string& tip, HICON icon,
                       UINT menuId) {
    // Windows before version 4 had no notification area.
    if (LOBYTE(LOWORD(GetVersion())) < 4 || !IsWindow(owner)) {
        return false;
    }
    m_nid.hWnd = owner;
    m_nid.uID = menuId;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icon;
    const std::wstring wide = win32::ToWide(gbk::TruncateChars(tip, kTipBytes));
    lstrcpynW(m_nid.szTip, wide.c_str(), ARRAYSIZE(m_nid.szTip));
    m_bWanted = true;
    return Add();
}

void CTrayIcon::SetIcon(HICON icon) {
    if (!m_bWanted) {
        return;
    }
    m_nid.hIcon = icon;
    if (m_bEnabled) {
        Notify(NIM_MODIFY, NIF_ICON);
    }
}

void CTrayIcon::SetTip(const std::string& tip) {
    if (!m_bWanted) {
        return;
    }
    const std::wstring wide = win32::ToWide(gbk::TruncateChars(tip, kTipBytes));
    lstrcpynW(m_nid.szTip, wide.c_str(), ARRAYSIZE(m_nid.szTip));
    if (m_bEnabled) {
        Notify(NIM_MODIFY, NIF_TIP);
    }
}

std::string CTrayIcon::Tip() const {
    return win32::FromWide(m_nid.szTip);
}

void CTrayIcon::Remove() {
    if (m_bEnabled) {
        Notify(NIM_DELETE, 0);
    }
    m_bEnabled = false;
    m_bWanted = false;
}

bool CTrayIcon::Restore() {
    return m_bWanted && Add();
}

bool CTrayIcon::AddMissing() {
    if (!IsMissing()) {
        return m_bEnabled;
    }
    return Add();
}

bool CTrayIcon::Add() {
    // A busy shell may time out on an add it then carries out; the icon is there when it can be
    // changed, and the change brings it up to date.
    m_bEnabled = Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP) ||
                 Notify(NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    return m_bEnabled;
}

bool CTrayIcon::Notify(DWORD message, UINT flags) {
    NOTIFYICONDATAW data = m_nid;
    data.uFlags = flags;
    if (const ShellNotifyFunction& hook = ShellNotifyHook()) {
        return hook(message, &data) != FALSE;
    }
    return Shell_NotifyIconW(message, &data) != FALSE;
}

LRESULT CTrayIcon::OnTrayNotification(WPARAM id, LPARAM mouseMessage) {
    if (id != m_nid.uID) {
        return 0;
    }
    switch (LOWORD(mouseMessage)) {
        case WM_RBUTTONUP:
            ShowMenu();
            break;
        case WM_LBUTTONDBLCLK: {
            HMENU menu = LoadMenuW(ui::ResourceInstance(), MAKEINTRESOURCEW(m_nid.uID));
            if (menu == nullptr) {
                break;
            }
            HMENU popup = GetSubMenu(menu, 0);
            const UINT first = popup != nullptr ? GetMenuItemID(popup, 0) : 0;
            DestroyMenu(menu);
            SetForegroundWindow(m_nid.hWnd);
            ::SendMessageW(m_nid.hWnd, WM_COMMAND, first, 0);
            break;
        }
        default:
            break;
    }
    return 1;
}

void CTrayIcon::ShowMenu() {
    HMENU menu = LoadMenuW(ui::ResourceInstance(), MAKEINTRESOURCEW(m_nid.uID));
    if (menu == nullptr) {
        return;
    }
    HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
        SetMenuDefaultItem(popup, 0, TRUE);
        MenuState state;
        state.autoMode = m_copies.bMode;
        state.busy = m_copies.bBusy;
        state.online = TheDialState().bOnline;
        state.planOn = m_copies.bPlan;
        state.composeOpen = m_copies.bCompose;
        for (const MenuEntry& change : TrayMenuChanges(state)) {
            ui::ModifyMenuItem(popup,
                               {change.id, change.text, change.checked, change.grayed, false});
        }
        SetForegroundWindow(m_nid.hWnd);
        POINT cursor;
        GetCursorPos(&cursor);
        ui::TrackMenu(popup, cursor, m_nid.hWnd);
        // Without this the menu may not close when the user clicks elsewhere.
        ::PostMessageW(m_nid.hWnd, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}

}  // namespace quorlet
