// The account and filter dialogs, driven through the real main window as a user would: every
// message, the limits, and what reaches the registry and the filter files.
#include <gtest/gtest.h>

#include <fstream>

#include "app_ids.h"
#include "base/profile_file.h"
#include "gui_support.h"
#include "mail/accounts.h"
#include "mail/filters.h"
#include "mail/gui/security_choice.h"
#include "mail_ids.h"
#include "platform/file_system.h"
#include "resource.h"
#include "ui/controls.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::MainWindowHarness;

AccountTable ThreeAccounts() {
    return {{"工作邮箱", "pop.work.example", "zhang", "pw1"},
            {"家庭", "pop.home.example", "li", "pw2"},
            {"订阅", "mail.example.org", "news", "pw3"}};
}

// Selects an item of a list box as a click does (with the notification), or double-clicks it.
void SelectItem(HWND dialog, int id, int index, bool doubleClick = false) {
    HWND list = GetDlgItem(dialog, id);
    SendMessageW(list, LB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    if (doubleClick) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
    }
}

std::vector<std::string> ListBoxItems(HWND dialog, int id) {
    const ui::CListBox list(GetDlgItem(dialog, id));
    std::vector<std::string> items;
    for (int i = 0; i < list.GetCount(); ++i) {
        items.push_back(list.GetText(i));
    }
    return items;
}

bool AccountKeyExists(int n) {
    HKEY key = nullptr;
    const std::wstring path = L"Software\\Quorlet\\" + std::to_wstring(n);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

TEST(AccountWindows, AddingAsksForEachEmptyFieldAndStopsAtAHundred) {
    MainWindowHarness harness;
    AccountTable accounts;
    for (int i = 0; i < 98; ++i) {
        accounts.push_back({"a" + std::to_string(i), "pop.example", "u", "p"});
    }
    harness.Store(MainSettings{}, accounts);
    int opened = 0;
    ui::SetDialogScript(IDD_NEW_ACCOUNT, [&](ui::CDialog& dialog) {
        ++opened;
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NEW_ACCOUNT_NAME), "") << "the fields start empty";
        if (opened == 1) {
            testing::SaveScreenshot(dialog.m_hWnd, "new-account");
            for (const auto& [id, text] : std::vector<std::pair<int, std::string>>{
                     {IDC_NEW_ACCOUNT_NAME, "新邮箱"},
                     {IDC_NEW_ACCOUNT_SERVER, "pop.new.example"},
                     {IDC_NEW_ACCOUNT_USER, "wang"},
                     {IDC_NEW_ACCOUNT_PASSWORD, "secret"}}) {
                testing::Click(dialog.m_hWnd, IDC_ACCOUNT_OK);  // still open: this field is empty
                dialog.SetDlgItemText(id, text);
            }
        } else {
            dialog.SetDlgItemText(IDC_NEW_ACCOUNT_NAME, "第一百");
            dialog.SetDlgItemText(IDC_NEW_ACCOUNT_SERVER, "s");
            dialog.SetDlgItemText(IDC_NEW_ACCOUNT_USER, "u");
            dialog.SetDlgItemText(IDC_NEW_ACCOUNT_PASSWORD, "p");
        }
        testing::Click(dialog.m_hWnd, IDC_ACCOUNT_OK);
    });
    harness.Run([&](CMainDlg& window) {
        window.SendMessage(WM_COMMAND, ID_TOGGLE_LIST);  // hidden: adding shows it again
        ASSERT_FALSE(window.ListVisible());
        testing::Click(window.m_hWnd, IDC_ADD_ACCOUNT);
        EXPECT_EQ(harness.prompter.Texts(),
                  (std::vector<std::string>{kEnterAccountName, kEnterServer, kEnterUser,
                                            kEnterPassword}));
        for (const auto& shown : harness.prompter.shown) {
            EXPECT_EQ(shown.title, "信息");
            EXPECT_EQ(shown.icon, MessageIcon::Information);
        }
        ASSERT_EQ(window.Accounts().size(), 99u);
        const AccountRecord& added = window.Accounts().back();
        EXPECT_EQ(added.m_strAccount, "新邮箱");
        EXPECT_EQ(added.m_strServer, "pop.new.example");
        EXPECT_EQ(added.m_strUser, "wang");
        EXPECT_EQ(added.m_strPassword, "secret");
        EXPECT_TRUE(window.ListVisible());
        const ui::CListCtrl list(window.GetDlgItem(IDC_ACCOUNT_LIST));
        EXPECT_EQ(list.GetItemText(98, 0), "新邮箱");
        EXPECT_EQ(list.GetItemText(98, 1), "pop.new.example");
        EXPECT_EQ(list.GetStateImage(98), 2);
        EXPECT_EQ(list.GetImage(98), 2);

        // The 100th is accepted, the 101st refused without a dialog.
        testing::Click(window.m_hWnd, IDC_ADD_ACCOUNT);
        EXPECT_EQ(window.Accounts().size(), 100u);
        harness.prompter.shown.clear();
        testing::Click(window.m_hWnd, IDC_ADD_ACCOUNT);
        EXPECT_EQ(opened, 2);
        ASSERT_EQ(harness.prompter.shown.size(), 1u);
        EXPECT_EQ(harness.prompter.shown[0].text, kTooManyAccounts);
        EXPECT_EQ(harness.prompter.shown[0].title, "提示");

        // Cancelling adds nothing.
        window.EndDialog(IDCANCEL);
    });
}

TEST(AccountWindows, ChangingRenamingAndDeletingAccounts) {
    MainWindowHarness harness;
    harness.Store(MainSettings{}, ThreeAccounts());
    ui::SetDialogScript(IDD_RENAME_ACCOUNT, [&](ui::CDialog& dialog) {
        EXPECT_EQ(dialog.GetDlgItemText(IDC_RENAME_ACCOUNT_NAME), "家庭");
        dialog.SetDlgItemText(IDC_RENAME_ACCOUNT_NAME, "");
        testing::Click(dialog.m_hWnd, IDC_ACCOUNT_OK);
        dialog.SetDlgItemText(IDC_RENAME_ACCOUNT_NAME, "家里");
        testing::Click(dialog.m_hWnd, IDC_ACCOUNT_OK);
    });
    ui::SetDialogScript(IDD_MODIFY_ACCOUNT, [&](ui::CDialog& dialog) {
        HWND d = dialog.m_hWnd;
        EXPECT_EQ(ListBoxItems(d, IDC_MODIFY_ACCOUNT_NAMES),
                  (std::vector<std::string>{"工作邮箱", "家庭", "订阅"}));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_MODIFY_ACCOUNT_SERVER), "");
        EXPECT_FALSE(Enabled(d, IDC_MODIFY_ACCOUNT_DELETE));
        EXPECT_TRUE(dialog.IsDlgButtonChecked(IDC_MODIFY_ACCOUNT_MASK));
        HWND password = dialog.GetDlgItem(IDC_MODIFY_ACCOUNT_PASSWORD);
        EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), L'*');

        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 0);
        EXPECT_TRUE(Enabled(d, IDC_MODIFY_ACCOUNT_DELETE));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_MODIFY_ACCOUNT_SERVER), "pop.work.example");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_MODIFY_ACCOUNT_USER), "zhang");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_MODIFY_ACCOUNT_PASSWORD), "pw1");
        testing::Click(d, IDC_MODIFY_ACCOUNT_MASK);  // the password in clear
        EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), 0);
        EXPECT_EQ(GetFocus(), password);
        testing::SaveScreenshot(d, "modify-accounts");
        // A complete change is kept when another account is selected.
        dialog.SetDlgItemText(IDC_MODIFY_ACCOUNT_SERVER, "pop2.work.example");
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 1, true);  // and renamed
        EXPECT_EQ(ListBoxItems(d, IDC_MODIFY_ACCOUNT_NAMES),
                  (std::vector<std::string>{"工作邮箱", "家里", "订阅"}));
        // An emptied server is stored by "确定" as it stands.
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 2);
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 1);
        dialog.SetDlgItemText(IDC_MODIFY_ACCOUNT_SERVER, "");
        // Deleting the third selects the one now last.
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 2);
        testing::Click(d, IDC_MODIFY_ACCOUNT_DELETE);
        EXPECT_EQ(ListBoxItems(d, IDC_MODIFY_ACCOUNT_NAMES),
                  (std::vector<std::string>{"工作邮箱", "家里"}));
        EXPECT_EQ(SendMessageW(dialog.GetDlgItem(IDC_MODIFY_ACCOUNT_NAMES), LB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_MODIFY_ACCOUNT_USER), "li");
        dialog.SetDlgItemText(IDC_MODIFY_ACCOUNT_SERVER, "");
        testing::Click(d, IDC_ACCOUNT_OK);
    });
    harness.Run([&](CMainDlg& window) {
        ASSERT_TRUE(AccountKeyExists(2));
        testing::Click(window.m_hWnd, IDC_MODIFY_ACCOUNTS);
        EXPECT_EQ(harness.prompter.Texts(), std::vector<std::string>{kEnterData});
        EXPECT_EQ(harness.prompter.shown[0].title, "提示");
        ASSERT_EQ(window.Accounts().size(), 2u);
        EXPECT_EQ(window.Accounts()[0].m_strServer, "pop2.work.example");
        EXPECT_EQ(window.Accounts()[1].m_strAccount, "家里");
        EXPECT_EQ(window.Accounts()[1].m_strServer, "");
        EXPECT_FALSE(AccountKeyExists(2)) << "the key of the deleted third account";
        const ui::CListCtrl list(window.GetDlgItem(IDC_ACCOUNT_LIST));
        ASSERT_EQ(list.GetItemCount(), 2);
        EXPECT_EQ(list.GetItemText(1, 0), "家里");
        EXPECT_EQ(list.GetItemText(0, 1), "pop2.work.example");

        // While a check runs the accounts are not changed: the program asks to wait.
        harness.prompter.shown.clear();
        testing::MainDlgProbe::Busy(window) = true;
        testing::Click(window.m_hWnd, IDC_MODIFY_ACCOUNTS);
        testing::MainDlgProbe::Busy(window) = false;
        EXPECT_EQ(harness.prompter.Texts(), std::vector<std::string>{kMailBeingUpdated});

        // Cancelling changes nothing.
        ui::SetDialogScript(IDD_MODIFY_ACCOUNT, [](ui::CDialog& dialog) {
            SelectItem(dialog.m_hWnd, IDC_MODIFY_ACCOUNT_NAMES, 0);
            testing::Click(dialog.m_hWnd, IDC_MODIFY_ACCOUNT_DELETE);
            testing::Click(dialog.m_hWnd, IDC_ACCOUNT_CANCEL);
        });
        testing::Click(window.m_hWnd, IDC_MODIFY_ACCOUNTS);
        EXPECT_EQ(window.Accounts().size(), 2u);
        harness.prompter.answers = {MessageAnswer::Yes};
        window.SendMessage(WM_COMMAND, ID_EXIT);
    });
    // The exit saved the new table: two accounts, the second renamed.
    EXPECT_EQ(testing::ReadMainValue("Total"), "2");
}

// The drop-down "安全连接": its entries, the one shown, and a choice made as a user makes it (the
// selection with its notification).
std::vector<std::string> SecurityEntries(HWND dialog, int id) {
    const ui::CComboBox box(GetDlgItem(dialog, id));
    std::vector<std::string> entries;
    for (int i = 0; i < box.GetCount(); ++i) {
        entries.push_back(box.GetLBText(i));
    }
    return entries;
}
std::string ShownSecurity(HWND dialog, int id) {
    const ui::CComboBox box(GetDlgItem(dialog, id));
    return box.GetCurSel() < 0 ? "" : box.GetLBText(box.GetCurSel());
}
void ChooseSecurity(HWND dialog, int id, int index) {
    HWND box = GetDlgItem(dialog, id);
    SendMessageW(box, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
}

// Account 0 as a version without the choice left it: no "Security" value at all.
void ForgetStoredSecurity(int n) {
    const std::wstring path = L"Software\\Quorlet\\" + std::to_wstring(n);
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, path.c_str(), L"Security"), ERROR_SUCCESS);
}

TEST(AccountWindows, TheSecurityChoiceGoesFromTheDialogsIntoTheStoredAccounts) {
    MainWindowHarness harness;
    AccountTable accounts = ThreeAccounts();
    accounts[1].m_nSecurity = MailSecurity::StartTls;
    accounts[2].m_nSecurity = MailSecurity::Tls;
    harness.Store(MainSettings{}, accounts);
    ForgetStoredSecurity(0);

    const std::vector<std::string> pop3Entries{"无", "SSL/TLS", "STLS"};
    ui::SetDialogScript(IDD_NEW_ACCOUNT, [&](ui::CDialog& dialog) {
        HWND d = dialog.m_hWnd;
        EXPECT_EQ(SecurityEntries(d, IDC_NEW_ACCOUNT_SECURITY), pop3Entries);
        EXPECT_EQ(ShownSecurity(d, IDC_NEW_ACCOUNT_SECURITY), "无");
        dialog.SetDlgItemText(IDC_NEW_ACCOUNT_NAME, "安全");
        dialog.SetDlgItemText(IDC_NEW_ACCOUNT_SERVER, "pop.secure.example");
        dialog.SetDlgItemText(IDC_NEW_ACCOUNT_USER, "zhao");
        dialog.SetDlgItemText(IDC_NEW_ACCOUNT_PASSWORD, "pw4");
        ChooseSecurity(d, IDC_NEW_ACCOUNT_SECURITY, 2);
        // The port follows the choice only where the server names none: the text stays.
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NEW_ACCOUNT_SERVER), "pop.secure.example");
        testing::SaveScreenshot(d, "new-account-security");
        testing::Click(d, IDC_ACCOUNT_OK);
    });
    ui::SetDialogScript(IDD_MODIFY_ACCOUNT, [&](ui::CDialog& dialog) {
        HWND d = dialog.m_hWnd;
        EXPECT_EQ(SecurityEntries(d, IDC_MODIFY_ACCOUNT_SECURITY), pop3Entries);
        // Each account shows its own choice; the old one without a value shows "无".
        for (const auto& [row, shown] : std::vector<std::pair<int, std::string>>{
                 {0, "无"}, {1, "STLS"}, {2, "SSL/TLS"}, {3, "STLS"}}) {
            SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, row);
            EXPECT_EQ(ShownSecurity(d, IDC_MODIFY_ACCOUNT_SECURITY), shown) << row;
        }
        // A choice is kept with the other fields when another account is selected...
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 0);
        ChooseSecurity(d, IDC_MODIFY_ACCOUNT_SECURITY, 1);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_MODIFY_ACCOUNT_SERVER), "pop.work.example");
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 1);
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 0);
        EXPECT_EQ(ShownSecurity(d, IDC_MODIFY_ACCOUNT_SECURITY), "SSL/TLS");
        // ... and dropped with them when one of them is empty.
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 1);
        ChooseSecurity(d, IDC_MODIFY_ACCOUNT_SECURITY, 0);
        dialog.SetDlgItemText(IDC_MODIFY_ACCOUNT_PASSWORD, "");
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 1);
        EXPECT_EQ(ShownSecurity(d, IDC_MODIFY_ACCOUNT_SECURITY), "STLS");
        testing::SaveScreenshot(d, "modify-accounts-security");
        // "确定" stores the shown account's choice as it stands.
        SelectItem(d, IDC_MODIFY_ACCOUNT_NAMES, 2);
        ChooseSecurity(d, IDC_MODIFY_ACCOUNT_SECURITY, 0);
        testing::Click(d, IDC_ACCOUNT_OK);
    });
    const std::vector<MailSecurity> expected{MailSecurity::Tls, MailSecurity::StartTls,
                                             MailSecurity::None, MailSecurity::StartTls};
    auto securities = [](const AccountTable& table) {
        std::vector<MailSecurity> result;
        for (const AccountRecord& account : table) {
            result.push_back(account.m_nSecurity);
        }
        return result;
    };
    harness.Run([&](CMainDlg& window) {
        EXPECT_EQ(window.Accounts()[0].m_nSecurity, MailSecurity::None);
        testing::Click(window.m_hWnd, IDC_ADD_ACCOUNT);
        ASSERT_EQ(window.Accounts().size(), 4u);
        EXPECT_EQ(window.Accounts()[3].m_nSecurity, MailSecurity::StartTls);
        testing::Click(window.m_hWnd, IDC_MODIFY_ACCOUNTS);
        EXPECT_EQ(securities(window.Accounts()), expected);

        // Cancelling the change dialog keeps every choice.
        ui::SetDialogScript(IDD_MODIFY_ACCOUNT, [](ui::CDialog& dialog) {
            SelectItem(dialog.m_hWnd, IDC_MODIFY_ACCOUNT_NAMES, 0);
            ChooseSecurity(dialog.m_hWnd, IDC_MODIFY_ACCOUNT_SECURITY, 2);
            testing::Click(dialog.m_hWnd, IDC_ACCOUNT_CANCEL);
        });
        testing::Click(window.m_hWnd, IDC_MODIFY_ACCOUNTS);
        EXPECT_EQ(securities(window.Accounts()), expected);
        harness.prompter.answers = {MessageAnswer::Yes};
        window.SendMessage(WM_COMMAND, ID_EXIT);
    });
    ui::SetDialogScript(IDD_NEW_ACCOUNT, nullptr);
    ui::SetDialogScript(IDD_MODIFY_ACCOUNT, nullptr);
    harness.Run([&](CMainDlg& window) {
        EXPECT_EQ(securities(window.Accounts()), expected) << "as the next start reads them";
        window.EndDialog(IDCANCEL);
    });
}

TEST(AccountWindows, TheFilterListsAndTheSizeLimit) {
    MainWindowHarness harness;
    harness.Store(MainSettings{}, {});
    // A subject list of six entries from an earlier run.
    std::string subjects = "[Main]\r\nTotal=6\r\n[Subject]\r\n";
    for (int i = 0; i < 6; ++i) {
        subjects += std::to_string(i) + "=s" + std::to_string(i) + "\r\n";
    }
    ASSERT_TRUE(WriteFileAtomically("Subject.ini", subjects));

    ui::SetDialogScript(IDD_ENTRY, [&](ui::CDialog& dialog) {
        if (dialog.GetDlgItemText(IDC_ENTRY_TEXT).empty()) {
            testing::Click(dialog.m_hWnd, IDC_FILTER_OK);  // empty: "请输入数据 !"
            dialog.SetDlgItemText(IDC_ENTRY_TEXT, "spam@example.com");
        } else {
            dialog.SetDlgItemText(IDC_ENTRY_TEXT, "ads@example.com");
        }
        testing::Click(dialog.m_hWnd, IDC_FILTER_OK);
    });
    ui::SetDialogScript(IDD_ADDRESS_FILTER, [&](ui::CDialog& dialog) {
        HWND d = dialog.m_hWnd;
        EXPECT_FALSE(Enabled(d, IDC_FILTER_DELETE));
        testing::Click(d, IDC_FILTER_ADD);
        testing::Click(d, IDC_FILTER_ADD);
        EXPECT_EQ(ListBoxItems(d, IDC_FILTER_ENTRIES),
                  (std::vector<std::string>{"spam@example.com", "spam@example.com"}));
        SelectItem(d, IDC_FILTER_ENTRIES, 1, true);  // changed in place
        EXPECT_TRUE(Enabled(d, IDC_FILTER_DELETE));
        EXPECT_EQ(ListBoxItems(d, IDC_FILTER_ENTRIES),
                  (std::vector<std::string>{"spam@example.com", "ads@example.com"}));
        testing::Click(d, IDC_FILTER_DISABLE);
        testing::SaveScreenshot(d, "address-filter");
        testing::Click(d, IDC_FILTER_OK);
    });
    ui::SetDialogScript(IDD_SUBJECT_FILTER, [&](ui::CDialog& dialog) {
        HWND d = dialog.m_hWnd;
        EXPECT_EQ(ListBoxItems(d, IDC_FILTER_ENTRIES).size(), 6u);
        for (int i = 0; i < 3; ++i) {
            SelectItem(d, IDC_FILTER_ENTRIES, 3);
            testing::Click(d, IDC_FILTER_DELETE);
        }
        EXPECT_EQ(ListBoxItems(d, IDC_FILTER_ENTRIES),
                  (std::vector<std::string>{"s0", "s1", "s2"}));
        EXPECT_EQ(SendMessageW(dialog.GetDlgItem(IDC_FILTER_ENTRIES), LB_GETCURSEL, 0, 0), 2);
        testing::Click(d, IDC_SUBJECT_FILTER_WHOLE_MATCH);
        testing::Click(d, IDC_SUBJECT_FILTER_MATCH_CASE);
        testing::Click(d, IDC_FILTER_OK);
    });
    ui::SetDialogScript(IDD_LENGTH_FILTER, [&](ui::CDialog& dialog) {
        for (const char* wrong : {"", "0"}) {
            dialog.SetDlgItemText(IDC_LENGTH_FILTER_LIMIT, wrong);
            testing::Click(dialog.m_hWnd, IDC_FILTER_OK);
        }
        // Typed, the field takes four digits at most.
        dialog.SetDlgItemText(IDC_LENGTH_FILTER_LIMIT, "");
        for (char c : std::string("12345")) {
            SendMessageW(dialog.GetDlgItem(IDC_LENGTH_FILTER_LIMIT), WM_CHAR, c, 1);
        }
        EXPECT_EQ(dialog.GetDlgItemText(IDC_LENGTH_FILTER_LIMIT), "1234");
        dialog.SetDlgItemText(IDC_LENGTH_FILTER_LIMIT, "100");
        testing::SaveScreenshot(dialog.m_hWnd, "length-filter");
        testing::Click(dialog.m_hWnd, IDC_FILTER_OK);
    });
    harness.Run([&](CMainDlg& window) {
        window.SendMessage(WM_COMMAND, ID_FILTER_ADDRESS);
        EXPECT_EQ(window.Filters().addresses,
                  (std::vector<std::string>{"spam@example.com", "ads@example.com"}));
        EXPECT_TRUE(window.Settings().m_bAddressDisable);
        window.SendMessage(WM_COMMAND, ID_FILTER_SUBJECT);
        EXPECT_TRUE(window.Settings().m_bAllComp);
        EXPECT_TRUE(window.Settings().m_bCase);
        window.SendMessage(WM_COMMAND, ID_FILTER_LENGTH);
        EXPECT_EQ(window.Settings().m_strMailLength, "100");
        EXPECT_EQ(harness.prompter.Texts(),
                  (std::vector<std::string>{kEnterData, kEnterData, kLengthRange, kLengthRange}));
        window.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(ReadWholeFile("Address.ini").value_or(""),
              "[Main]\r\nTotal=2\r\n[Email]\r\n0=spam@example.com\r\n1=ads@example.com\r\n");
    EXPECT_EQ(ReadWholeFile("Subject.ini").value_or(""),
              "[Main]\r\nTotal=3\r\n[Subject]\r\n0=s0\r\n1=s1\r\n2=s2\r\n");
}

TEST(AccountWindows, AFullAddressListTakesNoMoreEntries) {
    MainWindowHarness harness;
    harness.Store(MainSettings{}, {});
    std::string addresses = "[Main]\r\nTotal=600\r\n[Email]\r\n";
    for (int i = 0; i < 600; ++i) {
        addresses += std::to_string(i) + "=a" + std::to_string(i) + "@x\r\n";
    }
    ASSERT_TRUE(WriteFileAtomically("Address.ini", addresses));
    bool entryOpened = false;
    ui::SetDialogScript(IDD_ENTRY, [&](ui::CDialog& dialog) {
        entryOpened = true;
        testing::Click(dialog.m_hWnd, IDC_FILTER_CANCEL);
    });
    ui::SetDialogScript(IDD_ADDRESS_FILTER, [&](ui::CDialog& dialog) {
        EXPECT_EQ(ListBoxItems(dialog.m_hWnd, IDC_FILTER_ENTRIES).size(), kMaxFilterEntries);
        testing::Click(dialog.m_hWnd, IDC_FILTER_ADD);
        testing::Click(dialog.m_hWnd, IDC_FILTER_CANCEL);
    });
    harness.Run([&](CMainDlg& window) {
        EXPECT_EQ(window.Filters().addresses.size(), kMaxFilterEntries);
        window.SendMessage(WM_COMMAND, ID_FILTER_ADDRESS);
        window.EndDialog(IDCANCEL);
    });
    EXPECT_FALSE(entryOpened);
    ASSERT_EQ(harness.prompter.shown.size(), 1u);
    EXPECT_EQ(harness.prompter.shown[0].text, kFilterListFull);
    EXPECT_EQ(harness.prompter.shown[0].title, "信息");
}

}  // namespace
}  // namespace quorlet
