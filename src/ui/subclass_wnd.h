// CSubclassWnd: a hook on another window's procedure. Several hooks may sit on one window; the
// newest sees each message first and passes it on with Default(). Built on the common controls'
// subclassing, which keeps the chain per window; every hook leaves the chain when the window is
// destroyed, and a hook object leaves it when it is destroyed itself.
#pragma once

#include <windows.h>

namespace quorlet::ui {

class CSubclassWnd {
public:
    CSubclassWnd() = default;
    virtual ~CSubclassWnd();
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Joins the window's chain; with nullptr, leaves the chain. False when it cannot hook.
    bool HookWindow(HWND window);
    bool SubclassDlgItem(int id, HWND dialog) { return HookWindow(GetDlgItem(dialog, id)); }
    bool IsHooked() const { return m_hWnd != nullptr; }

    HWND m_hWnd = nullptr;

protected:
    // Called for each message of the window; the default passes it on down the chain.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Passes the message being handled on to the next hook or the window's own procedure.
    LRESULT Default();
    // Called once the window is hooked.
    virtual void OnHooked() {}

private:
    static LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);

    struct Current {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    Current m_current{};
};

}  // namespace quorlet::ui
