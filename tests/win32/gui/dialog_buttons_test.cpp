// How a dialog routes WM_COMMAND: clicks (buttons, menus, accelerators) reach OnButtonClicked and
// every other notification reaches OnCommand; the buttons a dialog names act as OK and Cancel, as
// Enter, Esc and the close box do. And the startup password dialog, where Esc does nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/gui/password_dlg.h"
#include "app_ids.h"
#include "gui_support.h"
#include "mail_ids.h"
#include "resource.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;

// The result a script gives a dialog that the action left open.
constexpr INT_PTR kStillOpen = -5;

// A dialog on the address filter's resource (a list box, "增加(&a)", "删除(&d)", "确定" as the
// default button, "取消" and the check box "禁止") that records what reaches its handlers.
class RecordingDialog : public ui::CDialog {
public:
    RecordingDialog(int okButton, int cancelButton)
        : CDialog(IDD_ADDRESS_FILTER, okButton, cancelButton) {}

    std::vector<std::string> calls;

protected:
    bool OnButtonClicked(int id) override {
        calls.push_back("click " + std::to_string(id));
        return CDialog::OnButtonClicked(id);
    }
    bool OnCommand(int id, int code) override {
        // The list box also reports gaining and losing the focus; those say nothing here.
        if (code != LBN_SETFOCUS && code != LBN_KILLFOCUS) {
            // A mouse selection may be reported on press and on release: keep one.
            const std::string call = "command " + std::to_string(id) + "/" + std::to_string(code);
            if (calls.empty() || calls.back() != call) {
                calls.push_back(call);
            }
        }
        return true;
    }
    void OnOK() override {
        calls.push_back("OK");
        CDialog::OnOK();
    }
    void OnCancel() override {
        calls.push_back("Cancel");
        CDialog::OnCancel();
    }
};

void ClickFirstItem(HWND list) {
    RECT item;
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(list, WM_LBUTTONUP, 0, point);
}

TEST(DialogButtons, ClicksReachOnButtonClickedOtherNotificationsOnCommand) {
    using Action = std::function<void(ui::CDialog&)>;
    struct Case {
        const char* name;
        bool mapped;  // "确定" and "取消" named as the dialog's OK and Cancel buttons
        Action act;
        std::vector<std::string> calls;
        INT_PTR result;
    };
    const auto click = [](int id) { return [id](ui::CDialog& d) { testing::Click(d, id); }; };
    const auto key = [](UINT k) { return [k](ui::CDialog& d) { testing::PressKey(d, k); }; };
    const auto command = [](int id, int code) {
        return [id, code](ui::CDialog& d) { d.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), 0); };
    };
    const Case cases[] = {
        {"the OK button", true, click(IDC_FILTER_OK), {"click 1054", "OK"}, IDOK},
        {"the Cancel button", true, click(IDC_FILTER_CANCEL), {"click 1055", "Cancel"}, IDCANCEL},
        {"an OK button not named", false, click(IDC_FILTER_OK), {"click 1054"}, kStillOpen},
        {"a Cancel button not named", false, click(IDC_FILTER_CANCEL), {"click 1055"}, kStillOpen},
        {"Enter on the default button", true, key(VK_RETURN), {"click 1054", "OK"}, IDOK},
        {"Esc", true, key(VK_ESCAPE), {"click 2", "Cancel"}, IDCANCEL},
        {"Esc without named buttons", false, key(VK_ESCAPE), {"click 2", "Cancel"}, IDCANCEL},
        {"the close box",
         true,
         [](ui::CDialog& d) { d.SendMessage(WM_CLOSE); },
         {"click 2", "Cancel"},
         IDCANCEL},
        {"a button of its own", true, click(IDC_FILTER_ADD), {"click 1052"}, kStillOpen},
        {"a check box", true, click(IDC_FILTER_DISABLE), {"click 1012"}, kStillOpen},
        {"a menu command", true, command(IDC_FILTER_ADD, 0), {"click 1052"}, kStillOpen},
        {"an accelerator", true, command(IDC_FILTER_ADD, 1), {"click 1052"}, kStillOpen},
        // Code 1 from a control is its notification, not an accelerator.
        {"a list box selection by the mouse",
         true,
         [](ui::CDialog& d) { ClickFirstItem(d.GetDlgItem(IDC_FILTER_ENTRIES)); },
         {"command 1001/" + std::to_string(LBN_SELCHANGE)},
         kStillOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDialog dialog(c.mapped ? IDC_FILTER_OK : IDOK,
                               c.mapped ? IDC_FILTER_CANCEL : IDCANCEL);
        ui::SetDialogScript(IDD_ADDRESS_FILTER, [&](ui::CDialog& d) {
            SendMessageW(d.GetDlgItem(IDC_FILTER_ENTRIES), LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(L"spam@example.com"));
            SetFocus(d.GetDlgItem(IDC_FILTER_ENTRIES));
            dialog.calls.clear();
            c.act(d);
            testing::PumpFor(50ms);
            if (d.IsWindowVisible()) {
                d.EndDialog(kStillOpen);
            }
        });
        EXPECT_EQ(dialog.DoModal(nullptr), c.result);
        EXPECT_EQ(dialog.calls, c.calls);
    }
    ui::ClearDialogScripts();
}

TEST(DialogButtons, EscAndTheCloseBoxLeaveThePasswordDialogOpenItsButtonsEndIt) {
    struct Case {
        const char* name;
        std::function<void(ui::CDialog&)> act;
        INT_PTR result;
        std::size_t messages;  // "密码错误,请重新输入 !" shown
    };
    const Case cases[] = {
        {"Esc, the close box, then 取消",
         [](ui::CDialog& d) {
             testing::PressKey(d, VK_ESCAPE);
             d.SendMessage(WM_CLOSE);
             testing::PumpFor(50ms);
             EXPECT_TRUE(d.IsWindowVisible());
             testing::Click(d, IDC_PASSWORD_CANCEL);
         },
         IDCANCEL, 0},
        {"a wrong password, then the right one and Enter",
         [](ui::CDialog& d) {
             d.SetDlgItemText(IDC_PASSWORD_ENTERED, "口令");
             testing::Click(d, IDC_PASSWORD_OK);
             EXPECT_TRUE(d.IsWindowVisible());
             d.SetDlgItemText(IDC_PASSWORD_ENTERED, "口令Abc");
             SetFocus(d.GetDlgItem(IDC_PASSWORD_ENTERED));
             testing::PressKey(d, VK_RETURN);
         },
         IDOK, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScriptedPrompter prompter;
        CPasswordDlg dialog(prompter);
        dialog.m_strPassword = "口令Abc";
        ui::SetDialogScript(IDD_PASSWORD, [&](ui::CDialog& d) {
            c.act(d);
            testing::PumpFor(50ms);
            if (d.IsWindowVisible()) {
                d.EndDialog(kStillOpen);
            }
        });
        EXPECT_EQ(dialog.DoModal(nullptr), c.result);
        EXPECT_EQ(prompter.shown.size(), c.messages);
    }
    ui::ClearDialogScripts();
}

}  // namespace
}  // namespace quorlet
