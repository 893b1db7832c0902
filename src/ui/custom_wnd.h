// CCustomWnd: the base of the framework's windows that are not dialogs. Each class name is
// registered once with the framework's own procedure, so the procedure is in place from the
// window's first message (WM_NCCREATE carries the object) rather than swapped in after creation.
// The object is kept in a window property, removed before the window goes; like the dialogs'
// procedure, this one keeps every exception inside.
#pragma once

#include <windows.h>

#include "ui/window.h"

namespace quorlet::ui {

class CCustomWnd : public CWnd {
public:
    CCustomWnd() = default;
    ~CCustomWnd() override;  // destroys the window if it is still there
    CCustomWnd(const CCustomWnd&) = delete;
    CCustomWnd& operator=(const CCustomWnd&) = delete;

    // The object of a window created through CreateEx, or nullptr.
    static CCustomWnd* FromHandle(HWND window);

protected:
    // Creates a window of the class `className` (registered on first use, arrow cursor, no
    // background brush: the subclass paints).
    bool CreateEx(DWORD exStyle, const wchar_t* className, DWORD style, const RECT& area,
                  HWND parent);
    // Every message of the window; the default is the system's default handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefWindowProcW(m_hWnd, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace quorlet::ui
