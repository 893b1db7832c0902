#include "mail/accounts.h"

namespace quorlet {

std::optional<std::string> NewAccountProblem(const AccountRecord& fields) {
    if (fields.m_strAccount.empty()) {
        return std::string(kEnterAccountName);
    }
    if (fields.m_strServer.empty()) {
        return std::string(kEnterServer);
    }
    if (fields.m_strUser.empty()) {
        return std::string(kEnterUser);
    }
    if (fields.m_strPassword.empty()) {
        return std::string(kEnterPassword);
    }
    return std::nullopt;
}

bool AddAccount(AccountTable& table, AccountRecord fields) {
    if (table.size() >= kMaxAccounts) {
        return false;
    }
    fields.m_bEnabled = true;
    table.push_back(std::move(fields));
    return true;
}

std::optional<bool> ToggleAccount(AccountTable& table, std::size_t row) {
    if (row >= table.size()) {
        return std::nullopt;
    }
    table[row].m_bEnabled = !table[row].m_bEnabled;
    return table[row].m_bEnabled;
}

AccountFields AccountEditor::Select(std::size_t index, const AccountFields& current) {
    if (m_shown && !current.server.empty() && !current.user.empty() && !current.password.empty()) {
        Store(current);
    }
    if (index >= m_table.size()) {
        return current;
    }
    m_shown = index;
    return FieldsOf(index);
}

void AccountEditor::Rename(std::size_t index, std::string name) {
    if (index < m_table.size()) {
        m_table[index].m_strAccount = std::move(name);
    }
}

std::optional<std::size_t> AccountEditor::Remove(std::size_t index) {
    if (index >= m_table.size()) {
        return m_shown;
    }
    m_table.erase(m_table.begin() + static_cast<std::ptrdiff_t>(index));
    if (m_table.empty()) {
        m_shown.reset();
        return std::nullopt;
    }
    m_shown = std::min(index, m_table.size() - 1);
    return m_shown;
}

AccountFields AccountEditor::FieldsOf(std::size_t index) const {
    if (index >= m_table.size()) {
        return {};
    }
    const AccountRecord& a = m_table[index];
    return {a.m_strServer, a.m_strUser, a.m_strPassword, a.m_nSecurity};
}

void AccountEditor::Confirm(const AccountFields& current) {
    if (m_shown) {
        Store(current);
    }
}

void AccountEditor::Store(const AccountFields& fields) {
    AccountRecord& a = m_table[*m_shown];
    a.m_strServer = fields.server;
    a.m_strUser = fields.user;
    a.m_strPassword = fields.password;
    a.m_nSecurity = fields.security;
}

void ApplyEditedAccounts(AccountTable& table, AccountTable edited, SettingsStore& store) {
    store.DeleteTrailingAccounts(edited.size(), table.size());
    table = std::move(edited);
}

}  // namespace quorlet
