// The main window's commands (buttons, context menu, tray menu, hot keys) and timers.
#include <cstdio>

#include "app/check_end.h"
#include "app/check_mode.h"
#include "app/gui/main_dlg.h"
#include "app/main_menus.h"
#include "app_ids.h"
#include "dialup/dial_state.h"
#include "resource.h"
#include "ui/menu.h"

namespace quorlet {

bool CMainDlg::OnButtonClicked(int id) {
    switch (id) {
        case IDC_ADD_ACCOUNT:
            AddAccount();
            return true;
        case IDC_MODIFY_ACCOUNTS:
            ModifyAccounts();
            return true;
        case IDC_OPTIONS:
            EditOptions();
            return true;
        case IDC_MODE:
            ToggleCheckMode();
            return true;
        case IDC_PREVIEW:
            OpenPreview();
            return true;
        case IDC_STOP_CHECK:
            StopCheck();
            return true;
        case IDC_CHECK:
            StartCheck();
            return true;
        case IDC_COMPOSE:
            OpenCompose();
            return true;
        case IDC_HIDE:
            HideToTray();
            return true;
        case IDC_CLOSE:
            PostMessage(WM_CLOSE);
            return true;
        case IDC_MENU: {
            POINT cursor;
            GetCursorPos(&cursor);
            ShowContextMenu(cursor);
            return true;
        }
        case ID_OPEN_WINDOW:
            OpenWindow();
            return true;
        case ID_EXIT:
            if (ConfirmExit()) {
                OnOK();
            }
            return true;
        case ID_ABOUT:
            ShowAbout();
            return true;
        case ID_IP_ADDRESSES:
            ShowIpAddresses();
            return true;
        case ID_FILTER_ADDRESS:
            EditAddressList();
            return true;
        case ID_FILTER_SUBJECT:
            EditSubjectList();
            return true;
        case ID_FILTER_LENGTH:
            EditLengthFilter();
            return true;
        case ID_MAIL_PROGRAM:
            StartMailProgram();
            return true;
        case ID_TRAY_MAIL_PROGRAM:
            StopBlinkAndStartMailProgram();
            return true;
        case ID_TOGGLE_LIST:
            ToggleList();
            return true;
        case ID_ONLINE_LOG:
            ShowOnlineLog();
            return true;
        case ID_FEE_SETTINGS:
            ShowFeeSettings();
            return true;
        case ID_DIAL:
            OnDialCommand();
            return true;
        case ID_ONLINE_PLAN:
            EditPlans();
            return true;
        case ID_PLAN_ON:
            TogglePlan();
            return true;
        case ID_HELP:
            ShowHelp();
            return true;
        default:
            return CDialog::OnButtonClicked(id);
    }
}

void CMainDlg::OnTimer(UINT_PTR id) {
    switch (id) {
        case kTimerAutoCheck:
            KillTimer(m_hWnd, kTimerAutoCheck);
            KillTimer(m_hWnd, kTimerBlink);
            StartCheck();
            break;
        case kTimerBlink:
            BlinkTrayIcon();
            break;
        case kTimerHide:
            KillTimer(m_hWnd, kTimerHide);
            ShowWindow(SW_HIDE);
            break;
        case kTimerCheckEnd:
            KillTimer(m_hWnd, kTimerCheckEnd);
            NotifyCheckEnd();
            break;
        case kTimerWatchLine:
            WatchLine();
            break;
        case kTimerOnlineTime:
            ShowOnlineTime();
            m_plan.CheckPlan();
            break;
        case kTimerPlan:
            m_plan.CheckPlan();
            break;
        default:
            break;
    }
}

void CMainDlg::SetAutoCheckTimer(int minutes) {
    SetTimer(m_hWnd, kTimerAutoCheck, IntervalMilliseconds(minutes), nullptr);
}

void CMainDlg::ShowModeIcon() {
    m_trayIcon.SetIcon(m_bAutoMode ? m_hIconAuto : m_hIconManual);
    m_trayIcon.SetTip(m_tips.ModeTip(m_bAutoMode));
}

void CMainDlg::ToggleCheckMode() {
    const ModeToggle toggle = ToggleMode(m_bAutoMode, m_settings.m_strTimeInterval);
    if (m_bAutoMode) {
        KillTimer(m_hWnd, kTimerAutoCheck);
        KillTimer(m_hWnd, kTimerBlink);
    } else if (toggle.showMissingMessage) {
        m_services.prompter.Notice(kIntervalMissingMessage);
    } else if (toggle.autoMode) {
        SetAutoCheckTimer(*ValidInterval(m_settings.m_strTimeInterval));
    }
    if (toggle.autoMode != m_bAutoMode) {
        m_bAutoMode = toggle.autoMode;
        SetDlgItemText(IDC_MODE, m_bAutoMode ? kModeButtonInAuto : kModeButtonToManual);
        if (!m_bChecking) {
            ShowModeIcon();
        }
    }
    m_trayIcon.m_bMode = m_bAutoMode;
}

void CMainDlg::HideToTray() {
    m_bTrayActive = true;
    // A hidden window must not keep the mouse (the "-" button holds it while hovered), or
    // the tray menu could not take it.
    if (GetCapture() != nullptr && GetAncestor(GetCapture(), GA_ROOT) == m_hWnd) {
        ReleaseCapture();
    }
    ShowWindow(SW_HIDE);
}

void CMainDlg::OpenWindow() {
    m_bTrayActive = false;
    KillTimer(m_hWnd, kTimerBlink);
    if (!m_bChecking) {
        ShowModeIcon();
    }
    ShowWindow(SW_SHOW);
}

void CMainDlg::ShowContextMenu(POINT screenPoint) {
    MenuState state;
    state.listVisible = m_bListVisible;
    state.online = TheDialState().bOnline;
    state.planOn = m_plan.m_bPlanOn;
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry& entry : ContextMenuEntries(state)) {
        ui::AppendMenuItem(menu, {entry.id, entry.text, entry.checked, entry.grayed, false});
    }
    SetForegroundWindow(m_hWnd);
    ui::TrackMenu(menu, screenPoint, m_hWnd);
    DestroyMenu(menu);
}

void CMainDlg::ShowIpAddresses() {
    const auto host = m_services.net.LocalHostName();
    if (!host) {
        return;
    }
    for (const auto& address : m_services.net.ResolveIPv4(*host)) {
        char text[64];
        std::snprintf(text, sizeof text, "当前IP地址: %u.%u.%u.%u", address[0], address[1],
                      address[2], address[3]);
        m_services.prompter.Information(text);
    }
}

void CMainDlg::ShowHelp() {
    std::string folder = m_services.fileSystem.CurrentDirectory();
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    m_services.shell.Open(folder + "Quorlet.chm");  // failures are not reported
}

void CMainDlg::ToggleList() {
    ::ShowWindow(GetDlgItem(IDC_ACCOUNT_LIST), m_bListVisible ? SW_HIDE : SW_SHOW);
    m_bListVisible = !m_bListVisible;
}

void CMainDlg::TogglePlan() {
    m_plan.TogglePlan();
    m_trayIcon.m_bPlan = m_plan.m_bPlanOn;
}

void CMainDlg::StopBlinkAndStartMailProgram() {
    KillTimer(m_hWnd, kTimerBlink);
    if (!m_bChecking) {
        ShowModeIcon();
    }
    StartMailProgram();
}

void CMainDlg::ToggleAccount(int row) {
    if (row < 0 || row >= static_cast<int>(m_accounts.size())) {
        return;
    }
    AccountRecord& account = m_accounts[static_cast<std::size_t>(row)];
    account.m_bEnabled = !account.m_bEnabled;
    m_list.List().SetStateImage(row, account.m_bEnabled ? 2 : 1);
    // A running check reads the flag when it reaches the account.
    m_check.SetAccountEnabled(static_cast<std::size_t>(row), account.m_bEnabled);
}

void CMainDlg::BlinkTrayIcon() {
    m_trayIcon.SetIcon(m_bBlinkPhase ? m_hIconMailDim : m_hIconMail);
    m_bBlinkPhase = !m_bBlinkPhase;
}

void CMainDlg::NotifyCheckEnd() {
    CheckEndState state;
    state.newMail = m_bNewMail.exchange(false);
    state.filteredMail = m_bHaveFiltered.exchange(false);
    state.listVisible = m_bListVisible;
    state.windowVisible = IsWindowVisible();
    state.autoMode = m_bAutoMode;
    const CheckEndActions actions = PlanCheckEnd(state, m_settings);

    if (actions.showList) {
        ::ShowWindow(GetDlgItem(IDC_ACCOUNT_LIST), SW_SHOW);
        m_bListVisible = true;
    }
    if (actions.startBlink) {
        m_bBlinkPhase = false;
        SetTimer(m_hWnd, kTimerBlink, 500, nullptr);
        // The icon blinks; the tip no longer says that a check is running.
        m_trayIcon.SetTip(m_tips.ModeTip(m_bAutoMode));
    }
    if (actions.showModeIcon) {
        ShowModeIcon();
    }
    if (actions.playSound) {
        m_services.sound.PlayFileAsync(m_settings.m_strSoundFile);
    }
    if (actions.popUpWindow) {
        SetForegroundWindow(m_hWnd);
        ShowWindow(SW_SHOW);
    }
    if (actions.startMailProgram) {
        StartMailProgram();
    }
    if (actions.rearmMinutes) {
        SetAutoCheckTimer(*actions.rearmMinutes);
    }
    if (actions.openPreview) {
        PostMessage(WM_COMMAND, IDC_PREVIEW);
    }
    if (actions.askDeleteFiltered &&
        m_services.prompter.AskYesNo(kDeleteFilteredQuestion, kTitleQuestion,
                                     MessageIcon::Question)) {
        StartDeletingFilteredMail();
    }
}

void CMainDlg::WatchLine() {
    if (m_recorder.WatchLine() == OnlineRecorder::LineChange::PeriodEnded) {
        m_tips.ClearSuffix();
        m_trayIcon.SetTip(m_tips.ModeTip(m_bAutoMode));
    }
}

void CMainDlg::ShowOnlineTime() {
    const std::optional<std::string> suffix = m_recorder.ShowOnlineTime();
    if (!suffix) {
        return;
    }
    if (m_bChecking) {
        m_tips.SetOnlineSuffix(*suffix, true);
        m_trayIcon.SetTip(m_tips.BusyTip());
    } else {
        m_tips.SetOnlineSuffix(*suffix, false);
        m_trayIcon.SetTip(m_tips.ModeTip(m_bAutoMode));
    }
}

// Commands carried out by the program's other windows and subsystems. Each is reached from
// every place the command table names; the window or step it opens is built with its subsystem.

void CMainDlg::EditOptions() {}       // the options sheet "设置" (214, 134, 215)
void CMainDlg::OpenPreview() {}       // the mail preview (156)
void CMainDlg::OpenCompose() {}       // the compose window (191)
void CMainDlg::ShowAbout() {}         // the About box (138)
void CMainDlg::StartMailProgram() {}  // starts the system mail program
void CMainDlg::ShowOnlineLog() {}     // the online log (206)
void CMainDlg::ShowFeeSettings() {}   // the fee settings (213)
void CMainDlg::OnDialCommand() {}     // the hang-up question or the dial-up window (216)
void CMainDlg::EditPlans() {}         // the online plan sheet (217, 218)

}  // namespace quorlet
