// The main window's shell: construction, the start-up sequence, the exit paths, the window's own
// messages and the timer dispatch. The commands are in main_dlg_commands.cpp, the files of the
// subsystems carry them out (see main_dlg.h).
#include "app/gui/main_dlg.h"

#include <windowsx.h>

#include "app/check_mode.h"
#include "app/exit_rules.h"
#include "app/gui/monitor_app.h"
#include "app/gui/password_dlg.h"
#include "app/main_menus.h"
#include "app_ids.h"
#include "dialup/dial_state.h"
#include "resource.h"
#include "ui/data_exchange.h"

namespace quorlet {
namespace {

constexpr int kSkinnedButtons[] = {IDC_ADD_ACCOUNT, IDC_MODIFY_ACCOUNTS, IDC_OPTIONS, IDC_MODE,
                                   IDC_PREVIEW,     IDC_STOP_CHECK,      IDC_CHECK,   IDC_COMPOSE,
                                   IDC_HIDE,        IDC_CLOSE,           IDC_MENU};

// Clicks this close to the top of the window drag it.
constexpr int kDragBandHeight = 25;

constexpr const char* kOnlineBeforeStartMessage = "在上网后运行鸥信通将使之不能正确记录在线时间 !";

HICON LoadAppIcon(int id, int size) {
    return static_cast<HICON>(
        LoadImageW(ui::ResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

}  // namespace

UINT QuorletCommMessage() {
    static const UINT message = RegisterWindowMessageW(L"Quorlet comm");
    return message;
}

CMainDlg::CMainDlg(const MainServices& services)
    : CDialog(IDD_MAIN),
      m_services(services),
      m_store(services.registry, services.prompter, services.fileSystem),
      m_recorder(services.remoteAccess, TheDialState(), services.clock, services.prompter,
                 m_settings, m_fees),
      m_plan(services.remoteAccess, TheDialState(), services.clock, services.sound, m_settings,
             m_fees, m_recorder),
      m_optionGeneral(services.registry, services.fileSystem, services.prompter),
      m_optionMail(services.prompter, services.sound),
      m_optionFees(services.prompter),
      m_newAccountDlg(services.prompter),
      m_modifyAccountDlg(services.prompter),
      m_addressDlg(services.prompter),
      m_subjectDlg(services.prompter),
      m_lengthDlg(services.prompter),
      m_preview(services.prompter, services.net, services.clock, services.charsets),
      m_check(services.net, m_preview.m_mails, *this, services.clock, services.charsets) {
    m_hIcon = LoadIconW(ui::ResourceInstance(), MAKEINTRESOURCEW(IDI_APP));
    QuorletCommMessage();
    m_list.onRowClicked = [this](int row) { ToggleAccount(row); };
}

CMainDlg::~CMainDlg() {
    m_trayIcon.Remove();
    for (HICON icon : {m_hIconAuto, m_hIconManual, m_hIconChecking, m_hIconMail, m_hIconMailDim}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

void CMainDlg::DoDataExchange(ui::CDataExchange& dx) {
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        ui::DDX_Control(dx, kSkinnedButtons[i], m_buttons[i]);
    }
}

BOOL CMainDlg::OnInitDialog() {
    // First, so that a second copy finds this one even while the startup password is asked.
    MarkMainWindow(m_hWnd);
    CDialog::OnInitDialog();
    m_reports.Attach(m_hWnd);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_settings.ResetToDefaults();
    m_accounts.clear();
    LoadTrayResources();

    if (!m_store.Load(m_settings, m_accounts)) {
        return FALSE;  // the window stays up without anything set up, and saves nothing
    }
    m_bSettingsLoaded = true;
    m_fees.m_bRateRounding = !m_settings.m_bNoRound;
    m_store.FindProgramFolder();
    LoadFilterLists();

    if (m_settings.m_bStartupPassword) {
        CPasswordDlg password(m_services.prompter);
        password.m_strPassword = m_settings.m_strStartupPassword;
        if (password.DoModal(m_hWnd) != IDOK) {
            // The rest still runs; the loop then sees the quit before anything is saved.
            PostQuitMessage(0);
        }
    }

    EnterStartMode();
    AddTrayIcon();
    FillAccountList();
    StartTimers();
    IncludeAllAccounts();
    m_list.SetBackground(ui::Bitmap::FromResource(IDB_LIST_BACKGROUND));
    PlaceSkinnedButtons();

    SetWindowText(kMainWindowTitle);
    m_skin = ui::Bitmap::FromResource(IDB_SKIN);
    const SIZE skinSize = m_skin.Size();
    m_nSkinWidth = skinSize.cx;
    m_nSkinHeight = skinSize.cy;

    SetTimer(m_hWnd, kTimerPlan, kPlanPeriod, nullptr);
    return TRUE;
}

void CMainDlg::LoadTrayResources() {
    m_hIconAuto = LoadAppIcon(IDI_TRAY_AUTO, 16);
    m_hIconManual = LoadAppIcon(IDI_TRAY_MANUAL, 16);
    m_hIconMail = LoadAppIcon(IDI_TRAY_MAIL, 16);
    m_hIconMailDim = LoadAppIcon(IDI_TRAY_MAIL_DIM, 16);
    m_hIconChecking = LoadAppIcon(IDI_TRAY_CHECKING, 16);
    m_tips = TrayTips();
}

void CMainDlg::EnterStartMode() {
    const StartMode mode = StartupMode(m_settings.m_bAutoStart, m_settings.m_strTimeInterval);
    if (mode.showRangeMessage) {
        m_services.prompter.Notice(kIntervalRangeMessage);
    }
    m_bAutoMode = mode.autoMode;
    SetDlgItemText(IDC_MODE, m_bAutoMode ? kModeButtonInAuto : kModeButtonInManual);
    CopyStateToTray();
}

void CMainDlg::AddTrayIcon() {
    m_trayIcon.Create(m_hWnd, kTrayCallbackMessage, m_tips.ModeTip(m_bAutoMode), ModeIcon(),
                      IDR_TRAY_MENU);
    RetryTrayIconWhileMissing();
}

// Started by Windows at logon, the program may come before the taskbar, and the add fails.
// "TaskbarCreated" brings the icon when the taskbar announces itself; the timer's tries are
// for a taskbar that was there but did not answer. With "Hide" the icon is the only way back.
void CMainDlg::RetryTrayIconWhileMissing() {
    if (m_trayIcon.IsMissing()) {
        SetTimer(m_hWnd, kTimerTrayRetry, kTrayRetryPeriod, nullptr);
    } else {
        KillTimer(m_hWnd, kTimerTrayRetry);
    }
}

void CMainDlg::FillAccountList() {
    m_list.HookWindow(GetDlgItem(IDC_ACCOUNT_LIST));
    const ui::CListCtrl list = m_list.List();
    HIMAGELIST stateImages =
        ImageList_LoadImageW(ui::ResourceInstance(), MAKEINTRESOURCEW(IDB_STATE_IMAGES), 16, 1,
                             RGB(255, 0, 0), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    HIMAGELIST smallImages =
        ImageList_LoadImageW(ui::ResourceInstance(), MAKEINTRESOURCEW(IDB_SMALL_IMAGES), 16, 1,
                             RGB(252, 2, 252), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    m_list.SetImageLists(stateImages, smallImages);
    list.InsertColumn(0, "账户名", LVCFMT_LEFT, 120);
    list.InsertColumn(1, "POP3服务器", LVCFMT_RIGHT, 100);
    list.InsertColumn(2, "邮件数", LVCFMT_RIGHT, 60);
    list.InsertColumn(3, "大小", LVCFMT_RIGHT, 60);
    for (int row = 0; row < static_cast<int>(m_accounts.size()); ++row) {
        InsertAccountRow(row);
        list.SetStateImage(row, kStateLeftOut);
    }
}

void CMainDlg::StartTimers() {
    if (m_bAutoMode) {
        SetAutoCheckTimer(*ValidInterval(m_settings.m_strTimeInterval));
    }
    if (m_settings.m_bHide) {
        m_bTrayActive = true;
        SetTimer(m_hWnd, kTimerHide, kHideDelay, nullptr);
    } else {
        m_bTrayActive = false;
    }
    if (m_settings.m_bRecordThisRun) {
        SetTimer(m_hWnd, kTimerWatchLine, kWatchLinePeriod, nullptr);
        SetTimer(m_hWnd, kTimerOnlineTime, kOnlineTimePeriod, nullptr);
        if (IsLineConnected(m_services.remoteAccess, m_fees.m_strConnName)) {
            m_services.prompter.Notice(kOnlineBeforeStartMessage);
        }
    }
}

void CMainDlg::IncludeAllAccounts() {
    const ui::CListCtrl list = m_list.List();
    for (int row = 0; row < static_cast<int>(m_accounts.size()); ++row) {
        list.SetStateImage(row, kStateIncluded);
        m_accounts[static_cast<std::size_t>(row)].m_bEnabled = true;
    }
}

void CMainDlg::PlaceSkinnedButtons() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        ui::CHoverButton& button = m_buttons[i];
        RECT rect;
        GetWindowRect(button.m_hWnd, &rect);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        button.SetBackgroundBitmap(IDB_SKIN);
        button.SetBackgroundSlice(rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top);
        button.SetBackgroundSize(client.right, client.bottom);
        button.LoadBackground(GetDC(button.m_hWnd), L"");
    }
}

bool CMainDlg::ConfirmExit() {
    const ExitQuestion question =
        ChooseExitQuestion(m_recorder.m_bRecording, TheDialState().bOnline);
    if (!m_services.prompter.AskYesNo(question.text, question.title, question.icon)) {
        return false;
    }
    m_recorder.CloseOnExit();
    HangUpOwnConnection(m_services.remoteAccess, TheDialState());
    m_recorder.SettleOnExit();
    SaveEverything();
    ReleaseSkin();
    return true;
}

void CMainDlg::SaveAtSessionEnd() {
    m_recorder.CloseOnExit();
    SaveEverything();
}

void CMainDlg::SaveEverything() {
    if (m_bSettingsLoaded) {
        m_store.Save(m_settings, m_accounts);
    }
    SaveFilterLists();
}

void CMainDlg::ReleaseSkin() {
    m_skin.Reset();
    m_list.ReleaseStateImages();
}

void CMainDlg::EndAfterConfirmation(INT_PTR result) {
    if (ConfirmExit()) {
        EndDialog(result);
    }
}

// The dialog manager's OK and Cancel commands: the Execute key makes the one (Enter is swallowed
// before it gets there), Ctrl+Break the other. Each is a way out like any other, and asks.
void CMainDlg::OnOK() {
    EndAfterConfirmation(IDOK);
}

void CMainDlg::OnCancel() {
    EndAfterConfirmation(IDCANCEL);
}

void CMainDlg::OnDestroy() {
    UnmarkMainWindow(m_hWnd);
    for (UINT_PTR timer : {kTimerAutoCheck, kTimerBlink, kTimerHide, kTimerCheckEnd,
                           kTimerWatchLine, kTimerOnlineTime, kTimerPlan, kTimerTrayRetry}) {
        KillTimer(m_hWnd, timer);
    }
    // The icon goes while its window still exists; the system identifies it by the window.
    m_trayIcon.Remove();
    // Reports of a check still ending have no window to go to.
    m_reports.Attach(nullptr);
}

bool CMainDlg::PreTranslateMessage(MSG& message) {
    if (message.message != WM_KEYDOWN) {
        return false;
    }
    switch (message.wParam) {
        case VK_ESCAPE:
            // Asked here, whichever control has the focus; the dialog manager never sees it.
            OnCancel();
            return true;
        case VK_RETURN:
            return true;
        case VK_F1:
            // The system's help key opens the help file, as the menu's "帮助文件(F1)" does.
            PostMessage(WM_COMMAND, ID_HELP);
            return false;
        default:
            if (message.wParam >= VK_F2 && message.wParam <= VK_F12) {
                const int number = static_cast<int>(message.wParam - VK_F1) + 1;
                if (const auto command = FunctionKeyCommand(number)) {
                    PostMessage(WM_COMMAND, *command);
                }
            }
            return false;
    }
}

bool CMainDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    switch (message) {
        case WM_ERASEBKGND: {
            if (!m_skin) {
                return false;
            }
            RECT client;
            GetClientRect(m_hWnd, &client);
            ui::PaintCovering(reinterpret_cast<HDC>(wParam), m_skin.get(), client);
            result = TRUE;
            return true;
        }
        case WM_PAINT: {
            if (!IsIconic(m_hWnd)) {
                return false;
            }
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(m_hWnd, &paint);
            RECT client;
            GetClientRect(m_hWnd, &client);
            DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                     (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
            EndPaint(m_hWnd, &paint);
            return true;
        }
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(m_hIcon);
            return true;
        case WM_CLOSE:
            OnCancel();
            return true;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                HideToTray();
                return true;
            }
            return false;
        case WM_QUERYENDSESSION:
            SaveAtSessionEnd();
            result = TRUE;
            return true;
        case WM_ENDSESSION:
            // Windows may call the end off after asking; only a real end takes the skin.
            if (wParam != FALSE) {
                ReleaseSkin();
            }
            result = 0;
            return true;
        case WM_CAPTURECHANGED:
            // Whoever took the mouse ends the drag: the button-up will not come here.
            m_bDragging = false;
            return false;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
            return OnMouseMessage(message, lParam);
        case kTrayCallbackMessage:
            result = m_bTrayActive ? m_trayIcon.OnTrayNotification(wParam, lParam) : 0;
            return true;
        default:
            break;
    }
    if (message == ui::CUiTaskQueue::Message()) {
        m_reports.Drain();
        result = 0;
        return true;
    }
    if (message == QuorletCommMessage()) {
        if (m_settings.m_bAutoCheck) {
            StartCheck();
        }
        result = 0;
        return true;
    }
    if (message == taskbarCreated && taskbarCreated != 0) {
        m_trayIcon.Restore();
        RetryTrayIconWhileMissing();
        return true;
    }
    return false;
}

bool CMainDlg::OnMouseMessage(UINT message, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_LBUTTONDOWN:
            if (point.y < kDragBandHeight) {
                m_bDragging = true;
                m_ptGrab = point;
                SetCapture(m_hWnd);
            }
            break;
        case WM_MOUSEMOVE:
            if (m_bDragging) {
                POINT cursor;
                GetCursorPos(&cursor);
                // The grab point is in client coordinates; the window's frame lies around it.
                RECT window;
                GetWindowRect(m_hWnd, &window);
                POINT clientOrigin{0, 0};
                ClientToScreen(m_hWnd, &clientOrigin);
                SetWindowPos(m_hWnd, nullptr,
                             cursor.x - m_ptGrab.x - (clientOrigin.x - window.left),
                             cursor.y - m_ptGrab.y - (clientOrigin.y - window.top), 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            break;
        case WM_LBUTTONUP:
            if (m_bDragging) {
                m_bDragging = false;
                ReleaseCapture();
            }
            break;
        case WM_RBUTTONDOWN:
            if (point.y >= kDragBandHeight) {
                POINT screen = point;
                ClientToScreen(m_hWnd, &screen);
                ShowContextMenu(screen);
                return true;
            }
            return true;
        default:
            break;
    }
    return false;
}

// The timer dispatch. Each timer's work is done in the file of its subsystem.
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
            CheckPlan();
            break;
        case kTimerPlan:
            CheckPlan();
            break;
        case kTimerTrayRetry:
            m_trayIcon.AddMissing();
            RetryTrayIconWhileMissing();
            break;
        default:
            break;
    }
}

bool CMainDlg::OnNotify(int id, NMHDR* header, LRESULT&) {
    if (id == IDC_ACCOUNT_LIST && header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if ((change->uOldState & LVIS_SELECTED) != 0 && change->uNewState == 0 &&
            change->iItem >= 0) {
            ::SendMessageW(header->hwndFrom, LVM_REDRAWITEMS, change->iItem, change->iItem);
        }
    }
    return false;
}

}  // namespace quorlet
