#include "ui/icon_button.h"

#include <windowsx.h>

#include "ui/dialog.h"
#include "ui/gdi.h"
#include "ui/hover_button.h"
#include "ui/window.h"

namespace quorlet::ui {

CIconButton::CIconButton()
    : m_crInactiveBg(GetSysColor(COLOR_BTNFACE)),
      m_crInactiveFg(GetSysColor(COLOR_BTNTEXT)),
      m_crActiveBg(GetSysColor(COLOR_BTNFACE)),
      m_crActiveFg(GetSysColor(COLOR_BTNTEXT)) {}

CIconButton::~CIconButton() {
    FreeIcons();
    if (m_hCursor != nullptr) {
        DestroyCursor(m_hCursor);
    }
}

void CIconButton::FreeIcons() {
    if (m_hIconOut != nullptr && m_hIconOut != m_hIconIn) {
        DestroyIcon(m_hIconOut);
    }
    if (m_hIconIn != nullptr) {
        DestroyIcon(m_hIconIn);
    }
    m_hIconIn = m_hIconOut = nullptr;
}

void CIconButton::OnHooked() {
    MakeOwnerDrawn(m_hWnd);
}

void CIconButton::SetIcon(int iconIn, int iconOut, int width, int height) {
    FreeIcons();
    auto load = [](int id) {
        return static_cast<HICON>(
            LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, 0));
    };
    m_hIconIn = iconIn != 0 ? load(iconIn) : nullptr;
    m_hIconOut = iconOut != 0 ? load(iconOut) : m_hIconIn;
    m_cxIcon = static_cast<BYTE>(width);
    m_cyIcon = static_cast<BYTE>(height);
    if (m_hWnd != nullptr) {
        InvalidateRect(m_hWnd, nullptr, TRUE);
        UpdateWindow(m_hWnd);
    }
}

void CIconButton::Repaint(bool repaint) {
    if (repaint && m_hWnd != nullptr) {
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CIconButton::SetActiveFgColor(COLORREF colour, bool repaint) {
    m_crActiveFg = colour;
    Repaint(repaint);
}

void CIconButton::SetDefaultInactiveBgColor(bool repaint) {
    m_crInactiveBg = GetSysColor(COLOR_BTNFACE);
    Repaint(repaint);
}

void CIconButton::SetDefaultInactiveFgColor(bool repaint) {
    m_crInactiveFg = GetSysColor(COLOR_BTNTEXT);
    Repaint(repaint);
}

void CIconButton::SetDefaultActiveBgColor(bool repaint) {
    m_crActiveBg = GetSysColor(COLOR_BTNFACE);
    Repaint(repaint);
}

void CIconButton::SetDefaultActiveFgColor(bool repaint) {
    m_crActiveFg = GetSysColor(COLOR_BTNTEXT);
    Repaint(repaint);
}

LRESULT CIconButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kReflectedDrawItem:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_MOUSEMOVE: {
            const LRESULT result = Default();
            if (!m_bIsFlat) {
                return result;
            }
            const bool leftDown = (wParam & MK_LBUTTON) != 0;
            if (leftDown && !m_bHover) {
                return result;
            }
            if (GetCapture() != m_hWnd && GetParent(m_hWnd) != nullptr) {
                m_bHover = true;
                SetCapture(m_hWnd);
                InvalidateRect(m_hWnd, nullptr, TRUE);
                return result;
            }
            RECT client;
            GetClientRect(m_hWnd, &client);
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (!PtInRect(&client, point)) {
                if (m_bHover) {
                    m_bHover = false;
                    InvalidateRect(m_hWnd, nullptr, TRUE);
                }
                if (!leftDown) {
                    ReleaseCapture();
                }
            }
            return result;
        }
        case WM_CAPTURECHANGED: {
            const LRESULT result = Default();
            if (m_bIsFlat && m_bHover && reinterpret_cast<HWND>(lParam) != m_hWnd) {
                InvalidateRect(m_hWnd, nullptr, TRUE);
            }
            return result;
        }
        case WM_KILLFOCUS: {
            const LRESULT result = Default();
            if (m_bIsFlat && m_bHover) {
                m_bHover = false;
                InvalidateRect(m_hWnd, nullptr, TRUE);
            }
            return result;
        }
        case WM_SETCURSOR:
            if (m_hCursor != nullptr) {
                SetCursor(m_hCursor);
                return TRUE;
            }
            return Default();
        case WM_ERASEBKGND:
            return TRUE;
        default:
            return Default();
    }
}

void CIconButton::DrawItem(const DRAWITEMSTRUCT& item) {
    RECT rect = item.rcItem;
    OffscreenCanvas canvas(item.hDC, rect);
    HDC dc = canvas.dc();
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool active = m_bHover || pressed;

    // The area outside a shrunk rectangle still belongs to the button.
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!m_bIsFlat && focused) {
        HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        FrameRect(dc, &rect, black);
        InflateRect(&rect, -1, -1);
    }
    HBRUSH background = CreateSolidBrush(active ? m_crActiveBg : m_crInactiveBg);
    FillRect(dc, &rect, background);
    DeleteObject(background);

    if (pressed) {
        if (!m_bIsFlat) {
            HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
            FrameRect(dc, &rect, shadow);
        } else if (m_bDrawBorder) {
            Draw3dRect(dc, rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        }
    } else if (!m_bIsFlat) {
        RECT edge = rect;
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    } else if (m_bHover && m_bDrawBorder) {
        Draw3dRect(dc, rect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }

    wchar_t text[256] = {};
    const int length = ::GetWindowTextW(m_hWnd, text, 256);
    const bool withText = length > 0 && m_bShowText;
    RECT textArea = rect;

    if (m_hIconIn != nullptr) {
        int x = 0;
        int y = 0;
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        if (m_nAlign == 0) {
            x = withText ? rect.left + 3 : rect.left + (width - m_cxIcon) / 2;
            y = rect.top + (height - m_cyIcon) / 2;
            if (withText) {
                textArea.left = rect.left + m_cxIcon + 3;
            }
        } else {
            x = rect.left + (width - m_cxIcon) / 2;
            y = withText ? rect.top : rect.top + (height - m_cyIcon) / 2;
            if (withText) {
                textArea.top = rect.top + m_cyIcon;
            }
        }
        if (pressed) {
            ++x;
            ++y;
        }
        HICON icon = active ? m_hIconIn : m_hIconOut;
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, 0, 0,
                   DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
    }

    if (withText) {
        if (pressed) {
            OffsetRect(&textArea, 1, 1);
        }
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        SelectObjectScope fontScope(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
        const RECT place = CentredText(dc, text, length, textArea);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, active ? m_crActiveFg : m_crInactiveFg);
        DrawButtonText(dc, text, length, place, disabled);
    }

    if (focused && (!m_bIsFlat || m_bFlatFocus)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
    canvas.Present();
}

}  // namespace quorlet::ui
