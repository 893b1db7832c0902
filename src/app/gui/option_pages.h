// The options sheet "设置" and its three pages. Each page keeps its own copy of the settings it
// shows: the main window copies the settings in before each showing and takes them back only
// when the sheet ends with OK. The checks a page makes when it is left are the plain functions
// of app/option_rules.h; the only effect that happens at once is the start-with-Windows value.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/sound.h"
#include "settings/main_settings.h"
#include "ui/byte_limited_edit.h"
#include "ui/property_sheet.h"
#include "ui/sound_file_field.h"

namespace quorlet {

inline constexpr const char* kOptionsTitle = "设置";

// "常规选项"
class COptionPageGeneral : public ui::CPropertyPage {
public:
    COptionPageGeneral(Registry& registry, const FileSystem& fileSystem, Prompter& prompter);

    void CopyIn(const MainSettings& settings);
    void CopyOut(MainSettings& settings) const;

    bool m_bAutoLoad = false;
    bool m_bHide = false;
    bool m_bAutoStart = false;
    bool m_bPasswordOn = false;
    std::string m_strPassword;
    bool m_bAutoCheck = false;

protected:
    BOOL OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    bool OnKillActive() override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    Registry& m_registry;
    const FileSystem& m_fileSystem;
    Prompter& m_prompter;
    ui::CByteLimitedEdit m_passwordEdit;
};

// "邮件检测"
class COptionPageMail : public ui::CPropertyPage {
public:
    COptionPageMail(Prompter& prompter, Sound& sound);

    void CopyIn(const MainSettings& settings);
    void CopyOut(MainSettings& settings) const;

    std::string m_strInterval;
    std::string m_strSoundFile;
    bool m_bSound = false;
    bool m_bHint = false;
    bool m_bMailp = false;
    int m_iRadio = 0;  // 1 = list the filtered mail, 0 = delete it
    std::string m_strServer;
    MailSecurity m_nSmtpSecurity = MailSecurity::None;
    std::string m_strSmtpUser;  // empty: the server is not logged in to
    std::string m_strSmtpPassword;
    std::string m_strBack;

protected:
    BOOL OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    bool OnKillActive() override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    Prompter& m_prompter;
    ui::CSoundFileField m_soundFile;
    ui::CByteLimitedEdit m_serverEdit;
    ui::CByteLimitedEdit m_smtpUserEdit;
    ui::CByteLimitedEdit m_smtpPasswordEdit;
    ui::CByteLimitedEdit m_backEdit;
};

// "上网费用"
class COptionDlg3 : public ui::CPropertyPage {
public:
    explicit COptionDlg3(Prompter& prompter);

    void CopyIn(const MainSettings& settings);
    void CopyOut(MainSettings& settings) const;

    bool m_bRecord = false;
    std::string m_strAheadTime;
    std::string m_strDayClear;
    bool m_bAutoClear = false;

protected:
    BOOL OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    bool OnKillActive() override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    void EnableRecording(bool on);

    Prompter& m_prompter;
};

// The sheet, created for each showing.
class CPsh : public ui::CPropertySheet {
public:
    CPsh() : CPropertySheet(kOptionsTitle) {}
};

}  // namespace quorlet
