// The thinnest wrapper over a window handle, as the dialogs and controls of the program use it.
// Text goes in and out as GBK and is converted to UTF-16 here.
#pragma once

#include <windows.h>

#include <string>

namespace quorlet::ui {

std::string GetText(HWND window);
void SetText(HWND window, const std::string& text);

// The module the program's resources live in (the executable).
HINSTANCE ResourceInstance();

// A string of the string table, as GBK; empty when there is none.
std::string LoadResourceString(UINT id);

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND window) : m_hWnd(window) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    std::string GetWindowText() const { return GetText(m_hWnd); }
    void SetWindowText(const std::string& text) const { SetText(m_hWnd, text); }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::string GetDlgItemText(int id) const { return GetText(GetDlgItem(id)); }
    void SetDlgItemText(int id, const std::string& text) const { SetText(GetDlgItem(id), text); }
    void EnableDlgItem(int id, bool enable) const { ::EnableWindow(GetDlgItem(id), enable); }
    bool IsDlgButtonChecked(int id) const {
        return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
    }
    void CheckDlgButton(int id, bool checked) const {
        ::CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }

    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    void ShowWindow(int command) const { ::ShowWindow(m_hWnd, command); }
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
    }

    HWND m_hWnd = nullptr;
};

}  // namespace quorlet::ui
