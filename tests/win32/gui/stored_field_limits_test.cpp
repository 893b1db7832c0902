// Every edit whose text the program stores holds no more GBK bytes than the store reads back: a
// longer account field or filter entry would be saved and then load empty. Text set by the
// program is cut at a character boundary, typing stops at the limit, and what a dialog hands out
// stays within it.
#include <gtest/gtest.h>

#include <memory>

#include "app/gui/password_dlg.h"
#include "app_ids.h"
#include "gui_support.h"
#include "mail/gui/account_dialogs.h"
#include "mail/gui/filter_dialogs.h"
#include "mail_ids.h"
#include "resource.h"
#include "settings/field_limits.h"
#include "ui/controls.h"

namespace quorlet {
namespace {

struct LimitedEdit {
    int id;
    std::size_t bytes;
};

// Checks one edit of a running dialog and leaves it filled to its limit with ASCII.
void ExpectLimit(HWND dialog, const LimitedEdit& field) {
    SCOPED_TRACE("edit " + std::to_string(field.id));
    HWND edit = GetDlgItem(dialog, field.id);
    ASSERT_NE(edit, nullptr);
    // Set by the program: 300 Chinese characters are 600 bytes; whole characters that fit stay.
    std::string chinese;
    for (int i = 0; i < 300; ++i) {
        chinese += "邮";
    }
    ui::SetText(edit, chinese);
    EXPECT_EQ(ui::GetText(edit), chinese.substr(0, field.bytes / 2 * 2));

    // Typed: a double-byte character does not go into the last byte; a single-byte one does.
    ui::SetText(edit, std::string(field.bytes - 1, 'a'));
    SendMessageW(edit, EM_SETSEL, field.bytes - 1, field.bytes - 1);
    SendMessageW(edit, WM_CHAR, L'邮', 0);
    EXPECT_EQ(ui::GetText(edit).size(), field.bytes - 1);
    SendMessageW(edit, WM_CHAR, L'b', 0);
    SendMessageW(edit, WM_CHAR, L'c', 0);
    EXPECT_EQ(ui::GetText(edit), std::string(field.bytes - 1, 'a') + "b");
}

// Runs the dialog, checks each of its edits, then presses its OK button.
void ExpectLimits(ui::CDialog& dialog, int okButton, std::initializer_list<LimitedEdit> edits) {
    bool checked = false;
    ui::SetDialogScript(dialog.TemplateId(), [&](ui::CDialog& running) {
        for (const LimitedEdit& field : edits) {
            ExpectLimit(running.m_hWnd, field);
        }
        checked = true;
        testing::Click(running.m_hWnd, okButton);
        if (running.IsModalRunning()) {
            running.EndDialog(IDCANCEL);
        }
    });
    dialog.DoModal(nullptr);
    ui::ClearDialogScripts();
    EXPECT_TRUE(checked) << dialog.TemplateId();
}

TEST(StoredFieldLimits, AccountDialogs) {
    testing::ScriptedPrompter prompter;
    CNewAccountDlg add(prompter);
    ExpectLimits(add, IDC_ACCOUNT_OK,
                 {{IDC_NEW_ACCOUNT_NAME, kLongTextBytes},
                  {IDC_NEW_ACCOUNT_SERVER, kLongTextBytes},
                  {IDC_NEW_ACCOUNT_USER, kLongTextBytes},
                  {IDC_NEW_ACCOUNT_PASSWORD, kPasswordBytes}});
    // What the dialog hands out is what the edits held.
    EXPECT_EQ(add.m_account.m_strAccount.size(), kLongTextBytes);
    EXPECT_EQ(add.m_account.m_strPassword.size(), kPasswordBytes);

    CModifyAccountDlg change(prompter);
    change.m_accounts = {{"a", "pop.example", "u", "p"}};
    ExpectLimits(change, IDC_ACCOUNT_OK,
                 {{IDC_MODIFY_ACCOUNT_SERVER, kLongTextBytes},
                  {IDC_MODIFY_ACCOUNT_USER, kLongTextBytes},
                  {IDC_MODIFY_ACCOUNT_PASSWORD, kPasswordBytes}});

    // A name longer than the store reads (set by hand in the registry) comes in cut.
    CRenameDlg rename(prompter);
    rename.m_strName = std::string(400, 'n');
    ExpectLimits(rename, IDC_ACCOUNT_OK, {{IDC_RENAME_ACCOUNT_NAME, kLongTextBytes}});
    EXPECT_EQ(rename.m_strName.size(), kLongTextBytes);
}

TEST(StoredFieldLimits, FilterEntryDialog) {
    testing::ScriptedPrompter prompter;
    CEntryDlg entry(prompter);
    ExpectLimits(entry, IDC_FILTER_OK, {{IDC_ENTRY_TEXT, kLongTextBytes}});
    EXPECT_EQ(entry.m_strText.size(), kLongTextBytes);
}

TEST(StoredFieldLimits, StartupPasswordDialog) {
    testing::ScriptedPrompter prompter;
    CPasswordDlg password(prompter);
    password.m_strPassword = std::string(kPasswordBytes, 'a') + "b";
    ExpectLimits(password, IDC_PASSWORD_OK, {{IDC_PASSWORD_ENTERED, kPasswordBytes}});
    EXPECT_EQ(password.m_strEntered.size(), kPasswordBytes);
}

}  // namespace
}  // namespace quorlet
