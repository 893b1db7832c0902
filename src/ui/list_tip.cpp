#include "ui/list_tip.h"

#include <commctrl.h>
#include <windowsx.h>

#include "base/tip_placement.h"
#include "platform/win32/wide_text.h"
#include "ui/controls.h"

namespace quorlet::ui {
namespace {

// The header row: a point less than this below the client top is on no cell.
constexpr int kHeaderHeight = 20;
constexpr UINT kShowDelay = 100;

SIZE MeasureText(HWND list, const std::string& text) {
    const std::wstring wide = win32::ToWide(text);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return size;
}

Box BoxOf(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

CPopupText& CListTip::Popup() {
    static CPopupText popup;  // shared by every list tip, for the process's life
    return popup;
}

bool CListTip::Attach(HWND list) {
    if (!HookWindow(list)) {
        return false;
    }
    m_nListId = GetDlgCtrlID(list);
    m_nItem = -1;  // a list shown again starts with no cell
    m_nSubItem = -1;
    m_bCaptured = false;
    // The pop-up belongs to the window it was made for; once that has gone it is made again.
    if (Popup().m_hWnd == nullptr) {
        Popup().m_szMargins = {4, 4};
        Popup().Create(POINT{0, 0}, list);
    }
    return true;
}

LRESULT CListTip::WindowProc(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            break;
        case WM_LBUTTONDOWN:
            Hide();
            break;
        case WM_CAPTURECHANGED:
            m_bCaptured = false;
            break;
        default:
            break;
    }
    return Default();
}

CListTip::Hit CListTip::HitTest(POINT point) const {
    Hit hit;
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (point.x > client.right || point.y < client.top + kHeaderHeight || point.y > client.bottom) {
        return hit;
    }
    LVHITTESTINFO info{};
    info.pt = point;
    if (SendMessageW(m_hWnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info)) < 0 ||
        info.iItem < 0) {
        return hit;
    }
    hit.item = info.iItem;
    hit.subItem = info.iSubItem;
    hit.text = CListCtrl(m_hWnd).GetItemText(info.iItem, info.iSubItem);
    if (hit.text.empty()) {
        return hit;
    }
    RECT label{};
    label.top = info.iSubItem;
    label.left = LVIR_LABEL;
    SendMessageW(m_hWnd, LVM_GETSUBITEMRECT, static_cast<WPARAM>(info.iItem),
                 reinterpret_cast<LPARAM>(&label));
    const SIZE size = MeasureText(m_hWnd, hit.text);
    hit.rect = {label.left, label.top, label.left + size.cx, label.top + size.cy};
    return hit;
}

bool CListTip::IsFullyVisible(const RECT& rect, int subItem) const {
    return IsCellTextFullyVisible(rect.right - rect.left,
                                  CListCtrl(m_hWnd).GetColumnWidth(subItem));
}

void CListTip::OnMouseMove(POINT point) {
    const Hit hit = HitTest(point);
    if (hit.item >= 0 && hit.item == m_nItem && hit.subItem == m_nSubItem) {
        return;  // the same cell: the tip stays as it is
    }
    Hide();
    m_nItem = hit.item;
    m_nSubItem = hit.subItem;
    CPopupText& popup = Popup();
    if (hit.item < 0 || hit.text.empty() || IsFullyVisible(hit.rect, hit.subItem) ||
        popup.m_hWnd == nullptr) {
        return;
    }
    RECT screen = hit.rect;
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    popup.SetWindowText(hit.text);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const Box tip = PlaceTip(BoxOf(screen), BoxOf(monitor.rcWork));
    SetWindowPos(popup.m_hWnd, nullptr, tip.left, tip.top, tip.Width(), tip.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    popup.ShowDelayed(kShowDelay);
    if (!m_bCaptured) {
        // Moves outside the list still come here, so the tip goes when the mouse leaves.
        SetCapture(m_hWnd);
        m_bCaptured = true;
    }
}

void CListTip::Hide() {
    Popup().Cancel();
    if (m_bCaptured) {
        m_bCaptured = false;
        ReleaseCapture();
    }
}

}  // namespace quorlet::ui
