// The main window's command table: every command of its buttons, the context menu, the tray menu
// and the hot keys, with the member that carries it out. The rows are grouped by the file that
// holds those members; the window's own few commands follow the table.
#include "app/gui/main_dlg.h"
#include "app/main_menus.h"
#include "app_ids.h"
#include "dialup/dial_state.h"
#include "resource.h"
#include "ui/menu.h"

namespace quorlet {

std::span<const CMainDlg::CommandRow> CMainDlg::Commands() {
    static constexpr CommandRow kCommands[] = {
        // The window itself (here and main_dlg_tray.cpp)
        {IDC_HIDE, &CMainDlg::HideToTray},               // button "-"
        {IDC_CLOSE, &CMainDlg::CloseByButton},           // button "X"
        {IDC_MENU, &CMainDlg::ShowContextMenuAtCursor},  // button "S"
        {ID_OPEN_WINDOW, &CMainDlg::OpenWindow},         // tray
        {ID_EXIT, &CMainDlg::ExitByCommand},             // menu, tray
        // Mail watch (main_dlg_mail.cpp)
        {IDC_ADD_ACCOUNT, &CMainDlg::AddAccount},          // button
        {IDC_MODIFY_ACCOUNTS, &CMainDlg::ModifyAccounts},  // button
        {IDC_MODE, &CMainDlg::ToggleCheckMode},            // button, tray
        {IDC_CHECK, &CMainDlg::StartCheck},                // button, tray
        {IDC_STOP_CHECK, &CMainDlg::StopCheck},            // button
        {IDC_PREVIEW, &CMainDlg::OpenPreview},             // button; posted after a check
        {ID_TOGGLE_LIST, &CMainDlg::ToggleList},           // menu, F6
        {ID_FILTER_ADDRESS, &CMainDlg::EditAddressList},   // menu, F2
        {ID_FILTER_SUBJECT, &CMainDlg::EditSubjectList},   // menu, F3
        {ID_FILTER_LENGTH, &CMainDlg::EditLengthFilter},   // menu, F4
        // Sending (main_dlg_send.cpp)
        {IDC_COMPOSE, &CMainDlg::OpenCompose},                            // button, tray
        {ID_MAIL_PROGRAM, &CMainDlg::StartMailProgram},                   // menu, F5
        {ID_TRAY_MAIL_PROGRAM, &CMainDlg::StopBlinkAndStartMailProgram},  // tray
        // Dial-up and accounting (main_dlg_dialup.cpp)
        {ID_ONLINE_LOG, &CMainDlg::ShowOnlineLog},      // menu, F7
        {ID_FEE_SETTINGS, &CMainDlg::ShowFeeSettings},  // menu, F8
        {ID_DIAL, &CMainDlg::OnDialCommand},            // menu, tray, F9
        {ID_ONLINE_PLAN, &CMainDlg::EditPlans},         // menu, F11
        {ID_PLAN_ON, &CMainDlg::TogglePlan},            // menu, tray
        // Options and information (main_dlg_options.cpp)
        {IDC_OPTIONS, &CMainDlg::EditOptions},          // button
        {ID_ABOUT, &CMainDlg::ShowAbout},               // menu
        {ID_IP_ADDRESSES, &CMainDlg::ShowIpAddresses},  // menu
        {ID_HELP, &CMainDlg::ShowHelp},                 // menu
    };
    return kCommands;
}

bool CMainDlg::OnButtonClicked(int id) {
    for (const CommandRow& row : Commands()) {
        if (row.id == id) {
            (this->*row.handler)();
            return true;
        }
    }
    return CDialog::OnButtonClicked(id);
}

void CMainDlg::CloseByButton() {
    PostMessage(WM_CLOSE);  // the close handling asks first
}

void CMainDlg::ExitByCommand() {
    EndAfterConfirmation(IDOK);
}

void CMainDlg::ShowContextMenuAtCursor() {
    POINT cursor;
    GetCursorPos(&cursor);
    ShowContextMenu(cursor);
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

}  // namespace quorlet
