// The account commands' rules: the limit, the required fields, the change dialog's selection,
// and the stored keys of removed accounts.
#include "mail/accounts.h"

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "support/scripted_prompter.h"

namespace quorlet {
namespace {

constexpr auto CU = RegistryRoot::CurrentUser;

AccountRecord Fields(std::string name, std::string server, std::string user, std::string pw) {
    return {std::move(name), std::move(server), std::move(user), std::move(pw), false};
}

TEST(Accounts, NewAccountNeedsEveryFieldInTheDialogsOrder) {
    EXPECT_EQ(NewAccountProblem(Fields("", "", "", "")), kEnterAccountName);
    EXPECT_EQ(NewAccountProblem(Fields("n", "", "u", "p")), kEnterServer);
    EXPECT_EQ(NewAccountProblem(Fields("n", "s", "", "")), kEnterUser);
    EXPECT_EQ(NewAccountProblem(Fields("n", "s", "u", "")), kEnterPassword);
    EXPECT_EQ(NewAccountProblem(Fields("n", "s", "u", "p")), std::nullopt);
}

TEST(Accounts, TheHundredthIsAddedEnabledAndTheHundredAndFirstRefused) {
    AccountTable table;
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(AddAccount(table, Fields("same", "s", "u", "p")));  // names may repeat
    }
    EXPECT_TRUE(table.back().m_bEnabled);
    EXPECT_FALSE(AddAccount(table, Fields("n", "s", "u", "p")));
    EXPECT_EQ(table.size(), kMaxAccounts);

    EXPECT_EQ(ToggleAccount(table, 5), false);
    EXPECT_EQ(ToggleAccount(table, 5), true);
    EXPECT_EQ(ToggleAccount(table, 100), std::nullopt);
}

TEST(Accounts, TheChangeDialogStoresCompleteFieldsOnSelectionAndAnyFieldsOnConfirm) {
    AccountEditor editor({Fields("A", "sa", "ua", "pa"), Fields("B", "sb", "ub", "pb"),
                          Fields("C", "sc", "uc", "pc")});
    AccountFields shown = editor.Select(0, {});
    EXPECT_EQ(shown.server, "sa");
    // Edited but incomplete fields are not stored when another name is selected.
    shown = editor.Select(1, {"new", "", "pa"});
    EXPECT_EQ(editor.Table()[0].m_strServer, "sa");
    EXPECT_EQ(shown.user, "ub");
    // Complete fields are.
    editor.Select(2, {"sb2", "ub2", "pb2"});
    EXPECT_EQ(editor.Table()[1].m_strServer, "sb2");
    // "确定" stores the fields as they stand, an empty server included.
    editor.Confirm({"", "uc", "pc"});
    EXPECT_EQ(editor.Table()[2].m_strServer, "");

    editor.Rename(2, "C2");
    EXPECT_EQ(editor.Table()[2].m_strAccount, "C2");
}

TEST(Accounts, RemovingSelectsTheNextOrTheLastAccount) {
    AccountEditor editor({Fields("A", "sa", "ua", "pa"), Fields("B", "sb", "ub", "pb"),
                          Fields("C", "sc", "uc", "pc")});
    EXPECT_EQ(editor.Remove(1), 1u);
    EXPECT_EQ(editor.FieldsOf(1).server, "sc");
    EXPECT_EQ(editor.Remove(1), 0u);
    EXPECT_EQ(editor.Remove(0), std::nullopt);
    EXPECT_EQ(editor.Shown(), std::nullopt);
    EXPECT_TRUE(editor.Table().empty());
    editor.Confirm({"x", "y", "z"});  // nothing shown: nothing to store
    EXPECT_TRUE(editor.Table().empty());
}

class FixedFileSystem final : public FileSystem {
public:
    std::string CurrentDirectory() const override { return "C:\\Quorlet"; }
    bool ChangeDirectory(const std::string&) override { return true; }
    bool FileExists(const std::string&) const override { return false; }
};

TEST(Accounts, ConfirmingAShorterTableDeletesTheKeysOfTheAccountsGone) {
    MemoryRegistry registry;
    testing::ScriptedPrompter prompter;
    FixedFileSystem files;
    SettingsStore store(registry, prompter, files);
    AccountTable table = {Fields("A", "sa", "ua", "pa"), Fields("B", "sb", "ub", "pb"),
                          Fields("C", "sc", "uc", "pc")};
    MainSettings settings;
    AccountTable loaded;
    ASSERT_TRUE(store.Load(settings, loaded));  // creates the root key
    store.Save(settings, table);
    ASSERT_TRUE(registry.KeyExists(CU, "Software\\Quorlet\\2"));

    AccountEditor editor(table);
    editor.Select(1, {});
    editor.Remove(1);
    ApplyEditedAccounts(table, editor.Table(), store);
    EXPECT_FALSE(registry.KeyExists(CU, "Software\\Quorlet\\2"));
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].m_strAccount, "C");
    store.Save(settings, table);
    EXPECT_EQ(registry.Get(CU, "Software\\Quorlet\\1", "Pop3")->data.substr(0, 2), "sc");

    // A root key that cannot be opened leaves the keys and says so; the table changes all the same.
    registry.Fail(MemoryRegistry::Operation::Open, CU, "Software\\Quorlet");
    ApplyEditedAccounts(table, {}, store);
    EXPECT_TRUE(table.empty());
    EXPECT_TRUE(registry.KeyExists(CU, "Software\\Quorlet\\1"));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, "打开主键失败 !");
    EXPECT_EQ(prompter.shown.back().title, kTitleError);
}

}  // namespace
}  // namespace quorlet
