#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/memory_registry.h"
#include "settings/password_cipher.h"
#include "support/fake_file_system.h"
#include "support/scripted_prompter.h"

namespace quorlet {
namespace {

using Op = MemoryRegistry::Operation;
constexpr auto CU = RegistryRoot::CurrentUser;
constexpr auto CR = RegistryRoot::ClassesRoot;
constexpr auto LM = RegistryRoot::LocalMachine;
constexpr const char* kMain = "Software\\Quorlet\\Main";

using testing::FakeFileSystem;

class SettingsStoreTest : public ::testing::Test {
protected:
    MemoryRegistry registry;
    testing::ScriptedPrompter prompter;
    FakeFileSystem fileSystem;
    SettingsStore store{registry, prompter, fileSystem};
    MainSettings settings;
    AccountTable accounts;

    bool Load() {
        settings.ResetToDefaults();
        accounts.clear();
        return store.Load(settings, accounts);
    }
    void PutMain(const char* name, const char* text) { registry.PutString(CU, kMain, name, text); }
    std::string StoredText(RegistryRoot root, const std::string& path, const char* name) {
        const auto value = registry.Get(root, path, name);
        return value ? value->data : "<missing>";
    }
};

TEST_F(SettingsStoreTest, FirstRunKeepsDefaultsAndTheFirstSaveCreatesEveryKey) {
    ASSERT_TRUE(Load());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(accounts.empty());
    EXPECT_EQ(settings.m_strTimeInterval, "5");
    EXPECT_EQ(settings.m_strDayClear, "20");
    EXPECT_EQ(settings.DayClear(), 20);
    EXPECT_TRUE(settings.m_bSessionHangUp);
    EXPECT_TRUE(settings.m_bTotalHangUp);
    EXPECT_FALSE(settings.m_bStartupPassword);
    EXPECT_TRUE(registry.KeyExists(CU, "Software\\Quorlet"));
    EXPECT_EQ(registry.ClassOf(CU, "Software\\Quorlet"), "HKEY_CURRENT_USER");

    store.Save(settings, accounts);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(StoredText(CU, kMain, "Total"), std::string("0\0", 2));
    EXPECT_EQ(StoredText(CU, kMain, "TimeInterval"), std::string("5\0", 2));
    EXPECT_EQ(StoredText(CU, kMain, "Hide"), "0");  // flags carry no terminator
    EXPECT_EQ(StoredText(CU, kMain, "l_cCh"), "1");
    EXPECT_EQ(StoredText(CU, kMain, "PhoneFee"), std::string("0.00\0", 5));
    EXPECT_EQ(StoredText(CU, kMain, "l_cFee"), std::string("0.00\0", 5));
    EXPECT_EQ(StoredText(CU, kMain, "Path"), std::string("C:\\Start\0", 9));
    EXPECT_EQ(StoredText(CU, kMain, "NoRound"), "<missing>");
    EXPECT_EQ(StoredText(CR, "GLPass", "GL"), std::string("Disable\0", 8));
    EXPECT_EQ(StoredText(CR, "GLPass", "GLPass"), std::string("No Password\0", 12));
    EXPECT_EQ(registry.ClassOf(CR, "GLPass"), "HKEY_CLASSES_ROOT");
}

TEST_F(SettingsStoreTest, RootKeyThatCannotBeCreatedStopsTheLoad) {
    registry.Fail(Op::Create, CU, "Software\\Quorlet");
    EXPECT_FALSE(Load());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "创建主键失败(Quorlet) !");
    EXPECT_EQ(prompter.shown[0].title, "错误");
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Stop);
}

TEST_F(SettingsStoreTest, ReadRulesOfTheMainValues) {
    PutMain("Total", "0");
    PutMain("iRadio", "x");            // neither "1" nor "0": the default stays
    PutMain("AddressDisable", "yes");  // only "1" sets these
    PutMain("Case", "1");
    PutMain("Hide", "1extra");  // a flag looks at the first character only
    PutMain("Sound", "0");
    PutMain("l_cFee", "12.50");  // fee limits are whole yuan
    PutMain("l_tTime", "7");
    PutMain("PhoneFee", "1000000.00");  // ten characters do not fit the buffer
    PutMain("NetFee", "12.34");
    PutMain("AheadTime", "90");
    PutMain("TimeInterval", "1234567890");
    PutMain("NoRound", "1");
    PutMain("Server", "smtp.example.com");
    ASSERT_TRUE(Load());
    EXPECT_EQ(settings.m_iRadio, 0);
    EXPECT_FALSE(settings.m_bAddressDisable);
    EXPECT_TRUE(settings.m_bCase);
    EXPECT_TRUE(settings.m_bHide);
    EXPECT_FALSE(settings.m_bSound);
    EXPECT_EQ(settings.m_dSessionFeeLimit, 12.0);
    EXPECT_EQ(settings.m_nTotalTimeLimit, 7);
    EXPECT_EQ(settings.m_dPhoneFee, 0.0);
    EXPECT_DOUBLE_EQ(settings.m_dNetFee, 12.34);
    EXPECT_EQ(settings.m_nAheadTime, 90);
    EXPECT_EQ(settings.m_strTimeInterval, "5");
    EXPECT_TRUE(settings.m_bNoRound);
    EXPECT_EQ(settings.m_strServer, "smtp.example.com");
    // A Main key without them reads the plan actions as off, unlike the reset defaults.
    EXPECT_FALSE(settings.m_bSessionHangUp);
    EXPECT_FALSE(settings.m_bTotalHangUp);
    EXPECT_EQ(settings.m_strDayClear, "20");
    EXPECT_TRUE(prompter.shown.empty());

    store.Save(settings, accounts);
    EXPECT_EQ(StoredText(CU, kMain, "l_cFee"), std::string("12.00\0", 6));
    EXPECT_EQ(StoredText(CU, kMain, "NetFee"), std::string("12.34\0", 6));
    EXPECT_EQ(StoredText(CU, kMain, "Hide"), "1");
}

TEST_F(SettingsStoreTest, RadioReadsBothWays) {
    PutMain("Total", "0");
    PutMain("iRadio", "1");
    ASSERT_TRUE(Load());
    EXPECT_EQ(settings.m_iRadio, 1);
    PutMain("iRadio", "0");
    settings.m_iRadio = 1;
    accounts.clear();
    ASSERT_TRUE(store.Load(settings, accounts));
    EXPECT_EQ(settings.m_iRadio, 0);
}

TEST_F(SettingsStoreTest, ValueWithoutTerminatorIsReadWhole) {
    PutMain("Total", "0");
    registry.Put(CU, kMain, "Day_Clear", {RegistryValueType::String, "15"});
    registry.Put(CU, kMain, "MailLength", {RegistryValueType::String, std::string("12\0junk", 7)});
    ASSERT_TRUE(Load());
    EXPECT_EQ(settings.m_strDayClear, "15");
    EXPECT_EQ(settings.m_strMailLength, "12");
}

TEST_F(SettingsStoreTest, UnreadableTotalIsReportedAndTheRestStillLoads) {
    PutMain("Sound", "1");
    registry.Fail(Op::Read, CU, kMain, "Total");
    ASSERT_TRUE(Load());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "读注册表出错(Total) ！");
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::None);
    EXPECT_TRUE(accounts.empty());
    EXPECT_TRUE(settings.m_bSound);
}

TEST_F(SettingsStoreTest, AccountsLoadWithTheirPasswordsAndAMissingKeyGivesAnEmptyRow) {
    PutMain("Total", "3");
    registry.PutString(CU, "Software\\Quorlet\\0", "Account", "工作邮箱");
    registry.PutString(CU, "Software\\Quorlet\\0", "Pop3", "pop.example.com");
    registry.PutString(CU, "Software\\Quorlet\\0", "Username", "alice");
    registry.Put(CU, "Software\\Quorlet\\0", "Password",
                 {RegistryValueType::Binary, PasswordCipher::Scramble("密码1")});
    registry.PutString(CU, "Software\\Quorlet\\2", "Account", "no password value");
    ASSERT_TRUE(Load());
    ASSERT_EQ(accounts.size(), 3u);
    EXPECT_EQ(accounts[0].m_strAccount, "工作邮箱");
    EXPECT_EQ(accounts[0].m_strServer, "pop.example.com");
    EXPECT_EQ(accounts[0].m_strUser, "alice");
    EXPECT_EQ(accounts[0].m_strPassword, "密码1");
    EXPECT_EQ(accounts[1].m_strAccount, "");
    EXPECT_EQ(accounts[1].m_strServer, "");
    EXPECT_EQ(accounts[2].m_strAccount, "no password value");
    EXPECT_EQ(accounts[2].m_strPassword, "");
    for (const AccountRecord& a : accounts) {
        EXPECT_TRUE(a.m_bEnabled);
    }
}

TEST_F(SettingsStoreTest, TotalBeyondTheTableIsCut) {
    PutMain("Total", "250");
    ASSERT_TRUE(Load());
    EXPECT_EQ(accounts.size(), kMaxAccounts);
    PutMain("Total", "-4");
    ASSERT_TRUE(Load());
    EXPECT_TRUE(accounts.empty());
}

TEST_F(SettingsStoreTest, StartupPasswordNeedsGlExactlyEnable) {
    PutMain("Total", "0");
    registry.PutString(CR, "GLPass", "GL", "enable");
    registry.Put(CR, "GLPass", "GLPass",
                 {RegistryValueType::Binary, PasswordCipher::Scramble("open")});
    ASSERT_TRUE(Load());
    EXPECT_FALSE(settings.m_bStartupPassword);

    registry.PutString(CR, "GLPass", "GL", "Enable");
    ASSERT_TRUE(Load());
    EXPECT_TRUE(settings.m_bStartupPassword);
    EXPECT_EQ(settings.m_strStartupPassword, "open");

    // A block whose first byte is zero stands for no password.
    registry.Put(CR, "GLPass", "GLPass", {RegistryValueType::Binary, std::string(128, '\0')});
    ASSERT_TRUE(Load());
    EXPECT_TRUE(settings.m_bStartupPassword);
    EXPECT_EQ(settings.m_strStartupPassword, "");
}

TEST_F(SettingsStoreTest, LongPasswordsRoundTripThroughTheStore) {
    ASSERT_TRUE(Load());
    accounts.resize(2);
    accounts[0].m_strPassword = std::string(127, 'a');
    accounts[1].m_strPassword = std::string(128, 'b');
    settings.m_bStartupPassword = true;
    settings.m_strStartupPassword = "启动" + std::string(125, 'c');  // 129 bytes
    store.Save(settings, accounts);
    EXPECT_EQ(registry.Get(CU, "Software\\Quorlet\\1", "Password")->data.size(), 128u);
    EXPECT_EQ(registry.Get(CU, "Software\\Quorlet\\1", "Password")->type,
              RegistryValueType::Binary);
    ASSERT_TRUE(Load());
    ASSERT_EQ(accounts.size(), 2u);
    EXPECT_EQ(accounts[0].m_strPassword, std::string(127, 'a'));
    EXPECT_EQ(accounts[1].m_strPassword, std::string(128, 'b'));
    EXPECT_EQ(settings.m_strStartupPassword, ("启动" + std::string(125, 'c')).substr(0, 128));
}

TEST_F(SettingsStoreTest, FiveAccountsReducedToThree) {
    ASSERT_TRUE(Load());
    for (int i = 0; i < 5; ++i) {
        accounts.push_back({"name" + std::to_string(i), "pop" + std::to_string(i), "u", "p"});
    }
    store.Save(settings, accounts);
    ASSERT_TRUE(registry.KeyExists(CU, "Software\\Quorlet\\4"));

    accounts.erase(accounts.begin() + 1, accounts.begin() + 3);  // keep 0, 3 and 4
    store.DeleteTrailingAccounts(3, 5);
    EXPECT_TRUE(registry.KeyExists(CU, "Software\\Quorlet\\2"));
    EXPECT_FALSE(registry.KeyExists(CU, "Software\\Quorlet\\3"));
    EXPECT_FALSE(registry.KeyExists(CU, "Software\\Quorlet\\4"));
    store.Save(settings, accounts);
    ASSERT_TRUE(Load());
    ASSERT_EQ(accounts.size(), 3u);
    EXPECT_EQ(accounts[0].m_strAccount, "name0");
    EXPECT_EQ(accounts[1].m_strAccount, "name3");
    EXPECT_EQ(accounts[2].m_strAccount, "name4");
}

TEST_F(SettingsStoreTest, DeletingWithoutTheRootKeyIsReported) {
    registry.Fail(Op::Open, CU, "Software\\Quorlet");
    registry.PutString(CU, "Software\\Quorlet\\3", "Account", "stale");
    store.DeleteTrailingAccounts(3, 4);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"打开主键失败 !"});
    EXPECT_TRUE(registry.KeyExists(CU, "Software\\Quorlet\\3"));
}

TEST_F(SettingsStoreTest, SaveFailuresAreReportedAndTheRestIsSaved) {
    ASSERT_TRUE(Load());
    accounts.push_back({"a0", "s0", "u0", "p0"});
    accounts.push_back({"a1", "s1", "u1", "p1"});
    settings.m_bSound = true;

    registry.Fail(Op::Write, CU, kMain, "Total");
    registry.Fail(Op::Create, CU, "Software\\Quorlet\\0");
    store.Save(settings, accounts);
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"写注册表出错(Total) ！", "创建主键失败(0x) !"}));
    EXPECT_EQ(StoredText(CU, kMain, "Sound"), "1");
    EXPECT_FALSE(registry.KeyExists(CU, "Software\\Quorlet\\0"));
    EXPECT_EQ(StoredText(CU, "Software\\Quorlet\\1", "Account"), std::string("a1\0", 3));
}

TEST_F(SettingsStoreTest, WithoutTheRootKeyOnlyTheStartupPasswordIsSaved) {
    ASSERT_TRUE(Load());
    registry.Fail(Op::Open, CU, "Software\\Quorlet");
    settings.m_bStartupPassword = true;
    settings.m_strStartupPassword = "pw";
    store.Save(settings, accounts);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"打开注册表失败 !"});
    EXPECT_FALSE(registry.KeyExists(CU, kMain));
    EXPECT_EQ(StoredText(CR, "GLPass", "GL"), std::string("Enable\0", 7));
}

TEST_F(SettingsStoreTest, MainKeyThatCannotBeCreatedSkipsTheAccounts) {
    ASSERT_TRUE(Load());
    accounts.push_back({"a0", "s0", "u0", "p0"});
    registry.Fail(Op::Create, CU, kMain);
    store.Save(settings, accounts);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"创建主键失败(main) !"});
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Stop);
    EXPECT_FALSE(registry.KeyExists(CU, "Software\\Quorlet\\0"));
    EXPECT_TRUE(registry.KeyExists(CR, "GLPass"));
}

TEST_F(SettingsStoreTest, PlainUserKeepsTheStartupPasswordInTheUserClasses) {
    ASSERT_TRUE(Load());
    registry.Fail(Op::Create, CR, "GLPass");
    settings.m_bStartupPassword = true;
    settings.m_strStartupPassword = "secret";
    store.Save(settings, accounts);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(registry.KeyExists(CU, "Software\\Classes\\GLPass"));
    EXPECT_EQ(registry.Get(CU, "Software\\Classes\\GLPass", "GLPass")->data,
              PasswordCipher::Scramble("secret"));
    ASSERT_TRUE(Load());
    EXPECT_TRUE(settings.m_bStartupPassword);
    EXPECT_EQ(settings.m_strStartupPassword, "secret");
}

TEST_F(SettingsStoreTest, StartupPasswordKeyThatCannotBeCreatedAnywhere) {
    ASSERT_TRUE(Load());
    registry.Fail(Op::Create, CR, "GLPass");
    registry.Fail(Op::Create, CU, "Software\\Classes\\GLPass");
    store.Save(settings, accounts);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"创建主键失败(pass) !"});
    EXPECT_EQ(prompter.shown[0].title, "错误");
}

TEST_F(SettingsStoreTest, ProgramFolderRule) {
    // The program's own folder stays.
    fileSystem.current = "C:\\Tools\\";
    fileSystem.files = {"C:\\Tools\\Quorlet.exe"};
    registry.PutString(CU, kMain, "Path", "D:\\Elsewhere");
    store.FindProgramFolder();
    EXPECT_EQ(fileSystem.current, "C:\\Tools\\");

    // Started from elsewhere: "Path" shows the way.
    fileSystem.current = "C:\\Windows\\System32";
    store.FindProgramFolder();
    EXPECT_EQ(fileSystem.current, "D:\\Elsewhere");

    // No "Path": the Run value, cut at its last backslash.
    registry.RemoveKey(CU, kMain);
    registry.PutString(LM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Quorlet",
                       "C:\\Program Files\\鸥信通\\quorlet.exe");
    fileSystem.current = "C:\\Windows";
    store.FindProgramFolder();
    EXPECT_EQ(fileSystem.current, "C:\\Program Files\\鸥信通");

    // The quoted value written today, in the user's Run key when the machine's has none.
    registry.RemoveKey(LM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    registry.PutString(CU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Quorlet",
                       "\"C:\\Users\\user\\Quorlet\\quorlet.exe\"");
    fileSystem.current = "C:\\Windows";
    store.FindProgramFolder();
    EXPECT_EQ(fileSystem.current, "C:\\Users\\user\\Quorlet");

    // Nothing known: unchanged.
    registry.RemoveKey(CU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    fileSystem.current = "C:\\Windows";
    store.FindProgramFolder();
    EXPECT_EQ(fileSystem.current, "C:\\Windows");
}

// Settings written before the security choice existed load as plain connections without a
// login; the choice and the SMTP login survive a save and a load, the password scrambled.
TEST_F(SettingsStoreTest, SecurityChoicesLoadAsNoneWhenAbsentAndRoundTrip) {
    PutMain("Total", "1");
    PutMain("Server", "smtp.example.com");
    registry.PutString(CU, "Software\\Quorlet\\0", "Pop3", "pop.example.com");
    ASSERT_TRUE(Load());
    EXPECT_EQ(settings.m_nSmtpSecurity, MailSecurity::None);
    EXPECT_EQ(settings.m_strSmtpUser, "");
    EXPECT_EQ(settings.m_strSmtpPassword, "");
    ASSERT_EQ(accounts.size(), 1u);
    EXPECT_EQ(accounts[0].m_nSecurity, MailSecurity::None);

    const struct {
        MailSecurity security;
        const char* stored;
    } cases[] = {
        {MailSecurity::Tls, "1"}, {MailSecurity::StartTls, "2"}, {MailSecurity::None, "0"}};
    for (const auto& c : cases) {
        settings.m_nSmtpSecurity = c.security;
        settings.m_strSmtpUser = "sender@example.com";
        settings.m_strSmtpPassword = "密码";
        accounts[0].m_nSecurity = c.security;
        store.Save(settings, accounts);
        EXPECT_EQ(StoredText(CU, kMain, "SmtpSecurity"), std::string(c.stored) + '\0');
        EXPECT_EQ(StoredText(CU, kMain, "SmtpPassword"), PasswordCipher::Scramble("密码"));
        ASSERT_TRUE(Load());
        EXPECT_EQ(settings.m_nSmtpSecurity, c.security);
        EXPECT_EQ(settings.m_strSmtpUser, "sender@example.com");
        EXPECT_EQ(settings.m_strSmtpPassword, "密码");
        EXPECT_EQ(accounts[0].m_nSecurity, c.security);
    }
    PutMain("SmtpSecurity", "7");  // not a choice the program writes
    ASSERT_TRUE(Load());
    EXPECT_EQ(settings.m_nSmtpSecurity, MailSecurity::None);
}

}  // namespace
}  // namespace quorlet
