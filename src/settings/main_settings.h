// The settings record: every value the program keeps under Software\Quorlet\Main, plus the
// startup password. Defaults are the member initialisers; ResetToDefaults restores them.
#pragma once

#include <string>

#include "settings/mail_security.h"

namespace quorlet {

struct MainSettings {
    std::string m_strTimeInterval = "5";  // auto-check interval in minutes, as entered
    std::string m_strSoundFile;           // played when new mail arrives
    bool m_bAutoLoad = false;             // start with Windows (mirrors the Run value)
    bool m_bSound = false;
    bool m_bHide = false;       // hide the main window after start
    bool m_bAutoStart = false;  // enter auto-check mode at start
    bool m_bHint = false;       // bring up the main window on new mail
    bool m_bMailp = false;      // start the system mail program on new mail
    int m_iRadio = 0;           // filtered mail: 1 = list it, 0 = offer to delete it

    // Filters; the filter dialogs work on these.
    bool m_bAddressDisable = false;
    bool m_bSubjectDisable = false;
    bool m_bAllComp = false;  // whole-subject match
    bool m_bCase = false;     // case-sensitive subject match
    bool m_bLengthDisable = false;
    std::string m_strMailLength;  // size limit in KB, as entered

    std::string m_strServer;                            // SMTP server
    std::string m_strBack;                              // reply address
    MailSecurity m_nSmtpSecurity = MailSecurity::None;  // "SmtpSecurity"
    std::string m_strSmtpUser;      // "SmtpUser": with a name, the server is logged in to
    std::string m_strSmtpPassword;  // "SmtpPassword", stored scrambled as account passwords

    bool m_bRecord = false;         // record online time and compute fees (stored value)
    bool m_bRecordThisRun = false;  // fixed at load: the stored value takes effect next start
    std::string m_strAheadTime = "0";
    int m_nAheadTime = 0;              // seconds each online period is dated back
    double m_dPhoneFee = 0.0;          // accumulated telephone fee, yuan
    double m_dNetFee = 0.0;            // accumulated Internet-access fee, yuan
    std::string m_strDayClear = "20";  // settlement day of the month, as entered

    // Online plans: per-session ("l_c...") and cumulative ("l_t...") limits and actions.
    int m_nSessionTimeLimit = 0;      // "l_cTime", minutes (0 = none)
    int m_nTotalTimeLimit = 0;        // "l_tTime", hours (0 = none)
    double m_dSessionFeeLimit = 0.0;  // "l_cFee", whole yuan (0 = none)
    double m_dTotalFeeLimit = 0.0;    // "l_tFee", whole yuan (0 = none)
    bool m_bSessionHangUp = true;     // "l_cCh": 1 = hang up, 0 = play m_strSessionWav
    bool m_bTotalHangUp = true;       // "l_tCh"
    std::string m_strSessionWav;      // "l_cWav"
    std::string m_strTotalWav;        // "l_tWav"

    bool m_bAutoClear = false;  // clear the accumulated fees on the settlement day
    bool m_bAutoCheck = false;  // check the mailboxes after dialling
    bool m_bNoRound = false;    // "NoRound" = "1": fees are not rounded (never written)

    bool m_bStartupPassword = false;
    std::string m_strStartupPassword;

    void ResetToDefaults() { *this = MainSettings(); }

    int DayClear() const;  // the settlement day as a number
};

}  // namespace quorlet
