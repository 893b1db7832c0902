// Small steps the window tests repeat on dialogs and property sheets: reading and typing field
// texts, the state of buttons, choosing in lists the way a click does, the page a sheet shows,
// a control's place in its parent and the last message box shown.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "gui_support.h"
#include "ui/controls.h"

namespace quorlet::testing {

inline std::string TextOf(HWND dialog, int id) {
    return ui::GetText(GetDlgItem(dialog, id));
}
inline void Type(HWND dialog, int id, const std::string& text) {
    ui::SetText(GetDlgItem(dialog, id), text);
}
inline bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}
inline bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// Selects an entry of a combo box (or a list box) with the notification a click sends; the
// entries of either.
inline void Choose(HWND dialog, int id, int index, bool comboBox = true) {
    HWND list = GetDlgItem(dialog, id);
    SendMessageW(list, comboBox ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, comboBox ? CBN_SELCHANGE : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}
inline std::vector<std::string> Entries(HWND dialog, int id, bool comboBox = true) {
    const ui::CComboBox box(GetDlgItem(dialog, id));
    const ui::CListBox list(GetDlgItem(dialog, id));
    std::vector<std::string> entries;
    for (int i = 0; i < (comboBox ? box.GetCount() : list.GetCount()); ++i) {
        entries.push_back(comboBox ? box.GetLBText(i) : list.GetText(i));
    }
    return entries;
}

// The showing page of a sheet, and moving to another page (which asks the showing one).
inline HWND ShowingPage(HWND sheet) {
    return PropSheet_GetCurrentPageHwnd(sheet);
}
inline HWND GoTo(HWND sheet, int index) {
    PropSheet_SetCurSel(sheet, nullptr, index);
    PumpFor(std::chrono::milliseconds(30));
    return ShowingPage(sheet);
}

// A control's rectangle in its parent's client area.
inline RECT InParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline void ExpectLastShown(const ScriptedPrompter& prompter, const std::string& text,
                            const std::string& title, MessageIcon icon) {
    ASSERT_FALSE(prompter.shown.empty()) << text;
    EXPECT_EQ(prompter.shown.back().text, text);
    EXPECT_EQ(prompter.shown.back().title, title);
    EXPECT_EQ(prompter.shown.back().icon, icon);
}

}  // namespace quorlet::testing
