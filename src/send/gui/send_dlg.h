// CSendDlg: the compose window "邮件发送" (dialog 191). The user types recipients, a subject and
// a text; Send checks them and hands a copy to a send thread, which runs the SMTP session and
// reports back through the window's task queue. The window cannot be left while a send runs;
// after a send that went out it closes by itself when "发送完自动关闭窗口" is ticked.
#pragma once

#include <optional>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/net.h"
#include "platform/prompter.h"
#include "send/composed_mail.h"
#include "ui/icon_button.h"
#include "ui/sizing_dialog.h"
#include "ui/ui_task_queue.h"

namespace quorlet {

class CSendDlg : public ui::cdxCSizingDialog {
public:
    CSendDlg(Net& net, const Clock& clock, Prompter& prompter);
    ~CSendDlg() override;

    // Before each showing: the server, its security and login, and the reply address from the
    // settings, empty fields, and closing after sending ticked.
    void Reset(const std::string& server, const std::string& replyAddress,
               MailSecurity security = MailSecurity::None, const std::string& user = {},
               const std::string& password = {});

    bool Sending() const { return m_bSending; }

    std::string m_strServer;
    std::string m_strBack;  // the reply address
    MailSecurity m_nSecurity = MailSecurity::None;
    std::string m_strUser;  // the SMTP login; none when empty
    std::string m_strPassword;
    std::string m_strRecipients;
    std::string m_strSubject;
    std::string m_strBody;
    bool m_bCloseAfterSend = true;

    // The body template, read from the current directory at every opening.
    static constexpr const char* kTemplateFile = "Modal.ini";

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    bool OnButtonClicked(int id) override;
    void OnTimer(UINT_PTR id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool PreTranslateMessage(MSG& message) override;
    void DoDataExchange(ui::CDataExchange& dx) override;
    void OnDestroy() override;

private:
    void Send();
    void Leave();
    // On this thread, once the send thread is done: the outcome, then the window usable again.
    void FinishSending(const std::optional<std::string>& error, bool closeAfterSend);
    void EnableFields(bool enable);
    void LoadBodyTemplate();
    void Tell(const std::string& text, const std::string& title, MessageIcon icon);

    Net& m_net;
    const Clock& m_clock;
    Prompter& m_prompter;
    // From Send until the send thread's outcome has been shown; only this thread touches it.
    bool m_bSending = false;
    ui::CIconButton m_sendButton;
    ui::CIconButton m_leaveButton;
    ui::CUiTaskQueue m_tasks;
    std::thread m_thread;
};

}  // namespace quorlet
