#include "ui/popup_text.h"

#include "platform/win32/wide_text.h"

namespace quorlet::ui {
namespace {

constexpr wchar_t kClassName[] = L"QuorletPopupText";
constexpr UINT_PTR kShowTimer = 1;

}  // namespace

bool CPopupText::Create(POINT point, HWND parent, UINT style, UINT id) {
    m_parent = parent;
    m_style = style;
    // Whatever the caller asks for, a bordered hidden popup without a taskbar button.
    (void)id;  // a popup has no control identifier; kept for the callers' symmetry
    return CreateEx(WS_EX_TOOLWINDOW, kClassName, WS_POPUP | WS_BORDER,
                    RECT{point.x, point.y, point.x, point.y}, parent);
}

HFONT CPopupText::ParentFont() const {
    HFONT font = m_parent != nullptr
                     ? reinterpret_cast<HFONT>(::SendMessageW(m_parent, WM_GETFONT, 0, 0))
                     : nullptr;
    return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void CPopupText::SetWindowText(const std::string& text) {
    const std::wstring wide = win32::ToWide(text);
    ::SetWindowTextW(m_hWnd, wide.c_str());

    HDC dc = GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, ParentFont());
    RECT needed{0, 0, 0, 0};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &needed,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);

    RECT window;
    GetWindowRect(m_hWnd, &window);
    RECT wanted{0, 0, needed.right + 2 * m_szMargins.cx, needed.bottom + 2 * m_szMargins.cy};
    AdjustWindowRectEx(&wanted, static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE)));
    const int width = wanted.right - wanted.left;
    const int height = wanted.bottom - wanted.top;
    const int left = (m_style & kJustifyRight) != 0 ? window.right - width : window.left;
    SetWindowPos(m_hWnd, nullptr, left, window.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPopupText::ShowDelayed(UINT milliseconds) {
    if (milliseconds == 0) {
        WindowProc(WM_TIMER, kShowTimer, 0);
    } else {
        SetTimer(m_hWnd, kShowTimer, milliseconds, nullptr);
    }
}

void CPopupText::Cancel() {
    if (m_hWnd != nullptr) {
        KillTimer(m_hWnd, kShowTimer);
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

LRESULT CPopupText::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_NCHITTEST:
            if ((m_style & kTransparent) != 0) {
                return HTTRANSPARENT;
            }
            break;
        case WM_TIMER:
            if (wParam == kShowTimer) {
                ::ShowWindow(m_hWnd, SW_SHOWNA);
                InvalidateRect(m_hWnd, nullptr, TRUE);
                UpdateWindow(m_hWnd);
                KillTimer(m_hWnd, kShowTimer);
                return 0;
            }
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void CPopupText::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(m_hWnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    wchar_t text[512] = {};
    const int length = ::GetWindowTextW(m_hWnd, text, 512);
    HGDIOBJ old = SelectObject(dc, ParentFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    DrawTextW(dc, text, length, &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    EndPaint(m_hWnd, &paint);
}

}  // namespace quorlet::ui
