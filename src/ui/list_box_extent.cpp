#include "ui/list_box_extent.h"

#include <algorithm>
#include <string>

namespace quorlet::ui {

void SetListBoxExtent(HWND dialog, int listBoxId) {
    HWND list = GetDlgItem(dialog, listBoxId);
    if (list == nullptr) {
        return;
    }
    const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    int extent = 0;
    HDC dc = GetDC(list);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < count; ++i) {
        // Items of any length are measured whole.
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0) {
            continue;
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(length), &size);
        extent = std::max(extent, static_cast<int>(size.cx) + 3);
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    ::SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

}  // namespace quorlet::ui
