// Non-owning wrappers over the standard controls of a dialog: a handle and the messages the
// program sends, with text as GBK.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/window.h"

namespace quorlet::ui {

class CButton : public CWnd {
public:
    using CWnd::CWnd;
    bool GetCheck() const { return SendMessage(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) const { SendMessage(BM_SETCHECK, checked ? BST_CHECKED : 0); }
    void Click() const { SendMessage(BM_CLICK); }
};

class CStatic : public CWnd {
public:
    using CWnd::CWnd;
};

class CEdit : public CWnd {
public:
    using CWnd::CWnd;
    void LimitText(int maxChars) const { SendMessage(EM_LIMITTEXT, maxChars); }
    void SetSel(int start, int end) const { SendMessage(EM_SETSEL, start, end); }
    void SetPasswordChar(wchar_t c) const { SendMessage(EM_SETPASSWORDCHAR, c); }
};

class CListBox : public CWnd {
public:
    using CWnd::CWnd;
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int AddString(const std::string& text) const;
    int InsertString(int index, const std::string& text) const;
    int DeleteString(int index) const {
        return static_cast<int>(SendMessage(LB_DELETESTRING, index));
    }
    std::string GetText(int index) const;
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    void SetCurSel(int index) const { SendMessage(LB_SETCURSEL, index); }
    void ResetContent() const { SendMessage(LB_RESETCONTENT); }
};

class CComboBox : public CWnd {
public:
    using CWnd::CWnd;
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int AddString(const std::string& text) const;
    std::string GetLBText(int index) const;
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    void SetCurSel(int index) const { SendMessage(CB_SETCURSEL, index); }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
};

class CSpinButtonCtrl : public CWnd {
public:
    using CWnd::CWnd;
    void SetRange(int lower, int upper) const { SendMessage(UDM_SETRANGE32, lower, upper); }
};

// A list view in report mode.
class CListCtrl : public CWnd {
public:
    using CWnd::CWnd;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertColumn(int index, const std::string& title, int format, int width) const;
    int InsertItem(int index, const std::string& text, int image) const;
    bool SetItemText(int item, int subItem, const std::string& text) const;
    std::string GetItemText(int item, int subItem) const;
    bool DeleteItem(int item) const { return SendMessage(LVM_DELETEITEM, item) != 0; }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    // State image 1-based index as the list keeps it (0 = none).
    void SetStateImage(int item, int image) const;
    int GetStateImage(int item) const;
    int GetImage(int item) const;
    void SetImage(int item, int image) const;
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, item, mask));
    }
    HIMAGELIST SetImageList(HIMAGELIST list, int which) const {
        return reinterpret_cast<HIMAGELIST>(
            SendMessage(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)));
    }
    HWND GetHeader() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    int GetColumnCount() const;
    int GetColumnWidth(int column) const {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, column));
    }
    int GetColumnFormat(int column) const;
    bool GetItemRect(int item, RECT& rect, int code) const;
};

}  // namespace quorlet::ui
