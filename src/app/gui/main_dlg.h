// CMainDlg: the program's main window (dialog 102). It shows the account list, runs every
// timer, owns the tray icon and every other dialog, and turns buttons, menus, hot keys and tray
// commands into the program's commands. The program ends when this dialog ends.
//
// One class, its files cut by what they serve:
//   main_dlg.cpp          construction, the start-up sequence, the exit paths, the window's own
//                         messages (painting, keys, mouse, tray callback) and the timer dispatch
//   main_dlg_tray.cpp     the notification area: hiding and opening the window, the tray icon's
//                         picture, tip, blink and copies of this window's state
//   main_dlg_commands.cpp the command table
//   main_dlg_mail.cpp     mail watch: accounts, the account list, filters, the check and its
//                         mode, the check cycle's reports, the end of a check, the preview
//   main_dlg_dialup.cpp   dial-up and accounting: the line watch, online time, plans, and the
//                         dial-up, log, fee and plan commands
//   main_dlg_send.cpp     sending: the compose window and the system mail program
//   main_dlg_options.cpp  options, About, help and the IP addresses
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "app/gui/account_list.h"
#include "app/gui/main_services.h"
#include "app/gui/option_pages.h"
#include "app/gui/tray_icon.h"
#include "app/tray_tips.h"
#include "dialup/fee_calculator.h"
#include "dialup/gui/dial_dlg.h"
#include "dialup/online_recorder.h"
#include "dialup/plan_check.h"
#include "mail/check_cycle.h"
#include "mail/filters.h"
#include "mail/gui/account_dialogs.h"
#include "mail/gui/filter_dialogs.h"
#include "mail/gui/preview_dlg.h"
#include "send/gui/send_dlg.h"
#include "settings/account_record.h"
#include "settings/main_settings.h"
#include "settings/settings_store.h"
#include "ui/dialog.h"
#include "ui/gdi.h"
#include "ui/hover_button.h"
#include "ui/ui_task_queue.h"

namespace quorlet {

namespace testing {
struct MainDlgProbe;
}

// The window's title; a second start of the program finds the running one by it.
inline constexpr const char* kMainWindowTitle = "鸥信通";

// The tray icon's callback message.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 10;

// The main window's timers.
enum MainTimer : UINT_PTR {
    kTimerAutoCheck = 0,  // the check interval (minutes x 60000 ms)
    kTimerBlink = 1,
    kTimerHide = 2,
    kTimerCheckEnd = 3,
    kTimerWatchLine = 5,
    kTimerOnlineTime = 6,
    kTimerPlan = 7,
    kTimerTrayRetry = 8,  // only while the tray icon is missing
};

// The periods of the other timers, in milliseconds.
inline constexpr UINT kBlinkPeriod = 500;         // the two new-mail icons take turns
inline constexpr UINT kHideDelay = 500;           // "Hide": the window goes after start
inline constexpr UINT kCheckEndDelay = 100;       // the notification after a check
inline constexpr UINT kWatchLinePeriod = 1000;    // the line watch ("Record")
inline constexpr UINT kOnlineTimePeriod = 30000;  // the online time in the tip ("Record")
inline constexpr UINT kPlanPeriod = 120000;       // the plan check
inline constexpr UINT kTrayRetryPeriod = 2000;    // another try for a tray icon not yet added

// The registered message "Quorlet comm": the dial-up window's news that its connection is up.
UINT QuorletCommMessage();

// The check cycle's worker threads report to the window through CheckObserver; each report is
// carried to the interface thread and applied there.
class CMainDlg : public ui::CDialog, private CheckObserver {
public:
    explicit CMainDlg(const MainServices& services);
    ~CMainDlg() override;

    // The exit confirmation of every exit path: true when the program may end, and has then
    // saved everything; false when the user declined.
    bool ConfirmExit();
    // Windows asks whether the session may end: saves without asking. The skin goes only when
    // the session really ends (WM_ENDSESSION), since the end may still be called off.
    void SaveAtSessionEnd();

    // One row of the command table: a command and the member that carries it out.
    struct CommandRow {
        int id;
        void (CMainDlg::*handler)();
    };
    // Every command of the buttons, the context menu, the tray menu and the hot keys.
    static std::span<const CommandRow> Commands();

    // State shared with the check cycle and read by tests.
    const MainSettings& Settings() const { return m_settings; }
    const AccountTable& Accounts() const { return m_accounts; }
    CTrayIcon& TrayIcon() { return m_trayIcon; }
    bool AutoMode() const { return m_bAutoMode; }
    bool TrayActive() const { return m_bTrayActive; }
    bool ListVisible() const { return m_bListVisible; }
    bool Busy() const { return m_bChecking; }
    bool PlanOn() const { return m_plan.m_bPlanOn; }
    OnlineRecorder& Recorder() { return m_recorder; }
    const FilterLists& Filters() const { return m_filterLists; }
    CPreviewDlg& Preview() { return m_preview; }
    CCheckCycle& CheckCycle() { return m_check; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnButtonClicked(int id) override;
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;
    void OnTimer(UINT_PTR id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool PreTranslateMessage(MSG& message) override;
    void DoDataExchange(ui::CDataExchange& dx) override;
    void OnDestroy() override;

private:
    friend struct testing::MainDlgProbe;  // window tests stage the states a check leaves behind

    // Start-up and exit (main_dlg.cpp).
    void LoadTrayResources();
    void EnterStartMode();
    void AddTrayIcon();
    void RetryTrayIconWhileMissing();
    void FillAccountList();
    void StartTimers();
    void IncludeAllAccounts();
    void PlaceSkinnedButtons();
    // Every way out ends here: the window ends with result only when the exit is confirmed.
    void EndAfterConfirmation(INT_PTR result);
    void SaveEverything();
    void ReleaseSkin();
    bool OnMouseMessage(UINT message, LPARAM lParam);

    // The window's own commands (main_dlg_commands.cpp) and the notification area
    // (main_dlg_tray.cpp).
    void CloseByButton();
    void ExitByCommand();
    void ShowContextMenuAtCursor();
    void ShowContextMenu(POINT screenPoint);
    void HideToTray();
    void OpenWindow();
    HICON ModeIcon() const;
    void ShowModeIcon();
    void ShowBusyIcon();
    void StartBlink();
    void BlinkTrayIcon();
    // The tray menu's copies of this window's state. Every change of the mode, the busy flag, the
    // compose window or the plan switch ends here, so that the copies cannot drift apart.
    void CopyStateToTray();

    // Mail watch (main_dlg_mail.cpp).
    void AddAccount();
    void ModifyAccounts();
    void InsertAccountRow(int row);
    void RebuildAccountList();
    void ToggleAccount(int row);
    void ToggleList();
    void ShowList();
    void LoadFilterLists();
    void SaveFilterLists();
    void EditAddressList();
    void EditSubjectList();
    // Runs a list dialog over one filter list and its "禁止" switch; after OK, takes both over and
    // saves the files with `save`. False when the dialog was cancelled.
    using SaveEditedList = void (*)(const FilterFiles&, const FilterLists&, std::size_t);
    bool EditFilterList(CFilterListDlg& dlg, std::vector<std::string>& entries, bool& bDisable,
                        SaveEditedList save);
    void EditLengthFilter();
    void ToggleCheckMode();
    void SetAutoCheckTimer(int minutes);
    void RearmAutoCheck();  // in auto mode: timer 0 again with the interval
    void StartCheck();
    void StopCheck();
    void StartDeletingFilteredMail();
    void ShowCheckIdle();
    void ShowRowImage(int row, RowImage image);
    void NotifyCheckEnd();
    void OpenPreview();
    // The check cycle's reports, called on its worker threads and applied on this one.
    void OnRowImage(int row, RowImage image) override;
    void OnRowResult(int row, const std::string& count, const std::string& size) override;
    void OnCheckFinished(bool haveMail, bool haveFiltered) override;
    void OnDeletionFinished() override;

    // Dial-up and accounting (main_dlg_dialup.cpp).
    void WatchLine();
    void ShowOnlineTime();
    void CheckPlan();
    void TogglePlan();
    void ShowOnlineLog();
    void ShowFeeSettings();
    void OnDialCommand();
    void EditPlans();

    // Sending (main_dlg_send.cpp).
    void OpenCompose();
    void StartMailProgram();
    void StopBlinkAndStartMailProgram();

    // Options and information (main_dlg_options.cpp).
    void EditOptions();
    void ShowAbout();
    void ShowHelp();
    void ShowIpAddresses();

    MainServices m_services;
    SettingsStore m_store;
    MainSettings m_settings;
    AccountTable m_accounts;
    // What the start-up has read. Only these are written back: a part that was never read holds
    // defaults, which would be saved over the user's data.
    bool m_bSettingsLoaded = false;     // settings, accounts and the startup password
    bool m_bFilterListsLoaded = false;  // the address and subject lists
    FeeCalculator m_fees;
    OnlineRecorder m_recorder;
    PlanChecker m_plan;

    // The window's state. Only the interface thread touches it: the check cycle's workers report
    // through m_reports, whose tasks run here.
    bool m_bAutoMode = false;    // auto-check mode: timer 0 starts the checks
    bool m_bTrayActive = false;  // hidden to the tray: only then do clicks on the icon count
    bool m_bListVisible = true;  // the account list is shown (F6 hides it)
    bool m_bBlinkPhase = false;  // which new-mail icon the blink shows next
    bool m_bDragging = false;    // the top band is being dragged ...
    POINT m_ptGrab{0, 0};        // ... from this point (client coordinates)
    // Busy: a check or a deletion of filtered mail runs, from its start until its end reaches
    // this thread (the check cycle keeps its own flag for its threads). No check starts and the
    // accounts stay as they are meanwhile; the tray shows the check.
    bool m_bChecking = false;
    bool m_bNewMail = false;          // the last check found mail; timer 3 takes it
    bool m_bHaveFiltered = false;     // ... and filters marked some of it; timer 3 takes it
    bool m_bEditingAccounts = false;  // the change dialog is open: checks wait for it
    bool m_bCheckWaiting = false;     // a check was asked for meanwhile
    bool m_bComposeOpen = false;      // the compose window is open
    bool m_bOpen = false;             // the preview window is open

    HICON m_hIcon = nullptr;
    HICON m_hIconAuto = nullptr;
    HICON m_hIconManual = nullptr;
    HICON m_hIconChecking = nullptr;
    HICON m_hIconMail = nullptr;
    HICON m_hIconMailDim = nullptr;
    TrayTips m_tips;
    CTrayIcon m_trayIcon;

    ui::Bitmap m_skin;
    int m_nSkinWidth = 0;
    int m_nSkinHeight = 0;
    CAccountListCtrl m_list;
    std::array<ui::CHoverButton, 11> m_buttons;

    // The options pages, kept between showings of the sheet.
    COptionPageGeneral m_optionGeneral;
    COptionPageMail m_optionMail;
    COptionDlg3 m_optionFees;

    // The compose window, kept between showings.
    CSendDlg m_compose{m_services.net, m_services.clock, m_services.prompter};

    // The dial-up window, made once and opened by the dial command.
    CDialDlg m_dialDlg{m_services.remoteAccess, m_services.prompter, TheDialState()};

    // Mail watch: the account and filter dialogs, the working filter lists, the preview's object
    // with the mail table, and the check cycle (last: its threads end before the rest goes).
    CNewAccountDlg m_newAccountDlg;
    CModifyAccountDlg m_modifyAccountDlg;
    CAddressDlg m_addressDlg;
    CSubjectDlg m_subjectDlg;
    CLengthDlg m_lengthDlg;
    FilterFiles m_filterFiles;
    FilterLists m_filterLists;
    CPreviewDlg m_preview;
    ui::CUiTaskQueue m_reports;
    CCheckCycle m_check;
};

}  // namespace quorlet
