#include "ui/data_exchange.h"

#include <string>

#include "base/c_numbers.h"
#include "ui/byte_limited_edit.h"
#include "ui/subclass_wnd.h"
#include "ui/window.h"

namespace quorlet::ui {

void CDataExchange::Fail(int id) {
    m_failed = true;
    if (HWND control = GetDlgItem(m_dialog, id)) {
        SetFocus(control);
    }
}

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    HWND control = GetDlgItem(dx.Dialog(), id);
    if (dx.Saving()) {
        value = GetText(control);
    } else {
        SetText(control, value);
    }
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    std::string text = std::to_string(value);
    DDX_Text(dx, id, text);
    if (dx.Saving()) {
        value = AtoI(text);
    }
}

void DDX_Check(CDataExchange& dx, int id, bool& value) {
    if (dx.Saving()) {
        value = IsDlgButtonChecked(dx.Dialog(), id) == BST_CHECKED;
    } else {
        CheckDlgButton(dx.Dialog(), id, value ? BST_CHECKED : BST_UNCHECKED);
    }
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    bool checked = value != 0;
    DDX_Check(dx, id, checked);
    if (dx.Saving()) {
        value = checked ? 1 : 0;
    }
}

void DDX_Radio(CDataExchange& dx, int firstId, int& value) {
    // The group runs from the first button to the next control that starts a group; only its
    // radio buttons count, a label or a box placed among them does not.
    if (dx.Saving()) {
        value = -1;
    }
    const HWND first = GetDlgItem(dx.Dialog(), firstId);
    int index = 0;
    for (HWND control = first; control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        if (control != first && (GetWindowLongW(control, GWL_STYLE) & WS_GROUP) != 0) {
            break;
        }
        if ((::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) == 0) {
            continue;
        }
        if (dx.Saving()) {
            if (::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                value = index;
            }
        } else {
            ::SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDV_MaxChars(CDataExchange& dx, int id, int maxChars) {
    if (!dx.Saving()) {
        SendDlgItemMessageW(dx.Dialog(), id, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
    }
}

void DDV_MaxBytes(CDataExchange& dx, int id, CByteLimitedEdit& edit, std::size_t maxBytes) {
    if (!dx.Saving() && edit.m_hWnd == nullptr) {
        edit.Attach(dx.Dialog(), id, maxBytes);
    }
}

void DDX_Control(CDataExchange& dx, int id, CSubclassWnd& control) {
    if (control.m_hWnd == nullptr) {
        control.SubclassDlgItem(id, dx.Dialog());
    }
}

}  // namespace quorlet::ui
