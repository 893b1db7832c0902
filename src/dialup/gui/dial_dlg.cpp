#include "dialup/gui/dial_dlg.h"

#include "dialup/dial_texts.h"
#include "dialup_ids.h"
#include "resource.h"
#include "ui/controls.h"

namespace quorlet {

namespace {

constexpr UINT_PTR kRedialTimer = 1;
constexpr DWORD kRedialPause = 2000;  // after hanging up, before dialling again
constexpr int kIntervalDigits = 3;

// The main window registers the same name at its start.
UINT QuorletComm() {
    static const UINT message = RegisterWindowMessageW(L"Quorlet comm");
    return message;
}

}  // namespace

CDialDlg::CDialDlg(RemoteAccess& remoteAccess, Prompter& prompter, DialState& dialState)
    : CDialog(IDD_DIAL), m_remoteAccess(remoteAccess), m_prompter(prompter), m_state(dialState) {}

CDialDlg::~CDialDlg() {
    if (m_state.pDialDlg == this) {
        m_state.pDialDlg = nullptr;
    }
}

void CDialDlg::Open(HWND parent) {
    if (m_state.pDialDlg != nullptr) {
        return;
    }
    m_hParent = parent;
    if (Create(parent) && m_hWnd != nullptr) {
        ShowWindow(SW_SHOW);
    }
}

BOOL CDialDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_state.pDialDlg = this;
    m_progress.Reset();
    m_bShowingFailure = false;
    ui::CEdit(GetDlgItem(IDC_DIAL_REDIAL_TIME)).LimitText(kIntervalDigits);
    ResetControls();

    const ui::CComboBox entries(GetDlgItem(IDC_DIAL_CONNECTION));
    const auto names = m_remoteAccess.EnumEntries();
    if (!names || names->empty()) {
        m_prompter.Show(kNoDialUpEntries, "", MessageIcon::Stop, MessageButtons::Ok);
        PostMessage(WM_CLOSE);
        return TRUE;
    }
    for (const std::string& name : *names) {
        entries.AddString(name);
    }
    entries.SetCurSel(0);
    LoadSelected();
    return TRUE;
}

std::string CDialDlg::Entry() const {
    const ui::CComboBox entries(GetDlgItem(IDC_DIAL_CONNECTION));
    const int selected = entries.GetCurSel();
    return selected < 0 ? std::string() : entries.GetLBText(selected);
}

DialSettings CDialDlg::TakeControls() const {
    DialSettings settings;
    settings.m_strUser = GetDlgItemText(IDC_DIAL_USER);
    settings.m_strPassword = GetDlgItemText(IDC_DIAL_PASSWORD);
    settings.m_bSavePassword = IsDlgButtonChecked(IDC_DIAL_SAVE_PASSWORD);
    settings.m_strInterval = GetDlgItemText(IDC_DIAL_REDIAL_TIME);
    return settings;
}

void CDialDlg::LoadSelected() {
    const DialSettings settings = LoadDialSettings(kDialIniPath, Entry());
    SetDlgItemText(IDC_DIAL_USER, settings.m_strUser);
    SetDlgItemText(IDC_DIAL_PASSWORD, settings.m_strPassword);
    CheckDlgButton(IDC_DIAL_SAVE_PASSWORD, settings.m_bSavePassword);
    SetDlgItemText(IDC_DIAL_REDIAL_TIME, settings.m_strInterval);
}

void CDialDlg::SaveSelected() {
    const std::string entry = Entry();
    if (entry.empty()) {
        return;
    }
    const DialSaveResult result =
        SaveEnteredDialSettings(m_prompter, kDialIniPath, entry, TakeControls());
    if (result == DialSaveResult::MissingCredentials || result == DialSaveResult::NotStorable) {
        CheckDlgButton(IDC_DIAL_SAVE_PASSWORD, false);
    }
}

void CDialDlg::Dial() {
    const DialSettings settings = TakeControls();
    EnableIdleControls(false);
    m_state.hConn = 0;
    const unsigned dial = m_progress.Begin();
    if (const unsigned redial = RedialMilliseconds(settings.m_strInterval); redial > 0) {
        SetTimer(m_hWnd, kRedialTimer, redial, nullptr);
    }
    // The service calls this on a thread of its own, possibly after this window has hung up,
    // dialled again or gone: it only posts, to the window it was made for, with the dial's number.
    const HWND window = m_hWnd;
    const auto notifier = [window, dial](unsigned state, unsigned error) {
        ::PostMessageW(window, kDialNotifyMessage, PackDialReport(dial, state), error);
    };
    const unsigned error = StartDial(m_remoteAccess, Entry(), settings, notifier, m_state.hConn);
    if (error != 0) {
        // The redial timer stays: its next tick tries again.
        m_progress.End();
        ResetControls();
        m_bShowingFailure = true;
        m_prompter.Show(DialErrorText(m_remoteAccess, error), kDialFailedTitle, MessageIcon::Stop,
                        MessageButtons::Ok);
        m_bShowingFailure = false;
    }
}

void CDialDlg::Redial() {
    if (m_bShowingFailure) {
        return;
    }
    if (m_progress.CloseRequested()) {
        // The window waits for a report to close; a dial that stopped reporting gets no redial
        // but the close.
        KillTimer(m_hWnd, kRedialTimer);
        m_progress.End();
        HangUpHandle();
        PostMessage(WM_CLOSE);
        return;
    }
    HangUp();
    Sleep(kRedialPause);
    Dial();
}

void CDialDlg::HangUp() {
    if (m_state.hConn == 0) {
        return;
    }
    KillTimer(m_hWnd, kRedialTimer);
    m_progress.End();
    m_state.bOnline = false;
    HangUpHandle();
    ResetControls();
}

void CDialDlg::HangUpHandle() {
    if (m_state.hConn != 0) {
        m_remoteAccess.HangUp(m_state.hConn);
    }
    m_state.hConn = 0;
}

void CDialDlg::OnReport(WPARAM packed, unsigned error) {
    const DialProgress::Outcome outcome = m_progress.OnReport(packed, error);
    if (outcome == DialProgress::Outcome::Ignore) {
        return;
    }
    const unsigned state = ReportedState(packed);
    if (state == RasState::kAuthenticate) {
        KillTimer(m_hWnd, kRedialTimer);
    }
    SetStatus(DialStateText(state));
    switch (outcome) {
        case DialProgress::Outcome::Close:
            HangUpHandle();
            KillTimer(m_hWnd, kRedialTimer);
            PostMessage(WM_CLOSE);
            break;
        case DialProgress::Outcome::Failed: {
            const std::string text =
                error != 0 ? DialErrorText(m_remoteAccess, error) : DialStateText(state);
            HangUpHandle();
            ResetControls();
            SetStatus(text);
            break;
        }
        case DialProgress::Outcome::Connected:
            m_state.bOnline = true;
            ::SendMessageW(m_hParent, QuorletComm(), 0, 0);
            PostMessage(WM_CLOSE);
            break;
        default:
            break;
    }
}

void CDialDlg::OnClose() {
    if (m_progress.Dialing()) {
        SetWindowText(kDisconnectingTitle);
        m_progress.RequestClose();
        return;
    }
    if (!m_state.bOnline) {
        HangUpHandle();  // an attempt that never connected
    }
    SaveSelected();
    EndDialog(IDCANCEL);
}

void CDialDlg::OnCancel() {
    PostMessage(WM_CLOSE);
}

bool CDialDlg::OnButtonClicked(int id) {
    switch (id) {
        case IDC_DIAL_START:
            Dial();
            return true;
        case IDC_DIAL_HANG_UP:
            HangUp();
            return true;
        default:
            return CDialog::OnButtonClicked(id);
    }
}

bool CDialDlg::OnCommand(int id, int code) {
    if (id == IDC_DIAL_CONNECTION && code == CBN_SELCHANGE) {
        LoadSelected();
        return true;
    }
    return false;
}

void CDialDlg::OnTimer(UINT_PTR id) {
    if (id == kRedialTimer) {
        Redial();
    }
}

bool CDialDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kDialNotifyMessage) {
        OnReport(wParam, static_cast<unsigned>(lParam));
        result = 0;
        return true;
    }
    if (message == WM_CLOSE) {
        OnClose();
        result = 0;
        return true;
    }
    return false;
}

void CDialDlg::OnDestroy() {
    KillTimer(m_hWnd, kRedialTimer);
    m_progress.Reset();
    if (m_state.pDialDlg == this) {
        m_state.pDialDlg = nullptr;
    }
}

void CDialDlg::EnableIdleControls(bool idle) {
    // The focus moves to the button that stays usable before the other one is disabled, so that
    // the keys keep working.
    const int usable = idle ? IDC_DIAL_START : IDC_DIAL_HANG_UP;
    EnableDlgItem(usable, true);
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(usable)), TRUE);
    for (int id : {IDC_DIAL_START, IDC_DIAL_CONNECTION, IDC_DIAL_USER, IDC_DIAL_PASSWORD,
                   IDC_DIAL_REDIAL_TIME, IDC_DIAL_SAVE_PASSWORD}) {
        EnableDlgItem(id, idle);
    }
    EnableDlgItem(IDC_DIAL_HANG_UP, !idle);
}

void CDialDlg::ResetControls() {
    EnableIdleControls(true);
    SetStatus(kNotConnected);
}

void CDialDlg::SetStatus(const std::string& text) {
    SetDlgItemText(IDC_DIAL_STATUS, "");
    SetDlgItemText(IDC_DIAL_STATUS, text);
}

}  // namespace quorlet
