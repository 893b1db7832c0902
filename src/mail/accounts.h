// The rules of the account commands that need no window: the 100-account limit, the fields the
// new-account and rename dialogs require, the change dialog's selection rules, and what
// confirming the change dialog does to the table and the stored keys.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "settings/account_record.h"
#include "settings/settings_store.h"

namespace quorlet {

inline constexpr const char* kTooManyAccounts = "你已经定义了100个账户,不能再多了 !";  // "提示"
inline constexpr const char* kEnterAccountName = "请输入账户名";                       // "信息"
inline constexpr const char* kEnterServer = "请输入POP3服务器地址";                    // "信息"
inline constexpr const char* kEnterUser = "请输入用户名";                              // "信息"
inline constexpr const char* kEnterPassword = "请输入密码";                            // "信息"
// Shown when the accounts are to be changed while a check or a deletion is running.
inline constexpr const char* kMailBeingUpdated = "邮件信息正在更新,请稍候...";  // "提示"

// The first empty field of the new-account dialog, in the order the dialog checks them, as its
// message; nullopt when all four are filled.
std::optional<std::string> NewAccountProblem(const AccountRecord& fields);

// Appends a new, enabled account; false (the caller shows kTooManyAccounts) at 100 accounts.
bool AddAccount(AccountTable& table, AccountRecord fields);

// Flips an account's include flag; rows outside the table are ignored. Returns the new flag.
std::optional<bool> ToggleAccount(AccountTable& table, std::size_t row);

// The fields the change dialog shows for the selected account: three texts and the choice of
// a secure connection, which is stored and kept together with them.
struct AccountFields {
    std::string server;
    std::string user;
    std::string password;
    MailSecurity security = MailSecurity::None;
};

// The change dialog's copy of the table while it runs.
class AccountEditor {
public:
    explicit AccountEditor(AccountTable table) : m_table(std::move(table)) {}

    const AccountTable& Table() const { return m_table; }
    // The account the fields show, if any.
    std::optional<std::size_t> Shown() const { return m_shown; }

    // Selecting a name: the fields as they stand are stored into the account they show when none
    // of the three texts is empty; then the selected account's fields are returned for display.
    AccountFields Select(std::size_t index, const AccountFields& current);

    // Double-click and rename: the new name replaces the old one at the same place.
    void Rename(std::size_t index, std::string name);

    // "删除": removes the account at index; returns the account to select and show afterwards
    // (the one now at that place, or the last), nullopt when the table is empty.
    std::optional<std::size_t> Remove(std::size_t index);
    AccountFields FieldsOf(std::size_t index) const;

    // "确定": the fields as they stand (empty ones included) go into the shown account.
    void Confirm(const AccountFields& current);

private:
    void Store(const AccountFields& fields);

    AccountTable m_table;
    std::optional<std::size_t> m_shown;
};

// Takes the confirmed table: deletes the stored keys of the accounts beyond its new count (the
// store reports a key it cannot open), then replaces the table.
void ApplyEditedAccounts(AccountTable& table, AccountTable edited, SettingsStore& store);

}  // namespace quorlet
