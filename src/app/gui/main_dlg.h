// CMainDlg: the program's main window (dialog 102). It shows the account list, runs every
// timer, owns the tray icon, and turns buttons, menus, hot keys and tray commands into the
// program's commands. The program ends when this dialog ends.
#pragma once

#include <array>
#include <atomic>
#include <string>

#include "app/gui/account_list.h"
#include "app/gui/main_services.h"
#include "app/gui/tray_icon.h"
#include "app/main_settings.h"
#include "app/settings_store.h"
#include "app/tray_tips.h"
#include "dialup/fee_calculator.h"
#include "dialup/online_recorder.h"
#include "dialup/plan_check.h"
#include "mail/account_record.h"
#include "ui/dialog.h"
#include "ui/gdi.h"
#include "ui/hover_button.h"

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

class CMainDlg : public ui::CDialog {
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

    std::atomic<bool> m_bChecking{false};      // busy: a check or a deletion of filtered mail runs
    std::atomic<bool> m_bNewMail{false};       // set by the check cycle when it found new mail
    std::atomic<bool> m_bHaveFiltered{false};  // set by the check cycle when filters hit

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
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
    void EditLengthFilter();
    void StartMailProgram();
    void ShowOnlineLog();
    void ShowFeeSettings();
    void OnDialCommand();
    void EditPlans();
    void LoadFilterLists();
    void SaveFilterLists();
    void StartDeletingFilteredMail();

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
};

}  // namespace quorlet
