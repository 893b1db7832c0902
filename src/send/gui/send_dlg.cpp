#include "send/gui/send_dlg.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_services.h"
#include "resource.h"
#include "send_ids.h"
#include "ui/data_exchange.h"

namespace quorlet {
namespace {

constexpr const char* kTitle = "邮件发送";
constexpr const char* kTitleSending = "邮件发送[正在发信...]";
constexpr const char* kTitleDone = "邮件发送[完成]";
constexpr const char* kProgramFault = "程序出现错误,请重新运行 !";

// Timer 0: the window closes this long after a send that went out.
constexpr UINT_PTR kTimerClose = 0;
constexpr UINT kCloseDelay = 100;

// The hover text colour of the two icon buttons: pure blue.
constexpr COLORREF kHoverText = RGB(0, 0, 255);

// What the send thread may not change while it runs.
constexpr int kFields[] = {IDC_SEND_MAIL, IDC_SEND_LEAVE, IDC_SEND_RECIPIENTS, IDC_SEND_SUBJECT,
                           IDC_SEND_BODY};

// The whole file, or nullopt when it cannot be opened. Other readers are kept out while it is
// read, as the template always was opened.
std::optional<std::string> ReadDenyingReaders(const std::string& path) {
    const HANDLE file = CreateFileW(win32::ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

}  // namespace

CSendDlg::CSendDlg(Net& net, const Clock& clock, Prompter& prompter)
    : cdxCSizingDialog(IDD_SEND), m_net(net), m_clock(clock), m_prompter(prompter) {}

CSendDlg::~CSendDlg() {
    // The thread reaches this object's queue; it ends within the session's time limits.
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CSendDlg::Reset(const std::string& server, const std::string& replyAddress,
                     MailSecurity security, const std::string& user, const std::string& password) {
    m_strServer = server;
    m_strBack = replyAddress;
    m_nSecurity = security;
    m_strUser = user;
    m_strPassword = password;
    m_strRecipients.clear();
    m_strSubject.clear();
    m_strBody.clear();
    m_bCloseAfterSend = true;
}

void CSendDlg::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Control(dx, IDC_SEND_MAIL, m_sendButton);
    ui::DDX_Control(dx, IDC_SEND_LEAVE, m_leaveButton);
    ui::DDX_Text(dx, IDC_SEND_RECIPIENTS, m_strRecipients);
    ui::DDX_Text(dx, IDC_SEND_SUBJECT, m_strSubject);
    ui::DDX_Text(dx, IDC_SEND_BODY, m_strBody);
    ui::DDX_Check(dx, IDC_SEND_CLOSE_AFTER, m_bCloseAfterSend);
}

BOOL CSendDlg::OnInitDialog() {
    const BOOL result = InitSizing(0, 3, true);
    m_tasks.Attach(m_hWnd);
    m_sendButton.SetIcon(IDI_BUTTON_SEND, 0, 32, 32);
    m_sendButton.SetActiveFgColor(kHoverText, false);
    m_leaveButton.SetIcon(IDI_BUTTON_LEAVE, 0, 32, 32);
    m_leaveButton.SetActiveFgColor(kHoverText, false);

    AddControl(IDC_SEND_BODY, {0, 100, 0, 100});
    AddControl(IDC_SEND_FRAME, {0, 100, 0, 100});
    AddControlByMode(IDC_SEND_RECIPIENTS, SizeMode::Stretch, SizeMode::Fixed);
    AddControlByMode(IDC_SEND_SUBJECT, SizeMode::Stretch, SizeMode::Fixed);
    for (const int id :
         {IDC_SEND_MAIL, IDC_SEND_LEAVE, IDC_SEND_CLOSE_AFTER, IDC_SEND_CLOSE_LABEL}) {
        AddControl(id, {100, 100, 50, 50});
    }
    SetMinMaxSize(InitialWindowSize(), FullScreenSize(), true);

    LoadBodyTemplate();
    UpdateData(false);
    m_bSending = false;
    return result;
}

void CSendDlg::LoadBodyTemplate() {
    if (const auto bytes = ReadDenyingReaders(kTemplateFile)) {
        m_strBody = BodyTemplateText(*bytes);
    }
}

bool CSendDlg::OnButtonClicked(int id) {
    switch (id) {
        case IDC_SEND_MAIL:
        case IDOK:  // Enter, should the dialog manager not name the default button
            Send();
            return true;
        case IDC_SEND_LEAVE:
            Leave();
            return true;
        default:
            return cdxCSizingDialog::OnButtonClicked(id);
    }
}

void CSendDlg::Send() {
    if (m_bSending) {
        return;
    }
    UpdateData(true);
    const ComposedMail mail{m_strServer, m_strBack,   m_strRecipients, m_strSubject,
                            m_strBody,   m_nSecurity, m_strUser,       m_strPassword};
    if (const auto problem = ComposeProblem(mail)) {
        Tell(*problem, kTitleNotice, MessageIcon::Information);
        return;
    }
    if (m_thread.joinable()) {
        m_thread.join();  // the last send's thread, which has reported and is ending
    }
    const bool closeAfterSend = m_bCloseAfterSend;
    m_bSending = true;
    try {
        m_thread = std::thread([this, mail, closeAfterSend] {
            std::optional<std::string> error;
            try {
                error = SendComposedMail(m_net, m_clock, mail);
            } catch (...) {
                error = kProgramFault;
            }
            m_tasks.Post([this, error, closeAfterSend] { FinishSending(error, closeAfterSend); });
        });
    } catch (const std::exception&) {
        m_bSending = false;
        Tell(kProgramFault, kTitleError, MessageIcon::Stop);
        return;
    }
    // The thread's outcome can only be taken on this thread, after this.
    SetWindowText(kTitleSending);
    EnableFields(false);
}

void CSendDlg::FinishSending(const std::optional<std::string>& error, bool closeAfterSend) {
    if (error) {
        // The message box of a plain failure: OK and the program's name.
        Tell(*error, "", MessageIcon::None);
        SetWindowText(kTitle);
    } else {
        SetWindowText(kTitleDone);
        if (closeAfterSend) {
            SetTimer(m_hWnd, kTimerClose, kCloseDelay, nullptr);
        }
    }
    m_bSending = false;
    EnableFields(true);
}

void CSendDlg::EnableFields(bool enable) {
    for (const int id : kFields) {
        EnableDlgItem(id, enable);
    }
}

void CSendDlg::Tell(const std::string& text, const std::string& title, MessageIcon icon) {
    const PromptOwner owner(m_hWnd);
    m_prompter.Show(text, title, icon, MessageButtons::Ok);
}

void CSendDlg::Leave() {
    if (!m_bSending) {
        EndDialog(IDCANCEL);
    }
}

void CSendDlg::OnCancel() {
    // Escape and the close box: nothing while a send runs.
    if (!m_bSending) {
        cdxCSizingDialog::OnCancel();
    }
}

void CSendDlg::OnTimer(UINT_PTR id) {
    if (id == kTimerClose) {
        KillTimer(m_hWnd, kTimerClose);
        OnOK();
    }
}

bool CSendDlg::PreTranslateMessage(MSG& message) {
    // Swallowed before the dialog manager (or a multi-line edit) can make a close of it.
    return m_bSending && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
}

bool CSendDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == ui::CUiTaskQueue::Message()) {
        m_tasks.Drain();
        return true;
    }
    if (message == WM_CLOSE && m_bSending) {
        return true;
    }
    return cdxCSizingDialog::OnMessage(message, wParam, lParam, result);
}

void CSendDlg::OnDestroy() {
    // Should the window go while a send runs (the program ends), its outcome goes nowhere.
    m_tasks.Attach(nullptr);
    cdxCSizingDialog::OnDestroy();
}

}  // namespace quorlet
