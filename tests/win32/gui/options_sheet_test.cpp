// The options sheet "设置" in the real main window: the settings shown on its three pages, Cancel
// that changes nothing, OK whose values the next start finds again, every check that keeps a
// page, the sound chooser and player, and the start-with-Windows value in the user's Run key
// where the machine's is refused. Screenshots of the three pages go to the build folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>

#include "app/option_rules.h"
#include "app_ids.h"
#include "dialog_helpers.h"
#include "gui_support.h"
#include "platform/win32/wide_text.h"
#include "resource.h"
#include "settings/auto_start.h"
#include "settings/field_limits.h"
#include "ui/window.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::Checked;
using testing::Choose;
using testing::Click;
using testing::Enabled;
using testing::Entries;
using testing::ExpectLastShown;
using testing::GoTo;
using testing::PumpFor;
using testing::ShowingPage;
using testing::TextOf;
using testing::Type;

// Opens the sheet from the main window's button; `onSheet` runs on its first page.
void WithSheet(CMainDlg& window, const std::function<void(HWND sheet)>& onSheet) {
    bool ran = false;
    ui::SetDialogScript(IDD_OPTION_GENERAL, [&](ui::CDialog& page) {
        ran = true;
        onSheet(GetParent(page));
    });
    Click(window, IDC_OPTIONS);
    ui::SetDialogScript(IDD_OPTION_GENERAL, nullptr);
    EXPECT_TRUE(ran) << "the options sheet did not open";
}

MainSettings StoredSettings() {
    MainSettings s;
    s.m_strTimeInterval = "7";
    s.m_bSound = true;
    s.m_strSoundFile = "ding.wav";
    s.m_iRadio = 1;
    s.m_strServer = "smtp.example.org";
    s.m_bAutoCheck = true;
    s.m_bRecord = true;
    s.m_strAheadTime = "5";
    s.m_nAheadTime = 5;
    s.m_strDayClear = "12";
    return s;
}

TEST(OptionsSheet, ShowsTheSettingsCancelKeepsThemAndOkValuesSurviveARestart) {
    testing::MainWindowHarness harness;
    harness.Store(StoredSettings(), {});
    harness.Run([&](CMainDlg& window) {
        WithSheet(window, [&](HWND sheet) {
            EXPECT_EQ(ui::GetText(sheet), "设置");
            HWND page = ShowingPage(sheet);
            EXPECT_TRUE(Checked(page, IDC_OPTION_GENERAL_AUTO_CHECK));
            EXPECT_FALSE(Checked(page, IDC_OPTION_GENERAL_PASSWORD_ON));
            EXPECT_FALSE(Enabled(page, IDC_OPTION_GENERAL_STARTUP_PASSWORD));
            testing::SaveScreenshot(sheet, "options-general");

            page = GoTo(sheet, 1);
            EXPECT_EQ(TextOf(page, IDC_OPTION_MAIL_INTERVAL), "7");
            EXPECT_EQ(TextOf(page, IDC_OPTION_MAIL_SOUND_FILE), "ding.wav");
            EXPECT_TRUE(Enabled(page, IDC_OPTION_MAIL_PLAY_SOUND));
            EXPECT_TRUE(Checked(page, IDC_OPTION_MAIL_LIST_FILTERED));
            EXPECT_FALSE(Checked(page, IDC_OPTION_MAIL_DELETE_FILTERED));
            EXPECT_EQ(TextOf(page, IDC_OPTION_MAIL_SMTP_SERVER), "smtp.example.org");
            testing::SaveScreenshot(sheet, "options-mail");

            page = GoTo(sheet, 2);
            EXPECT_TRUE(Checked(page, IDC_OPTION_FEE_RECORD));
            EXPECT_EQ(TextOf(page, IDC_OPTION_FEE_AHEAD_TIME), "5");
            EXPECT_EQ(TextOf(page, IDC_OPTION_FEE_DAY_CLEAR), "12");
            Click(page, IDC_OPTION_FEE_RECORD);
            EXPECT_FALSE(Enabled(page, IDC_OPTION_FEE_DAY_CLEAR));
            EXPECT_FALSE(Enabled(page, IDC_OPTION_FEE_AHEAD_TIME));
            EXPECT_FALSE(Enabled(page, IDC_OPTION_FEE_AUTO_CLEAR));
            Click(page, IDC_OPTION_FEE_RECORD);
            testing::SaveScreenshot(sheet, "options-fees");
            Type(page, IDC_OPTION_FEE_AHEAD_TIME, "30");
            Click(sheet, IDCANCEL);
        });
        EXPECT_EQ(window.Settings().m_strAheadTime, "5");

        WithSheet(window, [&](HWND sheet) {
            Click(ShowingPage(sheet), IDC_OPTION_GENERAL_HIDE);
            HWND page = GoTo(sheet, 1);
            Type(page, IDC_OPTION_MAIL_INTERVAL, "9");
            Click(page, IDC_OPTION_MAIL_DELETE_FILTERED);
            page = GoTo(sheet, 2);
            Type(page, IDC_OPTION_FEE_AHEAD_TIME, "30");
            Click(sheet, IDOK);
        });
        EXPECT_EQ(window.Settings().m_nAheadTime, 30);  // the recorder's number follows the text
        window.SendMessage(WM_COMMAND, ID_EXIT);        // saves, as every exit does
    });

    harness.Run([&](CMainDlg& window) {
        const MainSettings& s = window.Settings();
        EXPECT_TRUE(s.m_bHide);
        EXPECT_EQ(s.m_strTimeInterval, "9");
        EXPECT_EQ(s.m_iRadio, 0);
        EXPECT_EQ(s.m_strAheadTime, "30");
        EXPECT_EQ(s.m_strSoundFile, "ding.wav");
        window.EndDialog(IDCANCEL);
    });
}

// The SMTP server's "安全连接": the one shown, and choosing another.
std::string ShownSecurity(HWND page) {
    return TextOf(page, IDC_OPTION_MAIL_SMTP_SECURITY);
}
void ChooseSecurity(HWND page, int index) {
    Choose(page, IDC_OPTION_MAIL_SMTP_SECURITY, index);
}

TEST(OptionsSheet, TheSmtpSecurityAndLoginAreTakenByOkAndKeptByCancel) {
    testing::MainWindowHarness harness;
    harness.Store(StoredSettings(), {});
    // Settings of a version without the choice: no value at all means "无".
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Quorlet\\Main", L"SmtpSecurity"),
              ERROR_SUCCESS);
    harness.Run([&](CMainDlg& window) {
        WithSheet(window, [&](HWND sheet) {
            const HWND page = GoTo(sheet, 1);
            EXPECT_EQ(Entries(page, IDC_OPTION_MAIL_SMTP_SECURITY),
                      (std::vector<std::string>{"无", "SSL/TLS", "STARTTLS"}));
            EXPECT_EQ(ShownSecurity(page), "无");
            EXPECT_EQ(TextOf(page, IDC_OPTION_MAIL_SMTP_USER), "");
            EXPECT_NE(
                SendDlgItemMessageW(page, IDC_OPTION_MAIL_SMTP_PASSWORD, EM_GETPASSWORDCHAR, 0, 0),
                0)
                << "a password field";
            ChooseSecurity(page, 2);
            Type(page, IDC_OPTION_MAIL_SMTP_USER, "mailer");
            Type(page, IDC_OPTION_MAIL_SMTP_PASSWORD, "smtp-pw");
            Click(sheet, IDCANCEL);
        });
        EXPECT_EQ(window.Settings().m_nSmtpSecurity, MailSecurity::None);
        EXPECT_EQ(window.Settings().m_strSmtpUser, "");
        EXPECT_EQ(window.Settings().m_strSmtpPassword, "");

        WithSheet(window, [&](HWND sheet) {
            const HWND page = GoTo(sheet, 1);
            EXPECT_EQ(ShownSecurity(page), "无") << "the cancelled choice is not shown again";
            // The login holds what the store reads back; the password one cipher block.
            std::string chinese;
            for (int i = 0; i < 300; ++i) {
                chinese += "邮";
            }
            for (const auto& [id, bytes] :
                 {std::pair{IDC_OPTION_MAIL_SMTP_USER, kLongTextBytes},
                  std::pair{IDC_OPTION_MAIL_SMTP_PASSWORD, kPasswordBytes}}) {
                Type(page, id, chinese.c_str());
                EXPECT_EQ(TextOf(page, id), chinese.substr(0, bytes / 2 * 2)) << id;
            }
            ChooseSecurity(page, 2);
            Type(page, IDC_OPTION_MAIL_SMTP_USER, "mailer");
            Type(page, IDC_OPTION_MAIL_SMTP_PASSWORD, "smtp-pw");
            EXPECT_EQ(TextOf(page, IDC_OPTION_MAIL_SMTP_SERVER), "smtp.example.org");
            testing::SaveScreenshot(sheet, "options-mail-security");
            Click(sheet, IDOK);
        });
        EXPECT_EQ(window.Settings().m_nSmtpSecurity, MailSecurity::StartTls);
        EXPECT_EQ(window.Settings().m_strSmtpUser, "mailer");
        EXPECT_EQ(window.Settings().m_strSmtpPassword, "smtp-pw");
        EXPECT_EQ(window.Settings().m_strServer, "smtp.example.org");
        window.SendMessage(WM_COMMAND, ID_EXIT);
    });
    EXPECT_EQ(testing::ReadMainValue("SmtpSecurity"), "2");

    harness.Run([&](CMainDlg& window) {
        WithSheet(window, [&](HWND sheet) {
            const HWND page = GoTo(sheet, 1);
            EXPECT_EQ(ShownSecurity(page), "STARTTLS");
            EXPECT_EQ(TextOf(page, IDC_OPTION_MAIL_SMTP_USER), "mailer");
            EXPECT_EQ(TextOf(page, IDC_OPTION_MAIL_SMTP_PASSWORD), "smtp-pw");
            ChooseSecurity(page, 1);
            Click(sheet, IDOK);
        });
        EXPECT_EQ(window.Settings().m_nSmtpSecurity, MailSecurity::Tls);
        window.EndDialog(IDCANCEL);
    });
}

TEST(OptionsSheet, EveryCheckKeepsItsPageWithItsMessage) {
    testing::MainWindowHarness harness;
    harness.Store(StoredSettings(), {});
    harness.Run([&](CMainDlg& window) {
        // The startup password ticked without a password.
        WithSheet(window, [&](HWND sheet) {
            const HWND general = ShowingPage(sheet);
            Click(general, IDC_OPTION_GENERAL_PASSWORD_ON);
            EXPECT_TRUE(Enabled(general, IDC_OPTION_GENERAL_STARTUP_PASSWORD));
            EXPECT_EQ(GoTo(sheet, 1), general);
            ExpectLastShown(harness.prompter, kNeedStartupPassword, "提示",
                            MessageIcon::Information);
            EXPECT_FALSE(Checked(general, IDC_OPTION_GENERAL_PASSWORD_ON));
            EXPECT_FALSE(Enabled(general, IDC_OPTION_GENERAL_STARTUP_PASSWORD));

            // The interval out of range or empty: the field is emptied.
            HWND mail = GoTo(sheet, 1);
            ASSERT_NE(mail, general);
            for (const char* interval : {"0", "101", ""}) {
                Type(mail, IDC_OPTION_MAIL_INTERVAL, interval);
                EXPECT_EQ(GoTo(sheet, 2), mail) << interval;
                ExpectLastShown(harness.prompter, kBadInterval, "提示", MessageIcon::Information);
                EXPECT_EQ(TextOf(mail, IDC_OPTION_MAIL_INTERVAL), "");
            }
            Type(mail, IDC_OPTION_MAIL_INTERVAL, "100");

            // The chooser and the player; then sound on without a file.
            harness.prompter.files = {std::string("C:\\sounds\\bell.wav")};
            Click(mail, IDC_OPTION_MAIL_CHOOSE_SOUND);
            EXPECT_EQ(TextOf(mail, IDC_OPTION_MAIL_SOUND_FILE), "C:\\sounds\\bell.wav");
            Click(mail, IDC_OPTION_MAIL_PLAY_SOUND);
            ASSERT_EQ(harness.sound.played.size(), 1u);
            EXPECT_EQ(harness.sound.played[0], "C:\\sounds\\bell.wav");
            Type(mail, IDC_OPTION_MAIL_SOUND_FILE, "");
            Click(mail, IDC_OPTION_MAIL_PLAY_SOUND);
            EXPECT_EQ(harness.sound.played.size(), 1u);  // nothing to play
            EXPECT_EQ(GoTo(sheet, 2), mail);
            ExpectLastShown(harness.prompter, kNeedSoundFile, "提示", MessageIcon::Information);
            EXPECT_FALSE(Checked(mail, IDC_OPTION_MAIL_SOUND));
            for (int id : {IDC_OPTION_MAIL_SOUND_FILE, IDC_OPTION_MAIL_CHOOSE_SOUND,
                           IDC_OPTION_MAIL_PLAY_SOUND}) {
                EXPECT_FALSE(Enabled(mail, id)) << id;
            }

            // A settlement day past 30, even by OK.
            const HWND fees = GoTo(sheet, 2);
            ASSERT_NE(fees, mail);
            Type(fees, IDC_OPTION_FEE_DAY_CLEAR, "31");
            Click(sheet, IDOK);
            PumpFor(30ms);
            EXPECT_EQ(ShowingPage(sheet), fees);
            ExpectLastShown(harness.prompter, kBadSettlementDay, "错误", MessageIcon::Stop);
            Click(sheet, IDCANCEL);
        });
        EXPECT_EQ(window.Settings().m_strTimeInterval, "7");
        EXPECT_TRUE(window.Settings().m_bSound);

        // Auto-load from a folder without the program: the box is cleared, OK again closes.
        testing::TempDir elsewhere;
        const std::string folder = harness.folder.Path();
        WithSheet(window, [&](HWND sheet) {
            SetCurrentDirectoryW(elsewhere.path().c_str());
            const HWND general = ShowingPage(sheet);
            Click(general, IDC_OPTION_GENERAL_AUTO_LOAD);
            harness.prompter.shown.clear();
            Click(sheet, IDOK);
            PumpFor(30ms);
            EXPECT_EQ(ShowingPage(sheet), general);
            ExpectLastShown(harness.prompter, kAutoStartNoProgram, "提示",
                            MessageIcon::Information);
            EXPECT_FALSE(Checked(general, IDC_OPTION_GENERAL_AUTO_LOAD));
            Click(sheet, IDOK);
        });
        SetCurrentDirectoryW(win32::ToWide(folder).c_str());
        EXPECT_FALSE(window.Settings().m_bAutoLoad);
        EXPECT_EQ(harness.prompter.shown.size(), 1u);
        window.EndDialog(IDCANCEL);
    });
}

// The machine's Run key refused, as to every plain user of current Windows; the rest is the real
// registry.
class MachineRunKeyRefused final : public Registry {
public:
    std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, std::string_view path,
                                           std::string_view classText) override {
        if (root == RegistryRoot::LocalMachine) {
            return nullptr;
        }
        return SystemRegistry().CreateKey(root, path, classText);
    }
    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool writable) override {
        if (root == RegistryRoot::LocalMachine && writable) {
            return nullptr;
        }
        return SystemRegistry().OpenKey(root, path, writable);
    }
};

std::optional<std::string> UserRunValue() {
    wchar_t data[512] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                     L"Quorlet", RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return win32::FromWide(data);
}

TEST(OptionsSheet, WithoutTheMachineRunKeyTheUserRunValueIsWrittenQuotedAndDeleted) {
    testing::MainWindowHarness harness;
    MachineRunKeyRefused registry;
    harness.registry = &registry;
    harness.Run([&](CMainDlg& window) {
        WithSheet(window, [&](HWND sheet) {
            Click(ShowingPage(sheet), IDC_OPTION_GENERAL_AUTO_LOAD);
            Click(sheet, IDOK);
        });
        EXPECT_TRUE(window.Settings().m_bAutoLoad);
        EXPECT_EQ(UserRunValue(), "\"" + harness.folder.Path() + "\\quorlet.exe\"");

        WithSheet(window, [&](HWND sheet) {
            Click(ShowingPage(sheet), IDC_OPTION_GENERAL_AUTO_LOAD);
            Click(sheet, IDOK);
        });
        EXPECT_FALSE(window.Settings().m_bAutoLoad);
        EXPECT_EQ(UserRunValue(), std::nullopt);
        EXPECT_TRUE(harness.prompter.shown.empty());
        window.EndDialog(IDCANCEL);
    });
}

}  // namespace
}  // namespace quorlet
