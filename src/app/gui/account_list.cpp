#include "app/gui/account_list.h"

#include <windowsx.h>

#include <string>

#include "ui/dialog.h"

namespace quorlet {

CAccountListCtrl::~CAccountListCtrl() {
    if (m_hWnd != nullptr) {
        List().SetImageList(nullptr, LVSIL_STATE);
        List().SetImageList(nullptr, LVSIL_SMALL);
    }
    ReleaseStateImages();
    if (m_smallImages != nullptr) {
        ImageList_Destroy(m_smallImages);
    }
}

void CAccountListCtrl::SetImageLists(HIMAGELIST stateImages, HIMAGELIST smallImages) {
    // This object owns the image lists and destroys them; without this style the list view
    // would destroy them too when its window goes, and the second destruction at exit would
    // corrupt the heap on Windows.
    SetWindowLongPtrW(m_hWnd, GWL_STYLE,
                      GetWindowLongPtrW(m_hWnd, GWL_STYLE) | LVS_SHAREIMAGELISTS);
    m_stateImages = stateImages;
    m_smallImages = smallImages;
    List().SetImageList(stateImages, LVSIL_STATE);
    List().SetImageList(smallImages, LVSIL_SMALL);
}

void CAccountListCtrl::ReleaseStateImages() {
    if (m_stateImages != nullptr) {
        if (m_hWnd != nullptr) {
            List().SetImageList(nullptr, LVSIL_STATE);
        }
        ImageList_Destroy(m_stateImages);
        m_stateImages = nullptr;
    }
}

void CAccountListCtrl::SetBackground(ui::Bitmap background) {
    m_background = std::move(background);
    if (m_hWnd != nullptr) {
        // The rows are drawn over the picture, never on a background colour of the list's own.
        ::SendMessageW(m_hWnd, LVM_SETBKCOLOR, 0,
                       m_background ? CLR_NONE : GetSysColor(COLOR_WINDOW));
        ::SendMessageW(m_hWnd, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

int CAccountListCtrl::RowAt(POINT point) const {
    const ui::CListCtrl list = List();
    const int count = list.GetItemCount();
    const int top = static_cast<int>(::SendMessageW(m_hWnd, LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(::SendMessageW(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0));
    for (int row = top; row < count && row <= top + page; ++row) {
        RECT bounds;
        if (list.GetItemRect(row, bounds, LVIR_BOUNDS) && PtInRect(&bounds, point)) {
            return row;
        }
    }
    return -1;
}

void CAccountListCtrl::TileBackground(HDC dc, const RECT& area) {
    if (!m_background) {
        FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    // The pattern starts at the top-left corner of row 0, so that it scrolls with the rows.
    POINT origin{0, 0};
    RECT first;
    if (List().GetItemCount() > 0 && List().GetItemRect(0, first, LVIR_BOUNDS)) {
        origin = {first.left, first.top};
    } else if (HWND header = List().GetHeader()) {
        RECT headerRect;
        GetWindowRect(header, &headerRect);
        origin.y = headerRect.bottom - headerRect.top;
    }
    HPALETTE palette = nullptr;
    HPALETTE oldPalette = nullptr;
    if ((GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0) {
        palette = CreateHalftonePalette(dc);
        oldPalette = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    const SIZE size = m_background.Size();
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, m_background.get());
    auto first_step = [](int from, int origin, int step) {
        int start = origin - ((origin - from) / step + 1) * step;
        while (start + step <= from) {
            start += step;
        }
        return start;
    };
    const int startX = first_step(area.left, origin.x, size.cx);
    const int startY = first_step(area.top, origin.y, size.cy);
    for (int y = startY; y < area.bottom; y += size.cy) {
        for (int x = startX; x < area.right; x += size.cx) {
            const int left = std::max<int>(x, area.left);
            const int top = std::max<int>(y, area.top);
            const int right = std::min<int>(x + size.cx, area.right);
            const int bottom = std::min<int>(y + size.cy, area.bottom);
            BitBlt(dc, left, top, right - left, bottom - top, source, left - x, top - y, SRCCOPY);
        }
    }
    SelectObject(source, old);
    DeleteDC(source);
    if (palette != nullptr) {
        SelectPalette(dc, oldPalette, FALSE);
        DeleteObject(palette);
    }
}

LRESULT CAccountListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case ui::kReflectedDrawItem:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_ERASEBKGND: {
            if (!m_background) {
                return Default();
            }
            RECT client;
            GetClientRect(m_hWnd, &client);
            TileBackground(reinterpret_cast<HDC>(wParam), client);
            return TRUE;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // A click ticks or unticks the row; it never selects or focuses it, so the list's
            // own click handling is not run. A quick second click counts as a click as well.
            const int row = RowAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (row >= 0 && onRowClicked) {
                onRowClicked(row);
            }
            return 0;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHEADERW*>(lParam);
            if (header->hdr.code == HDN_ITEMCHANGINGW || header->hdr.code == HDN_ITEMCHANGINGA ||
                header->hdr.code == HDN_TRACKW || header->hdr.code == HDN_TRACKA) {
                // Everything right of the moving edge is drawn again over the picture.
                int left = 0;
                for (int column = 0; column < header->iItem; ++column) {
                    left += List().GetColumnWidth(column);
                }
                const int scroll = GetScrollPos(m_hWnd, SB_HORZ);
                RECT client;
                GetClientRect(m_hWnd, &client);
                client.left = left - scroll;
                InvalidateRect(m_hWnd, &client, TRUE);
            }
            return Default();
        }
        default:
            return Default();
    }
}

void CAccountListCtrl::DrawItem(const DRAWITEMSTRUCT& item) {
    const int row = static_cast<int>(item.itemID);
    const ui::CListCtrl list = List();
    HDC dc = item.hDC;
    const RECT rowRect = item.rcItem;
    const UINT state = list.GetItemState(
        row, LVIS_SELECTED | LVIS_DROPHILITED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK);
    const bool listHasFocus = GetFocus() == m_hWnd;
    const bool showsSelection = (GetWindowLongW(m_hWnd, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
    const bool highlighted = (state & LVIS_DROPHILITED) != 0 ||
                             ((state & LVIS_SELECTED) != 0 && (listHasFocus || showsSelection));

    const int columns = list.GetColumnCount();
    const int firstWidth = columns > 0 ? list.GetColumnWidth(0) : rowRect.right - rowRect.left;
    RECT labelArea = rowRect;
    labelArea.left = rowRect.left + 32;
    if (highlighted) {
        FillRect(dc, &labelArea, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        TileBackground(dc, rowRect);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    }
    RECT imageArea = rowRect;
    imageArea.right = labelArea.left;
    if (highlighted) {
        TileBackground(dc, imageArea);
    }
    SetBkMode(dc, TRANSPARENT);

    const int imageTop = rowRect.top + (rowRect.bottom - rowRect.top - 16) / 2;
    const int stateImage = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
    if (m_stateImages != nullptr && stateImage > 0) {
        ImageList_Draw(m_stateImages, stateImage - 1, dc, rowRect.left, imageTop, ILD_TRANSPARENT);
    }
    if (m_smallImages != nullptr) {
        ImageList_Draw(m_smallImages, list.GetImage(row), dc, rowRect.left + 16, imageTop,
                       ILD_TRANSPARENT);
    }

    SIZE space{};
    GetTextExtentPoint32W(dc, L" ", 1, &space);
    const UINT textFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    int columnLeft = rowRect.left;
    for (int column = 0; column < std::max(columns, 1); ++column) {
        const int width = column == 0 ? firstWidth : list.GetColumnWidth(column);
        RECT cell{columnLeft, rowRect.top, columnLeft + width, rowRect.bottom};
        if (column == 0) {
            cell.left = labelArea.left + space.cx;
            cell.right -= 2 * space.cx;
        } else {
            cell.left += 2 * space.cx;
            cell.right -= 2 * space.cx;
        }
        UINT align = DT_LEFT;
        if (column > 0) {
            const int format = list.GetColumnFormat(column) & LVCFMT_JUSTIFYMASK;
            align = format == LVCFMT_RIGHT    ? DT_RIGHT
                    : format == LVCFMT_CENTER ? DT_CENTER
                                              : DT_LEFT;
        }
        if (cell.right > cell.left) {
            const std::wstring text = [&] {
                wchar_t buffer[256] = {};
                LVITEMW lv{};
                lv.iSubItem = column;
                lv.pszText = buffer;
                lv.cchTextMax = 256;
                ::SendMessageW(m_hWnd, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&lv));
                return std::wstring(buffer);
            }();
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell, textFormat | align);
        }
        columnLeft += width;
    }

    if ((state & LVIS_FOCUSED) != 0 && listHasFocus) {
        DrawFocusRect(dc, &labelArea);
    }
}

}  // namespace quorlet
