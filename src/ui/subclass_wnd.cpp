#include "ui/subclass_wnd.h"

#include <commctrl.h>

#include <optional>

#include "ui/exception_boundary.h"

namespace quorlet::ui {

CSubclassWnd::~CSubclassWnd() {
    HookWindow(nullptr);
}

bool CSubclassWnd::HookWindow(HWND window) {
    if (window == nullptr) {
        if (m_hWnd != nullptr) {
            RemoveWindowSubclass(m_hWnd, &CSubclassWnd::HookProc, reinterpret_cast<UINT_PTR>(this));
            m_hWnd = nullptr;
        }
        return true;
    }
    if (m_hWnd != nullptr || !IsWindow(window)) {
        return false;
    }
    if (!SetWindowSubclass(window, &CSubclassWnd::HookProc, reinterpret_cast<UINT_PTR>(this), 0)) {
        return false;
    }
    m_hWnd = window;
    OnHooked();
    return true;
}

LRESULT CSubclassWnd::WindowProc(UINT, WPARAM, LPARAM) {
    return Default();
}

LRESULT CSubclassWnd::Default() {
    return DefSubclassProc(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CALLBACK CSubclassWnd::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR) {
    auto* hook = reinterpret_cast<CSubclassWnd*>(id);
    if (message == WM_NCDESTROY) {
        // Leave the chain first; the window's own procedure still gets the message.
        RemoveWindowSubclass(window, &CSubclassWnd::HookProc, id);
        hook->m_hWnd = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    const Current saved = hook->m_current;
    hook->m_current = {message, wParam, lParam};
    // A hook that fails passes the message on as if it had not been there.
    const std::optional<LRESULT> handled = RunGuarded(
        L"a window hook", std::optional<LRESULT>{},
        [&] { return std::optional<LRESULT>(hook->WindowProc(message, wParam, lParam)); });
    const LRESULT result = handled ? *handled : DefSubclassProc(window, message, wParam, lParam);
    hook->m_current = saved;
    return result;
}

}  // namespace quorlet::ui
