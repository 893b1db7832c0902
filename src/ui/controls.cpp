#include "ui/controls.h"

#include "platform/win32/wide_text.h"

namespace quorlet::ui {
namespace {

std::string ItemText(HWND window, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = ::SendMessageW(window, lengthMessage, index, 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(window, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return win32::FromWide(text);
}

}  // namespace

int CListBox::AddString(const std::string& text) const {
    const std::wstring wide = win32::ToWide(text);
    return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int CListBox::InsertString(int index, const std::string& text) const {
    const std::wstring wide = win32::ToWide(text);
    return static_cast<int>(
        SendMessage(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str())));
}

std::string CListBox::GetText(int index) const {
    return ItemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, index);
}

int CComboBox::AddString(const std::string& text) const {
    const std::wstring wide = win32::ToWide(text);
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

std::string CComboBox::GetLBText(int index) const {
    return ItemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int CListCtrl::InsertColumn(int index, const std::string& title, int format, int width) const {
    std::wstring wide = win32::ToWide(title);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = wide.data();
    column.iSubItem = index;
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int index, const std::string& text, int image) const {
    std::wstring wide = win32::ToWide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = wide.data();
    item.iImage = image;
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int item, int subItem, const std::string& text) const {
    std::wstring wide = win32::ToWide(text);
    LVITEMW lv{};
    lv.iSubItem = subItem;
    lv.pszText = wide.data();
    return SendMessage(LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lv)) != 0;
}

std::string CListCtrl::GetItemText(int item, int subItem) const {
    std::wstring buffer(512, L'\0');
    LVITEMW lv{};
    lv.iSubItem = subItem;
    lv.pszText = buffer.data();
    lv.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT length = SendMessage(LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lv));
    buffer.resize(static_cast<std::size_t>(length));
    return win32::FromWide(buffer);
}

void CListCtrl::SetStateImage(int item, int image) const {
    LVITEMW lv{};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(image);
    SendMessage(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lv));
}

int CListCtrl::GetStateImage(int item) const {
    return static_cast<int>((GetItemState(item, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12);
}

int CListCtrl::GetImage(int item) const {
    LVITEMW lv{};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv));
    return lv.iImage;
}

void CListCtrl::SetImage(int item, int image) const {
    LVITEMW lv{};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    lv.iImage = image;
    SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&lv));
}

int CListCtrl::GetColumnCount() const {
    HWND header = GetHeader();
    return header != nullptr ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int CListCtrl::GetColumnFormat(int column) const {
    LVCOLUMNW lv{};
    lv.mask = LVCF_FMT;
    SendMessage(LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&lv));
    return lv.fmt;
}

bool CListCtrl::GetItemRect(int item, RECT& rect, int code) const {
    rect.left = code;
    return SendMessage(LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect)) != 0;
}

}  // namespace quorlet::ui
