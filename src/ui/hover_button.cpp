#include "ui/hover_button.h"

#include <windowsx.h>

#include "ui/dialog.h"
#include "ui/gdi.h"

namespace quorlet::ui {

void Draw3dRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    auto fill = [dc](int x, int y, int w, int h, COLORREF colour) {
        SetBkColor(dc, colour);
        const RECT r{x, y, x + w, y + h};
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    };
    fill(rect.left, rect.top, width - 1, 1, topLeft);
    fill(rect.left, rect.top, 1, height - 1, topLeft);
    fill(rect.right - 1, rect.top, 1, height, bottomRight);
    fill(rect.left, rect.bottom - 1, width, 1, bottomRight);
}

RECT CentredText(HDC dc, const wchar_t* text, int length, const RECT& area) {
    RECT measured = area;
    DrawTextW(dc, text, length, &measured, DT_CALCRECT | DT_SINGLELINE);
    const int width = measured.right - measured.left;
    const int height = measured.bottom - measured.top;
    RECT place;
    place.left = area.left + (area.right - area.left - width) / 2;
    place.top = area.top + (area.bottom - area.top - height) / 2;
    place.right = place.left + width;
    place.bottom = place.top + height;
    return place;
}

void DrawButtonText(HDC dc, const wchar_t* text, int length, const RECT& place, bool disabled) {
    if (disabled) {
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), length, place.left,
                   place.top, place.right - place.left, place.bottom - place.top,
                   DST_PREFIXTEXT | DSS_DISABLED);
    } else {
        RECT area = place;
        DrawTextW(dc, text, length, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}

void MakeOwnerDrawn(HWND button) {
    ::SendMessageW(button, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    InvalidateRect(button, nullptr, TRUE);
}

CHoverButton::~CHoverButton() {
    if (m_sliceDC != nullptr) {
        SelectObject(m_sliceDC, m_sliceOld);
        DeleteObject(m_sliceBitmap);
        DeleteDC(m_sliceDC);
    }
}

void CHoverButton::SetBackgroundSlice(int x, int y, int width, int height) {
    m_nSliceX = x;
    m_nSliceY = y;
    m_nSliceWidth = width;
    m_nSliceHeight = height;
}

void CHoverButton::SetBackgroundSize(int width, int height) {
    m_nStretchWidth = width;
    m_nStretchHeight = height;
}

void CHoverButton::OnHooked() {
    MakeOwnerDrawn(m_hWnd);
}

bool CHoverButton::LoadBackground(HDC dc, const std::wstring& fileName) {
    Bitmap picture =
        m_nBitmap != 0 ? Bitmap::FromResource(m_nBitmap) : Bitmap::FromFile(fileName.c_str());
    if (!picture) {
        // No slice is made, so the button keeps the plain face rather than an empty picture.
        ReleaseDC(m_hWnd, dc);
        return false;
    }
    if (!m_bSliceCreated) {
        m_sliceDC = CreateCompatibleDC(dc);
        m_sliceBitmap = CreateCompatibleBitmap(dc, m_nSliceWidth, m_nSliceHeight);
        m_sliceOld = SelectObject(m_sliceDC, m_sliceBitmap);
        m_bSliceCreated = true;
    }
    if (m_nBitmap == 0) {
        m_nBitmap = 1;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ oldSource = SelectObject(source, picture.get());
    const SIZE size = picture.Size();
    if (size.cx < m_nStretchWidth || size.cy < m_nStretchHeight) {
        // The slice is cut from the picture as the window shows it: stretched to its size.
        Bitmap stretched(CreateCompatibleBitmap(dc, m_nStretchWidth, m_nStretchHeight));
        HDC target = CreateCompatibleDC(dc);
        HGDIOBJ oldTarget = SelectObject(target, stretched.get());
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(target, 0, 0, m_nStretchWidth, m_nStretchHeight, source, 0, 0, size.cx, size.cy,
                   SRCCOPY);
        BitBlt(m_sliceDC, 0, 0, m_nSliceWidth, m_nSliceHeight, target, m_nSliceX, m_nSliceY,
               SRCCOPY);
        SelectObject(target, oldTarget);
        DeleteDC(target);
    } else {
        BitBlt(m_sliceDC, 0, 0, m_nSliceWidth, m_nSliceHeight, source, m_nSliceX, m_nSliceY,
               SRCCOPY);
    }
    SelectObject(source, oldSource);
    DeleteDC(source);
    ReleaseDC(m_hWnd, dc);
    return true;
}

LRESULT CHoverButton::WindowProc(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case kReflectedDrawItem:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_MOUSEMOVE: {
            RECT client;
            GetClientRect(m_hWnd, &client);
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const bool inside = PtInRect(&client, point) != FALSE;
            if (GetCapture() == m_hWnd) {
                if (!inside) {
                    m_bHover = false;
                    ReleaseCapture();
                    InvalidateRect(m_hWnd, nullptr, FALSE);
                }
            } else if (inside) {
                m_bHover = true;
                SetCapture(m_hWnd);
                InvalidateRect(m_hWnd, nullptr, FALSE);
            }
            return Default();
        }
        case WM_LBUTTONUP:
            m_bHover = false;
            InvalidateRect(m_hWnd, nullptr, FALSE);
            return Default();
        case WM_CAPTURECHANGED:
            // Whoever took the mouse away, the pointer is no longer known to be over the button.
            if (m_bHover && reinterpret_cast<HWND>(lParam) != m_hWnd) {
                m_bHover = false;
                InvalidateRect(m_hWnd, nullptr, FALSE);
            }
            return Default();
        case WM_KILLFOCUS: {
            const LRESULT result = Default();
            m_bHover = false;
            InvalidateRect(m_hWnd, nullptr, FALSE);
            return result;
        }
        case WM_ERASEBKGND:
            return TRUE;  // the whole face is drawn by DrawItem
        default:
            return Default();
    }
}

void CHoverButton::DrawItem(const DRAWITEMSTRUCT& item) {
    const RECT rect = item.rcItem;
    OffscreenCanvas canvas(item.hDC, rect);
    HDC dc = canvas.dc();
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;

    if (m_nBitmap != 0 && m_bSliceCreated) {
        BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_sliceDC,
               0, 0, SRCCOPY);
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    }

    if (!m_bHover) {
        Draw3dRect(dc, rect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    } else if (pressed) {
        Draw3dRect(dc, rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    } else {
        RECT edge = rect;
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    }

    wchar_t text[256] = {};
    const int length = ::GetWindowTextW(m_hWnd, text, 256);
    if (length > 0) {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        SelectObjectScope fontScope(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
        if (m_bHover) {
            colour = pressed ? RGB(0, 0, 128) : RGB(0, 0, 255);
        }
        SetTextColor(dc, colour);
        RECT textRect = CentredText(dc, text, length, rect);
        if (m_bHover && !pressed) {
            OffsetRect(&textRect, -1, -1);
        }
        DrawButtonText(dc, text, length, textRect, (item.itemState & ODS_DISABLED) != 0);
    }

    if (m_nBitmap == 0 && (item.itemState & ODS_FOCUS) != 0) {
        RECT focus = rect;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
    canvas.Present();
}

}  // namespace quorlet::ui
