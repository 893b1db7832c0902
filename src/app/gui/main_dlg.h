// CMainDlg: the program's main window (dialog 102). It shows the account list, runs every
// timer, owns the tray icon, and turns buttons, menus, hot keys and tray commands into the
// program's commands. The program ends when this dialog ends.
#pragma once

#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "app/gui/account_list.h"
#include "app/gui/main_services.h"
#include "app/gui/tray_icon.h"
#include "app/tray_tips.h"
#include "dialup/fee_calculator.h"
#include "dialup/online_recorder.h"
#include "dialup/plan_check.h"
#include "mail/check_cycle.h"
#include "mail/filters.h"
#include "mail/gui/account_dialogs.h"
#include "mail/gui/filter_dialogs.h"
#include "mail/gui/preview_dlg.h"
#include "settings/account_record.h"
#include "settings/main_settings.h"
#include "settings/settings_store.h"
#include "ui/dialog.h"
#include "ui/gdi.h"
#include "ui/hover_button.h"
#include "ui/ui_task_queue.h"

namespace quorlet {

// The tray icon's callback message.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 10;

// The main window's timers.
enum MainTimer : UINT_PTR {
    kTimerAutoCheck = 0,
    kTimerBlink = 1,
    kTimerHide = 2,
    kTimerCheckEnd = 3,
    kTimerWatchLine = 5,
    kTimerOnlineTime = 6,
    kTimerPlan = 7,
};

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
    // Windows is ending the session: saves without asking.
    void SaveAtSessionEnd();

    // State shared with the check cycle and read by tests.
    const MainSettings& Settings() const { return m_settings; }
    const AccountTable& Accounts() const { return m_accounts; }
    CTrayIcon& TrayIcon() { return m_trayIcon; }
    bool AutoMode() const { return m_bAutoMode; }
    bool TrayActive() const { return m_bTrayActive; }
    bool ListVisible() const { return m_bListVisible; }
    bool PlanOn() const { return m_plan.m_bPlanOn; }
    OnlineRecorder& Recorder() { return m_recorder; }
    const FilterLists& Filters() const { return m_filterLists; }
    CPreviewDlg& Preview() { return m_preview; }
    CCheckCycle& CheckCycle() { return m_check; }

    // Busy: a check or a deletion of filtered mail runs. Set when one starts and cleared when its
    // end reaches the interface thread; the check cycle keeps its own flag for its threads.
    std::atomic<bool> m_bChecking{false};
    std::atomic<bool> m_bNewMail{false};       // set by the check cycle when it found new mail
    std::atomic<bool> m_bHaveFiltered{false};  // set by the check cycle when filters hit

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
    // Start-up steps.
    void LoadTrayResources();
    void EnterStartMode();
    void AddTrayIcon();
    void FillAccountList();
    void StartTimers();
    void IncludeAllAccounts();
    void PlaceSkinnedButtons();
    void InsertAccountRow(int row);
    void SaveEverything();
    void ReleaseSkin();

    // Commands and timers carried out here.
    bool OnMouseMessage(UINT message, LPARAM lParam);
    void ToggleCheckMode();
    void HideToTray();
    void OpenWindow();
    void ShowContextMenu(POINT screenPoint);
    void ShowIpAddresses();
    void ShowHelp();
    void ToggleList();
    void TogglePlan();
    void StopBlinkAndStartMailProgram();
    void ToggleAccount(int row);
    void BlinkTrayIcon();
    void NotifyCheckEnd();
    void WatchLine();
    void ShowOnlineTime();
    void ShowModeIcon();
    void SetAutoCheckTimer(int minutes);

    // Commands carried out by the program's other windows and subsystems.
    void AddAccount();
    void ModifyAccounts();
    void EditOptions();
    void OpenPreview();
    void StopCheck();
    void StartCheck();
    void OpenCompose();
    void ShowAbout();
    void EditAddressList();
    void EditSubjectList();
    // Runs a list dialog over one filter list and its "禁止" switch; after OK, takes both over and
    // saves the files with `save`. False when the dialog was cancelled.
    using SaveEditedList = void (*)(const FilterFiles&, const FilterLists&, std::size_t);
    bool EditFilterList(CFilterListDlg& dlg, std::vector<std::string>& entries, bool& bDisable,
                        SaveEditedList save);
    void EditLengthFilter();
    void StartMailProgram();
    void ShowOnlineLog();
    void ShowFeeSettings();
    void OnDialCommand();
    void EditPlans();
    void LoadFilterLists();
    void SaveFilterLists();
    void StartDeletingFilteredMail();

    // The check cycle's reports (worker threads) and what they do on the interface thread.
    void OnRowImage(int row, RowImage image) override;
    void OnRowResult(int row, const std::string& count, const std::string& size) override;
    void OnCheckFinished(bool haveMail, bool haveFiltered) override;
    void OnDeletionFinished() override;
    void ShowRowImage(int row, int image);
    void ShowCheckIdle();
    void RebuildAccountList();

    MainServices m_services;
    SettingsStore m_store;
    MainSettings m_settings;
    AccountTable m_accounts;
    FeeCalculator m_fees;
    OnlineRecorder m_recorder;
    PlanChecker m_plan;

    bool m_bAutoMode = false;
    bool m_bTrayActive = false;
    bool m_bListVisible = true;
    bool m_bBlinkPhase = false;
    bool m_bDragging = false;
    POINT m_ptGrab{0, 0};

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
    bool m_bEditingAccounts = false;  // the change dialog is open: checks wait for it
    bool m_bCheckWaiting = false;     // a check was asked for meanwhile
    ui::CUiTaskQueue m_reports;
    CCheckCycle m_check;
};

}  // namespace quorlet
