// The settings store and the registry service against the real (Wine) registry.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"
#include "settings/password_cipher.h"
#include "settings/settings_store.h"
#include "support/scripted_prompter.h"

namespace quorlet {
namespace {

// Reads a value's raw stored bytes and type straight from the system.
std::vector<BYTE> RawValue(HKEY root, const std::string& path, const std::string& name,
                           DWORD* type) {
    std::vector<BYTE> data(1024);
    DWORD size = static_cast<DWORD>(data.size());
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(root, win32::ToWide(path).c_str(), 0, KEY_READ, &key);
    if (status == ERROR_SUCCESS) {
        status =
            RegQueryValueExW(key, win32::ToWide(name).c_str(), nullptr, type, data.data(), &size);
        RegCloseKey(key);
    }
    data.resize(status == ERROR_SUCCESS ? size : 0);
    return data;
}

class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorlet");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"GLPass");
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\GLPass");
    }

    Registry& registry = SystemRegistry();
    testing::ScriptedPrompter prompter;
};

TEST_F(Win32RegistryTest, SettingsRoundTripWithChineseTextAndStoredCipherBlocks) {
    SettingsStore store(registry, prompter, SystemFileSystem());
    MainSettings settings;
    AccountTable accounts;
    ASSERT_TRUE(store.Load(settings, accounts));
    EXPECT_TRUE(accounts.empty());

    settings.m_strTimeInterval = "15";
    settings.m_bSound = true;
    settings.m_strSoundFile = "C:\\声音\\新邮件.wav";
    settings.m_dPhoneFee = 12.5;
    settings.m_dSessionFeeLimit = 30;
    settings.m_bStartupPassword = true;
    settings.m_strStartupPassword = "启动口令";
    accounts.push_back({"工作邮箱", "pop.example.com", "张三", "密码pass"});
    accounts.push_back({"home", "127.0.0.1:1100", "bob", std::string(127, 'x')});
    store.Save(settings, accounts);
    EXPECT_TRUE(prompter.shown.empty());

    DWORD type = 0;
    const auto block = RawValue(HKEY_CURRENT_USER, "Software\\Quorlet\\0", "Password", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::string(block.begin(), block.end()), PasswordCipher::Scramble("密码pass"));
    // Text values are stored as Unicode, so other programs see the Chinese characters.
    const auto name = RawValue(HKEY_CURRENT_USER, "Software\\Quorlet\\0", "Account", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(name.data()), name.size() / 2),
              std::wstring(L"\u5DE5\u4F5C\u90AE\u7BB1") + L'\0');
    // Flags are one character without a terminator.
    const auto flag = RawValue(HKEY_CURRENT_USER, "Software\\Quorlet\\Main", "Sound", &type);
    EXPECT_EQ(flag.size(), 2u);

    MainSettings loaded;
    AccountTable loadedAccounts;
    ASSERT_TRUE(store.Load(loaded, loadedAccounts));
    ASSERT_EQ(loadedAccounts.size(), 2u);
    EXPECT_EQ(loadedAccounts[0].m_strAccount, "工作邮箱");
    EXPECT_EQ(loadedAccounts[0].m_strUser, "张三");
    EXPECT_EQ(loadedAccounts[0].m_strPassword, "密码pass");
    EXPECT_EQ(loadedAccounts[1].m_strServer, "127.0.0.1:1100");
    EXPECT_EQ(loadedAccounts[1].m_strPassword, std::string(127, 'x'));
    EXPECT_EQ(loaded.m_strTimeInterval, "15");
    EXPECT_TRUE(loaded.m_bSound);
    EXPECT_EQ(loaded.m_strSoundFile, "C:\\声音\\新邮件.wav");
    EXPECT_DOUBLE_EQ(loaded.m_dPhoneFee, 12.5);
    EXPECT_EQ(loaded.m_dSessionFeeLimit, 30.0);
    EXPECT_TRUE(loaded.m_bStartupPassword);
    EXPECT_EQ(loaded.m_strStartupPassword, "启动口令");
    EXPECT_TRUE(prompter.shown.empty());

    // Shrinking the table removes the trailing key.
    store.DeleteTrailingAccounts(1, 2);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quorlet\\1", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quorlet\\0", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(Win32RegistryTest, TextWithAndWithoutTerminatorAndBinaryData) {
    auto key = registry.CreateKey(RegistryRoot::CurrentUser, "Software\\Quorlet\\Probe", "");
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->SetString("bare", "123456789", false));
    ASSERT_TRUE(key->SetString("terminated", "鸥信通", true));
    ASSERT_TRUE(key->SetBinary("binary", std::string("\0\x01\xFF", 3)));
    EXPECT_EQ(ReadRegistryText(*key, "bare", 10), "123456789");
    EXPECT_EQ(ReadRegistryText(*key, "terminated", 255), "鸥信通");
    // The buffer limits count GBK bytes, as the ANSI functions would: 6 bytes and a NUL.
    EXPECT_EQ(ReadRegistryText(*key, "terminated", 6), std::nullopt);
    EXPECT_EQ(ReadRegistryText(*key, "terminated", 7), "鸥信通");
    const auto binary = key->Query("binary");
    ASSERT_TRUE(binary.has_value());
    EXPECT_EQ(binary->type, RegistryValueType::Binary);
    EXPECT_EQ(binary->data, std::string("\0\x01\xFF", 3));
    EXPECT_EQ(key->Query("absent"), std::nullopt);

    // A value written by another program without a terminator reads the same.
    const wchar_t raw[] = {L'4', L'2'};
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Quorlet\\Probe", L"foreign", REG_SZ, raw,
                    sizeof raw);
    EXPECT_EQ(ReadRegistryText(*key, "foreign", 10), "42");
    EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "Software\\Quorlet\\Absent", false),
              nullptr);
}

}  // namespace
}  // namespace quorlet
