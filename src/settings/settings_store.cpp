#include "settings/settings_store.h"

#include <algorithm>
#include <cstdio>

#include "base/c_numbers.h"
#include "settings/auto_start.h"
#include "settings/password_cipher.h"

namespace quorlet {
namespace {

constexpr const char* kRootKey = "Software\\Quorlet";
constexpr const char* kMainKey = "Software\\Quorlet\\Main";
constexpr const char* kUserClass = "HKEY_CURRENT_USER";
constexpr const char* kClassesClass = "HKEY_CLASSES_ROOT";
constexpr const char* kPasswordKey = "GLPass";
// What HKEY_CLASSES_ROOT shows for the current user: a plain user, who may not create keys in
// the machine-wide part of HKEY_CLASSES_ROOT, keeps the startup password here instead.
constexpr const char* kUserPasswordKey = "Software\\Classes\\GLPass";

// Short values (numbers, flags, money, "GL") are read into 10 bytes, long texts into 255.
constexpr std::size_t kShort = 10;
constexpr std::size_t kLong = 255;

std::string AccountKey(std::size_t n) {
    return std::string(kRootKey) + "\\" + std::to_string(n);
}

std::string Money(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%0.2f", value);
    return buffer;
}

// A flag is on exactly when the first character read is "1"; a missing value is off.
bool ReadFlag(RegistryKey& key, const char* name) {
    const auto text = ReadRegistryText(key, name, kShort);
    return text && !text->empty() && (*text)[0] == '1';
}

// Flags that only a stored "1" changes.
void ReadFlagIfOne(RegistryKey& key, const char* name, bool& flag) {
    const auto text = ReadRegistryText(key, name, kShort);
    if (text && *text == "1") {
        flag = true;
    }
}

void ReadText(RegistryKey& key, const char* name, std::size_t size, std::string& value) {
    if (auto text = ReadRegistryText(key, name, size)) {
        value = std::move(*text);
    }
}

void ReadTextOr(RegistryKey& key, const char* name, const char* fallback, std::string& value) {
    const auto text = ReadRegistryText(key, name, kShort);
    value = text ? *text : fallback;
}

void ReadInteger(RegistryKey& key, const char* name, int& value) {
    if (const auto text = ReadRegistryText(key, name, kShort)) {
        value = AtoI(*text);
    }
}

void ReadWholeYuan(RegistryKey& key, const char* name, double& value) {
    if (const auto text = ReadRegistryText(key, name, kShort)) {
        value = AtoI(*text);
    }
}

void ReadMoney(RegistryKey& key, const char* name, double& value) {
    if (const auto text = ReadRegistryText(key, name, kShort)) {
        value = AtoF(*text);
    }
}

std::string ReadPassword(RegistryKey& key, const char* name) {
    const auto block = ReadRegistryBytes(key, name, kLong);
    return block ? PasswordCipher::Unscramble(*block) : std::string();
}

void WriteFlag(RegistryKey& key, const char* name, bool on) {
    key.SetString(name, on ? "1" : "0", false);
}
void WriteText(RegistryKey& key, const char* name, const std::string& text) {
    key.SetString(name, text, true);
}

}  // namespace

bool SettingsStore::Load(MainSettings& settings, AccountTable& accounts) {
    if (m_registry.CreateKey(RegistryRoot::CurrentUser, kRootKey, kUserClass) == nullptr) {
        m_prompter.Error("创建主键失败(Quorlet) !");
        return false;
    }
    auto main = m_registry.OpenKey(RegistryRoot::CurrentUser, kMainKey, false);
    if (main == nullptr) {
        return true;  // first run: defaults, no accounts, no startup password
    }
    int total = 0;
    LoadMainValues(*main, settings, total);
    main.reset();

    accounts.assign(static_cast<std::size_t>(total), AccountRecord{});
    for (std::size_t n = 0; n < accounts.size(); ++n) {
        auto key = m_registry.OpenKey(RegistryRoot::CurrentUser, AccountKey(n), false);
        if (key == nullptr) {
            continue;  // the row is still shown, with empty fields
        }
        AccountRecord& account = accounts[n];
        ReadText(*key, "Account", kLong, account.m_strAccount);
        ReadText(*key, "Pop3", kLong, account.m_strServer);
        ReadText(*key, "Username", kLong, account.m_strUser);
        account.m_strPassword = ReadPassword(*key, "Password");
        std::string security;
        ReadText(*key, "Security", kShort, security);
        account.m_nSecurity = MailSecurityFromText(security);
    }

    LoadStartupPassword(settings);
    return true;
}

void SettingsStore::LoadMainValues(RegistryKey& main, MainSettings& s, int& total) {
    if (const auto text = ReadRegistryText(main, "Total", kShort)) {
        // More than the table holds cannot come from the program; keep what fits.
        total = std::clamp(AtoI(*text), 0, static_cast<int>(kMaxAccounts));
    } else {
        m_prompter.Plain("读注册表出错(Total) ！");
    }
    ReadTextOr(main, "TimeInterval", "5", s.m_strTimeInterval);
    ReadText(main, "SoundFile", kLong, s.m_strSoundFile);
    s.m_bAutoLoad = ReadFlag(main, "AutoLoad");
    s.m_bSound = ReadFlag(main, "Sound");
    s.m_bHide = ReadFlag(main, "Hide");
    s.m_bAutoStart = ReadFlag(main, "AutoStart");
    s.m_bHint = ReadFlag(main, "Hint");
    s.m_bMailp = ReadFlag(main, "Mailp");
    if (const auto radio = ReadRegistryText(main, "iRadio", kShort)) {
        if (*radio == "1") {
            s.m_iRadio = 1;
        } else if (*radio == "0") {
            s.m_iRadio = 0;
        }
    }
    ReadFlagIfOne(main, "AddressDisable", s.m_bAddressDisable);
    ReadFlagIfOne(main, "SubjectDisable", s.m_bSubjectDisable);
    ReadFlagIfOne(main, "AllComp", s.m_bAllComp);
    ReadFlagIfOne(main, "Case", s.m_bCase);
    ReadFlagIfOne(main, "LengthDisable", s.m_bLengthDisable);
    ReadText(main, "MailLength", kShort, s.m_strMailLength);
    ReadText(main, "Server", kLong, s.m_strServer);
    ReadText(main, "Back", kLong, s.m_strBack);
    std::string smtpSecurity;
    ReadText(main, "SmtpSecurity", kShort, smtpSecurity);
    s.m_nSmtpSecurity = MailSecurityFromText(smtpSecurity);
    ReadText(main, "SmtpUser", kLong, s.m_strSmtpUser);
    s.m_strSmtpPassword = ReadPassword(main, "SmtpPassword");
    s.m_bRecord = ReadFlag(main, "Record");
    s.m_bRecordThisRun = s.m_bRecord;
    ReadTextOr(main, "AheadTime", "0", s.m_strAheadTime);
    s.m_nAheadTime = AtoI(s.m_strAheadTime);
    ReadMoney(main, "PhoneFee", s.m_dPhoneFee);
    ReadMoney(main, "NetFee", s.m_dNetFee);
    ReadTextOr(main, "Day_Clear", "20", s.m_strDayClear);
    ReadInteger(main, "l_cTime", s.m_nSessionTimeLimit);
    ReadInteger(main, "l_tTime", s.m_nTotalTimeLimit);
    ReadWholeYuan(main, "l_cFee", s.m_dSessionFeeLimit);
    ReadWholeYuan(main, "l_tFee", s.m_dTotalFeeLimit);
    s.m_bSessionHangUp = ReadFlag(main, "l_cCh");
    s.m_bTotalHangUp = ReadFlag(main, "l_tCh");
    ReadText(main, "l_cWav", kLong, s.m_strSessionWav);
    ReadText(main, "l_tWav", kLong, s.m_strTotalWav);
    s.m_bAutoClear = ReadFlag(main, "AutoClear");
    s.m_bAutoCheck = ReadFlag(main, "AutoCheck");
    const auto noRound = ReadRegistryText(main, "NoRound", kShort);
    s.m_bNoRound = noRound && *noRound == "1";
}

void SettingsStore::LoadStartupPassword(MainSettings& s) {
    auto key = m_registry.OpenKey(RegistryRoot::ClassesRoot, kPasswordKey, false);
    if (key == nullptr) {
        key = m_registry.OpenKey(RegistryRoot::CurrentUser, kUserPasswordKey, false);
    }
    if (key == nullptr) {
        s.m_bStartupPassword = false;
        return;
    }
    s.m_strStartupPassword.clear();
    const auto gl = ReadRegistryText(*key, "GL", kShort);
    s.m_bStartupPassword = gl && *gl == "Enable";
    if (!s.m_bStartupPassword) {
        return;
    }
    const auto block = ReadRegistryBytes(*key, "GLPass", kLong);
    if (block && !block->empty() && (*block)[0] != '\0') {
        s.m_strStartupPassword = PasswordCipher::Unscramble(*block);
    }
}

void SettingsStore::Save(const MainSettings& settings, const AccountTable& accounts) {
    auto root = m_registry.OpenKey(RegistryRoot::CurrentUser, kRootKey, true);
    if (root == nullptr) {
        m_prompter.Error("打开注册表失败 !");
    } else {
        if (auto main = m_registry.CreateKey(RegistryRoot::CurrentUser, kMainKey, kUserClass)) {
            SaveMainValues(*main, settings, accounts.size());
            main.reset();
            for (std::size_t n = 0; n < accounts.size(); ++n) {
                auto key =
                    m_registry.CreateKey(RegistryRoot::CurrentUser, AccountKey(n), kUserClass);
                if (key == nullptr) {
                    m_prompter.Error("创建主键失败(0x) !");
                    continue;
                }
                const AccountRecord& account = accounts[n];
                WriteText(*key, "Account", account.m_strAccount);
                WriteText(*key, "Pop3", account.m_strServer);
                WriteText(*key, "Username", account.m_strUser);
                key->SetBinary("Password", PasswordCipher::Scramble(account.m_strPassword));
                WriteText(*key, "Security", MailSecurityText(account.m_nSecurity));
            }
        } else {
            m_prompter.Error("创建主键失败(main) !");
        }
        root.reset();
    }
    SaveStartupPassword(settings);
}

void SettingsStore::SaveMainValues(RegistryKey& main, const MainSettings& s, std::size_t total) {
    if (!main.SetString("Total", std::to_string(total), true)) {
        m_prompter.Plain("写注册表出错(Total) ！");
    }
    WriteText(main, "TimeInterval", s.m_strTimeInterval);
    WriteText(main, "SoundFile", s.m_strSoundFile);
    WriteFlag(main, "AutoLoad", s.m_bAutoLoad);
    WriteFlag(main, "Sound", s.m_bSound);
    WriteFlag(main, "Hide", s.m_bHide);
    WriteFlag(main, "AutoStart", s.m_bAutoStart);
    WriteFlag(main, "Hint", s.m_bHint);
    WriteFlag(main, "Mailp", s.m_bMailp);
    WriteFlag(main, "iRadio", s.m_iRadio == 1);
    WriteFlag(main, "AddressDisable", s.m_bAddressDisable);
    WriteFlag(main, "SubjectDisable", s.m_bSubjectDisable);
    WriteFlag(main, "AllComp", s.m_bAllComp);
    WriteFlag(main, "Case", s.m_bCase);
    WriteFlag(main, "LengthDisable", s.m_bLengthDisable);
    WriteText(main, "MailLength", s.m_strMailLength);
    WriteText(main, "Server", s.m_strServer);
    WriteText(main, "Back", s.m_strBack);
    WriteText(main, "SmtpSecurity", MailSecurityText(s.m_nSmtpSecurity));
    WriteText(main, "SmtpUser", s.m_strSmtpUser);
    main.SetBinary("SmtpPassword", PasswordCipher::Scramble(s.m_strSmtpPassword));
    WriteFlag(main, "Record", s.m_bRecord);
    WriteText(main, "AheadTime", s.m_strAheadTime);
    WriteText(main, "PhoneFee", Money(s.m_dPhoneFee));
    WriteText(main, "NetFee", Money(s.m_dNetFee));
    WriteText(main, "Path", m_fileSystem.CurrentDirectory());
    WriteText(main, "Day_Clear", s.m_strDayClear);
    WriteText(main, "l_cTime", std::to_string(s.m_nSessionTimeLimit));
    WriteText(main, "l_tTime", std::to_string(s.m_nTotalTimeLimit));
    WriteText(main, "l_cFee", Money(s.m_dSessionFeeLimit));
    WriteText(main, "l_tFee", Money(s.m_dTotalFeeLimit));
    WriteFlag(main, "l_cCh", s.m_bSessionHangUp);
    WriteFlag(main, "l_tCh", s.m_bTotalHangUp);
    WriteText(main, "l_cWav", s.m_strSessionWav);
    WriteText(main, "l_tWav", s.m_strTotalWav);
    WriteFlag(main, "AutoClear", s.m_bAutoClear);
    WriteFlag(main, "AutoCheck", s.m_bAutoCheck);
}

void SettingsStore::SaveStartupPassword(const MainSettings& s) {
    auto key = m_registry.CreateKey(RegistryRoot::ClassesRoot, kPasswordKey, kClassesClass);
    if (key == nullptr) {
        key = m_registry.CreateKey(RegistryRoot::CurrentUser, kUserPasswordKey, kClassesClass);
    }
    if (key == nullptr) {
        m_prompter.Error("创建主键失败(pass) !");
        return;
    }
    WriteText(*key, "GL", s.m_bStartupPassword ? "Enable" : "Disable");
    if (!s.m_strStartupPassword.empty()) {
        key->SetBinary("GLPass", PasswordCipher::Scramble(s.m_strStartupPassword));
    } else {
        WriteText(*key, "GLPass", "No Password");
    }
}

void SettingsStore::DeleteTrailingAccounts(std::size_t newCount, std::size_t oldCount) {
    auto root = m_registry.OpenKey(RegistryRoot::CurrentUser, kRootKey, false);
    if (root == nullptr) {
        m_prompter.Error("打开主键失败 !");
        return;
    }
    for (std::size_t n = newCount; n < oldCount; ++n) {
        root->DeleteSubKey(std::to_string(n));
    }
}

void SettingsStore::FindProgramFolder() {
    const std::string current = m_fileSystem.CurrentDirectory();
    const bool endsWithSlash = !current.empty() && current.back() == '\\';
    if (m_fileSystem.FileExists(current + (endsWithSlash ? "Quorlet.exe" : "\\Quorlet.exe"))) {
        return;
    }
    if (auto main = m_registry.OpenKey(RegistryRoot::CurrentUser, kMainKey, false)) {
        if (const auto path = ReadRegistryText(*main, "Path", kLong)) {
            m_fileSystem.ChangeDirectory(*path);
            return;
        }
    }
    // The start-with-Windows value names the program: the machine's, or else the user's.
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        auto run = m_registry.OpenKey(root, kRunKeyPath, false);
        const auto command = run ? ReadRegistryText(*run, kRunValueName, kLong) : std::nullopt;
        if (command) {
            if (const auto folder = FolderOfAutoStartCommand(*command)) {
                m_fileSystem.ChangeDirectory(*folder);
            }
            return;
        }
    }
}

}  // namespace quorlet
