#include "app/gui/option_pages.h"

#include <commctrl.h>

#include "app/option_rules.h"
#include "app_ids.h"
#include "base/c_numbers.h"
#include "mail/gui/security_choice.h"
#include "resource.h"
#include "settings/auto_start.h"
#include "settings/field_limits.h"
#include "ui/data_exchange.h"

namespace quorlet {
namespace {

// The number fields hold digits only (ES_NUMBER), so characters are bytes here.
constexpr int kIntervalChars = 3;
constexpr int kAheadTimeChars = 3;
constexpr int kDayClearChars = 2;

void SetSpinRange(HWND dialog, int spinId, int low, int high) {
    SendDlgItemMessageW(dialog, spinId, UDM_SETRANGE32, static_cast<WPARAM>(low),
                        static_cast<LPARAM>(high));
}

}  // namespace

// "常规选项"

COptionPageGeneral::COptionPageGeneral(Registry& registry, const FileSystem& fileSystem,
                                       Prompter& prompter)
    : CPropertyPage(IDD_OPTION_GENERAL),
      m_registry(registry),
      m_fileSystem(fileSystem),
      m_prompter(prompter) {}

void COptionPageGeneral::CopyIn(const MainSettings& s) {
    m_bAutoLoad = s.m_bAutoLoad;
    m_bHide = s.m_bHide;
    m_bAutoStart = s.m_bAutoStart;
    m_bPasswordOn = s.m_bStartupPassword;
    m_strPassword = s.m_strStartupPassword;
    m_bAutoCheck = s.m_bAutoCheck;
}

void COptionPageGeneral::CopyOut(MainSettings& s) const {
    s.m_bAutoLoad = m_bAutoLoad;
    s.m_bHide = m_bHide;
    s.m_bAutoStart = m_bAutoStart;
    s.m_bStartupPassword = m_bPasswordOn;
    s.m_strStartupPassword = m_strPassword;
    s.m_bAutoCheck = m_bAutoCheck;
}

void COptionPageGeneral::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Check(dx, IDC_OPTION_GENERAL_AUTO_LOAD, m_bAutoLoad);
    ui::DDX_Check(dx, IDC_OPTION_GENERAL_HIDE, m_bHide);
    ui::DDX_Check(dx, IDC_OPTION_GENERAL_AUTO_START, m_bAutoStart);
    ui::DDX_Check(dx, IDC_OPTION_GENERAL_PASSWORD_ON, m_bPasswordOn);
    ui::DDX_Text(dx, IDC_OPTION_GENERAL_STARTUP_PASSWORD, m_strPassword);
    ui::DDX_Check(dx, IDC_OPTION_GENERAL_AUTO_CHECK, m_bAutoCheck);
}

BOOL COptionPageGeneral::OnInitDialog() {
    // Attached before the text is set, so that a stored password is cut as the store reads it.
    m_passwordEdit.Attach(m_hWnd, IDC_OPTION_GENERAL_STARTUP_PASSWORD, kPasswordBytes);
    CPropertyPage::OnInitDialog();
    EnableDlgItem(IDC_OPTION_GENERAL_STARTUP_PASSWORD, m_bPasswordOn);
    return TRUE;
}

bool COptionPageGeneral::OnButtonClicked(int id) {
    if (id == IDC_OPTION_GENERAL_PASSWORD_ON) {
        EnableDlgItem(IDC_OPTION_GENERAL_STARTUP_PASSWORD,
                      IsDlgButtonChecked(IDC_OPTION_GENERAL_PASSWORD_ON));
        return true;
    }
    return CPropertyPage::OnButtonClicked(id);
}

bool COptionPageGeneral::OnKillActive() {
    // The start-with-Windows value is written at once; a failure clears the box, so that the
    // next attempt passes.
    bool failed = false;
    switch (ApplyAutoStart(m_registry, m_fileSystem,
                           IsDlgButtonChecked(IDC_OPTION_GENERAL_AUTO_LOAD))) {
        case AutoStartResult::Done:
            break;
        case AutoStartResult::NoProgramFile:
            m_prompter.Notice(kAutoStartNoProgram);
            failed = true;
            break;
        case AutoStartResult::WriteFailed:
            m_prompter.Error(kAutoStartFailed);
            failed = true;
            break;
    }
    if (failed) {
        CheckDlgButton(IDC_OPTION_GENERAL_AUTO_LOAD, false);
    }
    if (StartupPasswordMissing(IsDlgButtonChecked(IDC_OPTION_GENERAL_PASSWORD_ON),
                               GetDlgItemText(IDC_OPTION_GENERAL_STARTUP_PASSWORD))) {
        m_prompter.Notice(kNeedStartupPassword);
        CheckDlgButton(IDC_OPTION_GENERAL_PASSWORD_ON, false);
        EnableDlgItem(IDC_OPTION_GENERAL_STARTUP_PASSWORD, false);
        return false;
    }
    return !failed && CPropertyPage::OnKillActive();
}

// "邮件检测"

COptionPageMail::COptionPageMail(Prompter& prompter, Sound& sound)
    : CPropertyPage(IDD_OPTION_MAIL),
      m_prompter(prompter),
      m_soundFile(prompter, sound,
                  {IDC_OPTION_MAIL_SOUND_FILE, IDC_OPTION_MAIL_CHOOSE_SOUND,
                   IDC_OPTION_MAIL_PLAY_SOUND, IDI_BUTTON_OPEN, IDI_BUTTON_PLAY},
                  kLongTextBytes) {}

void COptionPageMail::CopyIn(const MainSettings& s) {
    m_strInterval = s.m_strTimeInterval;
    m_strSoundFile = s.m_strSoundFile;
    m_bSound = s.m_bSound;
    m_bHint = s.m_bHint;
    m_bMailp = s.m_bMailp;
    m_iRadio = s.m_iRadio;
    m_strServer = s.m_strServer;
    m_nSmtpSecurity = s.m_nSmtpSecurity;
    m_strSmtpUser = s.m_strSmtpUser;
    m_strSmtpPassword = s.m_strSmtpPassword;
    m_strBack = s.m_strBack;
}

void COptionPageMail::CopyOut(MainSettings& s) const {
    s.m_strTimeInterval = m_strInterval;
    s.m_strSoundFile = m_strSoundFile;
    s.m_bSound = m_bSound;
    s.m_bHint = m_bHint;
    s.m_bMailp = m_bMailp;
    s.m_iRadio = m_iRadio;
    s.m_strServer = m_strServer;
    s.m_nSmtpSecurity = m_nSmtpSecurity;
    s.m_strSmtpUser = m_strSmtpUser;
    s.m_strSmtpPassword = m_strSmtpPassword;
    s.m_strBack = m_strBack;
}

void COptionPageMail::DoDataExchange(ui::CDataExchange& dx) {
    m_soundFile.Exchange(dx);
    ui::DDV_MaxChars(dx, IDC_OPTION_MAIL_INTERVAL, kIntervalChars);
    ui::DDX_Text(dx, IDC_OPTION_MAIL_INTERVAL, m_strInterval);
    ui::DDX_Text(dx, IDC_OPTION_MAIL_SOUND_FILE, m_strSoundFile);
    ui::DDX_Check(dx, IDC_OPTION_MAIL_SOUND, m_bSound);
    ui::DDX_Check(dx, IDC_OPTION_MAIL_HINT, m_bHint);
    ui::DDX_Check(dx, IDC_OPTION_MAIL_MAIL_PROGRAM, m_bMailp);
    // The first button of the group, "列表", is the stored 1.
    int radio = m_iRadio == 1 ? 0 : 1;
    ui::DDX_Radio(dx, IDC_OPTION_MAIL_LIST_FILTERED, radio);
    if (dx.Saving()) {
        m_iRadio = radio == 0 ? 1 : 0;
    }
    ui::DDX_Text(dx, IDC_OPTION_MAIL_SMTP_SERVER, m_strServer);
    DDX_Security(dx, IDC_OPTION_MAIL_SMTP_SECURITY, kSmtpUpgrade, m_nSmtpSecurity);
    ui::DDX_Text(dx, IDC_OPTION_MAIL_SMTP_USER, m_strSmtpUser);
    ui::DDX_Text(dx, IDC_OPTION_MAIL_SMTP_PASSWORD, m_strSmtpPassword);
    ui::DDX_Text(dx, IDC_OPTION_MAIL_REPLY_ADDRESS, m_strBack);
}

BOOL COptionPageMail::OnInitDialog() {
    m_serverEdit.Attach(m_hWnd, IDC_OPTION_MAIL_SMTP_SERVER, kLongTextBytes);
    m_smtpUserEdit.Attach(m_hWnd, IDC_OPTION_MAIL_SMTP_USER, kLongTextBytes);
    // The password is scrambled in one cipher block, as an account's is.
    m_smtpPasswordEdit.Attach(m_hWnd, IDC_OPTION_MAIL_SMTP_PASSWORD, kPasswordBytes);
    m_backEdit.Attach(m_hWnd, IDC_OPTION_MAIL_REPLY_ADDRESS, kLongTextBytes);
    SetSpinRange(m_hWnd, IDC_OPTION_MAIL_INTERVAL_SPIN, 0, 100);
    CPropertyPage::OnInitDialog();
    m_soundFile.Enable(m_bSound);
    return TRUE;
}

bool COptionPageMail::OnButtonClicked(int id) {
    if (id == IDC_OPTION_MAIL_SOUND) {
        m_soundFile.Enable(IsDlgButtonChecked(IDC_OPTION_MAIL_SOUND));
        return true;
    }
    return m_soundFile.OnButtonClicked(id) || CPropertyPage::OnButtonClicked(id);
}

bool COptionPageMail::OnKillActive() {
    const MailPageCheck check = CheckMailPage(GetDlgItemText(IDC_OPTION_MAIL_INTERVAL),
                                              IsDlgButtonChecked(IDC_OPTION_MAIL_SOUND),
                                              GetDlgItemText(IDC_OPTION_MAIL_SOUND_FILE));
    if (check.badInterval) {
        m_prompter.Notice(kBadInterval);
        SetDlgItemText(IDC_OPTION_MAIL_INTERVAL, "");
        SetFocus(GetDlgItem(IDC_OPTION_MAIL_INTERVAL));
    }
    if (check.soundFileMissing) {
        m_prompter.Notice(kNeedSoundFile);
        CheckDlgButton(IDC_OPTION_MAIL_SOUND, false);
        m_soundFile.Enable(false);
    }
    return check.Leave() && CPropertyPage::OnKillActive();
}

// "上网费用"

COptionDlg3::COptionDlg3(Prompter& prompter)
    : CPropertyPage(IDD_OPTION_FEE), m_prompter(prompter) {}

void COptionDlg3::CopyIn(const MainSettings& s) {
    m_bRecord = s.m_bRecord;
    m_strAheadTime = s.m_strAheadTime;
    m_strDayClear = s.m_strDayClear;
    m_bAutoClear = s.m_bAutoClear;
}

void COptionDlg3::CopyOut(MainSettings& s) const {
    s.m_bRecord = m_bRecord;
    s.m_strAheadTime = m_strAheadTime;
    // The recorder reads the number: the next online period is dated back by the new value.
    s.m_nAheadTime = AtoI(m_strAheadTime);
    s.m_strDayClear = m_strDayClear;
    s.m_bAutoClear = m_bAutoClear;
}

void COptionDlg3::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Check(dx, IDC_OPTION_FEE_RECORD, m_bRecord);
    ui::DDV_MaxChars(dx, IDC_OPTION_FEE_AHEAD_TIME, kAheadTimeChars);
    ui::DDX_Text(dx, IDC_OPTION_FEE_AHEAD_TIME, m_strAheadTime);
    ui::DDV_MaxChars(dx, IDC_OPTION_FEE_DAY_CLEAR, kDayClearChars);
    ui::DDX_Text(dx, IDC_OPTION_FEE_DAY_CLEAR, m_strDayClear);
    ui::DDX_Check(dx, IDC_OPTION_FEE_AUTO_CLEAR, m_bAutoClear);
}

BOOL COptionDlg3::OnInitDialog() {
    SetSpinRange(m_hWnd, IDC_OPTION_FEE_DAY_CLEAR_SPIN, 1, 30);
    CPropertyPage::OnInitDialog();
    EnableRecording(m_bRecord);
    return TRUE;
}

void COptionDlg3::EnableRecording(bool on) {
    EnableDlgItem(IDC_OPTION_FEE_DAY_CLEAR, on);
    EnableDlgItem(IDC_OPTION_FEE_AHEAD_TIME, on);
    EnableDlgItem(IDC_OPTION_FEE_AUTO_CLEAR, on);
    // The settlement day's arrows would still change the disabled field.
    EnableDlgItem(IDC_OPTION_FEE_DAY_CLEAR_SPIN, on);
}

bool COptionDlg3::OnButtonClicked(int id) {
    if (id == IDC_OPTION_FEE_RECORD) {
        EnableRecording(IsDlgButtonChecked(IDC_OPTION_FEE_RECORD));
        return true;
    }
    return CPropertyPage::OnButtonClicked(id);
}

bool COptionDlg3::OnKillActive() {
    if (!ValidSettlementDay(GetDlgItemText(IDC_OPTION_FEE_DAY_CLEAR))) {
        m_prompter.Error(kBadSettlementDay);
        return false;
    }
    return CPropertyPage::OnKillActive();
}

}  // namespace quorlet
