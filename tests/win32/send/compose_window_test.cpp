// The compose window opened from the real main window (command 1077), sending to the SMTP sink
// of tests/fixtures/mail_servers.sh: the checks before sending, a GBK message as the sink
// received it, the body template, the window that cannot be left while it sends, closing by
// itself or staying "done", a server that cannot be reached, and the layout when resized.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "app_ids.h"
#include "dialog_helpers.h"
#include "gui_support.h"
#include "mail/header_decoder.h"
#include "platform/file_system.h"
#include "resource.h"
#include "send/gui/send_dlg.h"
#include "send_ids.h"
#include "support/delay_proxy.h"
#include "support/mail_fixture.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::MailFixture;
using testing::MainWindowHarness;

constexpr const char* kTemplate = "此致\r\n敬礼\r\n";

class ComposeWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(servers.Available()) << "run under tests/fixtures/mail_servers.sh";
        servers.ClearReceived();
        harness.realNet = &SystemNet();
        RemoveFile(CSendDlg::kTemplateFile);
    }
    void TearDown() override { ui::ClearDialogScripts(); }

    // Runs the main window with the given SMTP server; `body` opens the compose window with the
    // script given, through the main window's button.
    void Run(const std::string& server, const std::function<void(CMainDlg&)>& body,
             MailSecurity security = MailSecurity::None, const std::string& user = {},
             const std::string& password = {}) {
        MainSettings settings;
        settings.m_strServer = server;
        settings.m_strBack = "me@example.com";
        settings.m_nSmtpSecurity = security;
        settings.m_strSmtpUser = user;
        settings.m_strSmtpPassword = password;
        harness.Store(settings, {});
        harness.Run([&](CMainDlg& window) {
            body(window);
            window.EndDialog(IDCANCEL);
        });
    }

    static void Compose(CMainDlg& window, const std::function<void(CSendDlg&)>& script) {
        bool ran = false;
        ui::SetDialogScript(IDD_SEND, [&](ui::CDialog& d) {
            ran = true;
            EXPECT_TRUE(window.TrayIcon().MenuCopies().bCompose) << "the tray item is grayed";
            script(dynamic_cast<CSendDlg&>(d));
            if (d.IsModalRunning() && d.IsWindowVisible()) {
                d.EndDialog(IDCANCEL);  // a script that failed half-way
            }
        });
        testing::Click(window.m_hWnd, IDC_COMPOSE);
        EXPECT_TRUE(ran) << "command 1077 opens the compose window";
        EXPECT_FALSE(window.TrayIcon().MenuCopies().bCompose);
    }

    static void Fill(CSendDlg& d, const std::string& recipients, const std::string& subject,
                     const std::string& body) {
        d.SetDlgItemText(IDC_SEND_RECIPIENTS, recipients);
        d.SetDlgItemText(IDC_SEND_SUBJECT, subject);
        d.SetDlgItemText(IDC_SEND_BODY, body);
    }

    testing::ScriptedPrompter::Shown LastShown() const {
        return harness.prompter.shown.empty() ? testing::ScriptedPrompter::Shown{}
                                              : harness.prompter.shown.back();
    }

    MailFixture servers;
    MainWindowHarness harness;
};

bool FieldsEnabled(const CSendDlg& d) {
    bool all = true;
    for (int id :
         {IDC_SEND_MAIL, IDC_SEND_LEAVE, IDC_SEND_RECIPIENTS, IDC_SEND_SUBJECT, IDC_SEND_BODY}) {
        all = all && IsWindowEnabled(d.GetDlgItem(id));
    }
    return all;
}

// The subject as sent: one encoded word of GBK bytes.
std::string SubjectBytes(const std::string& text) {
    const std::string field = "\r\nSubject: =?GBK?B?";
    const std::size_t start = text.find(field);
    if (start == std::string::npos) {
        return "(no encoded subject)";
    }
    const std::size_t from = start + field.size();
    return DecodeBase64(text.substr(from, text.find("?=", from) - from));
}

std::string BodyOf(const std::string& text) {
    const std::size_t end = text.find("\r\n\r\n");
    return end == std::string::npos ? "" : text.substr(end + 4);
}

TEST_F(ComposeWindow, ChecksFirstThenAGbkMessageAfterWhichTheWindowClosesItself) {
    ASSERT_TRUE(WriteFileAtomically(CSendDlg::kTemplateFile, kTemplate));
    // Each reply a little late, so that the send is seen under way.
    testing::DelayProxy slow(SystemNet(), MailFixture::kHost, servers.SmtpPort(), 150ms);
    const std::string subject = "测试：鸥信通发信";
    const std::string body = "你好！\r\n.\r\n第三行";
    Run(slow.Server(), [&](CMainDlg& window) {
        Compose(window, [&](CSendDlg& d) {
            EXPECT_EQ(d.GetWindowText(), "邮件发送");
            EXPECT_EQ(d.GetDlgItemText(IDC_SEND_BODY), kTemplate);
            EXPECT_TRUE(d.IsDlgButtonChecked(IDC_SEND_CLOSE_AFTER));

            struct Case {
                const char* recipients;
                const char* subject;
                const char* body;
                std::string notice;
            };
            const Case cases[] = {
                {"", "s", "b", "请填写收信人地址 !"},
                {"user1@example.com", "", "", "信件无内容 !"},
                // Nothing goes out, not even to the address before the faulty piece.
                {"user1@example.com;张三<user2@example.com", "s", "b",
                 "收信人地址“张三<user2@example.com”有误,请重新填写 !"},
            };
            for (const Case& c : cases) {
                Fill(d, c.recipients, c.subject, c.body);
                testing::Click(d, IDC_SEND_MAIL);
                testing::ExpectLastShown(harness.prompter, c.notice, "提示",
                                         MessageIcon::Information);
                EXPECT_FALSE(d.Sending());
                EXPECT_EQ(d.GetDlgItemText(IDC_SEND_RECIPIENTS), c.recipients) << "kept as typed";
            }

            Fill(d, "张三 <user1@example.com>;user2@example.com", subject, body);
            testing::SaveScreenshot(d, "compose-window");
            const std::size_t shownBefore = harness.prompter.shown.size();
            testing::Click(d, IDC_SEND_MAIL);
            EXPECT_TRUE(d.Sending());
            EXPECT_EQ(d.GetWindowText(), "邮件发送[正在发信...]");
            EXPECT_FALSE(IsWindowEnabled(d.GetDlgItem(IDC_SEND_MAIL)));
            EXPECT_FALSE(IsWindowEnabled(d.GetDlgItem(IDC_SEND_BODY)));
            EXPECT_TRUE(IsWindowEnabled(d.GetDlgItem(IDC_SEND_CLOSE_AFTER)));
            // Neither Escape nor the close box ends a window that is sending.
            testing::PressKey(d, VK_ESCAPE);
            SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
            testing::PumpFor(50ms);
            EXPECT_TRUE(d.IsWindowVisible());
            EXPECT_TRUE(d.Sending());
            // Done, it closes by itself.
            EXPECT_TRUE(testing::PumpUntil([&] { return !d.IsWindowVisible(); }, 20s));
            EXPECT_EQ(harness.prompter.shown.size(), shownBefore) << LastShown().text;
        });

        const auto received = servers.ReceivedMessages();
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].mailFrom, "me@example.com");
        EXPECT_EQ(received[0].rcptTo,
                  (std::vector<std::string>{"user1@example.com", "user2@example.com"}));
        EXPECT_EQ(SubjectBytes(received[0].text), subject);
        // The lone dot went out doubled and came back single; the body got its line end.
        EXPECT_EQ(BodyOf(received[0].text), body + "\r\n\r\n");

        // The template is read at every opening: gone now, the body starts empty. Without the
        // box ticked the window stays, "done", and Escape then closes it.
        ASSERT_TRUE(RemoveFile(CSendDlg::kTemplateFile));
        Compose(window, [&](CSendDlg& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_SEND_BODY), "");
            EXPECT_EQ(d.GetDlgItemText(IDC_SEND_RECIPIENTS), "") << "emptied by the opener";
            d.CheckDlgButton(IDC_SEND_CLOSE_AFTER, false);
            Fill(d, "user3@example.com", "只有主题", "");
            testing::Click(d, IDC_SEND_MAIL);
            ASSERT_TRUE(testing::PumpUntil([&] { return !d.Sending(); }, 20s));
            testing::PumpFor(300ms);
            EXPECT_TRUE(d.IsWindowVisible());
            EXPECT_EQ(d.GetWindowText(), "邮件发送[完成]");
            EXPECT_TRUE(FieldsEnabled(d));
            testing::PressKey(d, VK_ESCAPE);
            EXPECT_FALSE(d.IsWindowVisible());
        });
        const auto both = servers.ReceivedMessages();
        ASSERT_EQ(both.size(), 2u);
        EXPECT_EQ(both[1].rcptTo, std::vector<std::string>{"user3@example.com"});
        EXPECT_EQ(BodyOf(both[1].text), "\r\n\r\n") << "an empty body goes out as one line end";
    });
}

TEST_F(ComposeWindow, AServerThatCannotBeReachedShowsTheSessionsText) {
    // Nothing listens on port 1 of the loopback interface.
    Run("127.0.0.1:1", [&](CMainDlg& window) {
        Compose(window, [&](CSendDlg& d) {
            Fill(d, "user1@example.com", "主题", "正文");
            // Enter in a one-line field presses the default button, Send.
            SetFocus(d.GetDlgItem(IDC_SEND_SUBJECT));
            testing::PressKey(d, VK_RETURN);
            ASSERT_TRUE(testing::PumpUntil([&] { return !d.Sending(); }, 30s));
            EXPECT_EQ(LastShown().text, "连接邮件服务器失败");
            EXPECT_EQ(LastShown().title, "") << "a plain box: OK and the program's name";
            EXPECT_EQ(d.GetWindowText(), "邮件发送");
            EXPECT_TRUE(FieldsEnabled(d));
            EXPECT_EQ(d.GetDlgItemText(IDC_SEND_BODY), "正文") << "kept for another try";
            testing::Click(d, IDC_SEND_LEAVE);
            EXPECT_FALSE(d.IsWindowVisible());
        });
    });
    EXPECT_TRUE(servers.ReceivedMessages().empty());
}

// A control's edges in the dialog's client area.
std::array<LONG, 4> Edges(HWND control) {
    const RECT r = testing::InParent(control);
    return {r.left, r.top, r.right, r.bottom};
}

TEST_F(ComposeWindow, WithoutAServerNothingIsSentAndTheControlsFollowTheFrame) {
    Run("", [&](CMainDlg& window) {
        Compose(window, [&](CSendDlg& d) {
            Fill(d, "user1@example.com", "主题", "正文");
            testing::Click(d, IDC_SEND_MAIL);
            EXPECT_EQ(LastShown().text, "请设置SMTP地址 !");
            EXPECT_FALSE(d.Sending());

            // How far each edge (left, top, right, bottom) moves when the window grows 40 x 31.
            const std::pair<int, std::array<LONG, 4>> cases[] = {
                {IDC_SEND_BODY, {0, 0, 40, 31}},          {IDC_SEND_FRAME, {0, 0, 40, 31}},
                {IDC_SEND_RECIPIENTS, {0, 0, 40, 0}},     {IDC_SEND_SUBJECT, {0, 0, 40, 0}},
                {IDC_SEND_MAIL, {40, 15, 40, 15}},        {IDC_SEND_LEAVE, {40, 15, 40, 15}},
                {IDC_SEND_CLOSE_AFTER, {40, 15, 40, 15}}, {IDC_SEND_CLOSE_LABEL, {40, 15, 40, 15}},
            };
            RECT first;
            GetWindowRect(d, &first);
            std::vector<std::array<LONG, 4>> before;
            for (const auto& [id, moved] : cases) {
                before.push_back(Edges(d.GetDlgItem(id)));
            }
            auto resize = [&](int dx, int dy) {
                SetWindowPos(d, nullptr, 0, 0, first.right - first.left + dx,
                             first.bottom - first.top + dy, SWP_NOMOVE | SWP_NOZORDER);
                for (std::size_t i = 0; i < std::size(cases); ++i) {
                    std::array<LONG, 4> now = Edges(d.GetDlgItem(cases[i].first));
                    for (std::size_t k = 0; k < 4; ++k) {
                        now[k] -= before[i][k];
                    }
                    // Below the first size the controls stay where they were.
                    EXPECT_EQ(now, (dx > 0 ? cases[i].second : std::array<LONG, 4>{}))
                        << cases[i].first;
                }
            };
            resize(40, 31);
            testing::SaveScreenshot(d, "compose-window-grown");
            resize(-60, -40);
            RECT last;
            GetWindowRect(d, &last);
            EXPECT_EQ(last.right - last.left, first.right - first.left)
                << "stops at its first size";
            EXPECT_EQ(last.bottom - last.top, first.bottom - first.top);
            testing::Click(d, IDC_SEND_LEAVE);
        });
    });
}

}  // namespace
// The server, its security and the login come from the settings: over STARTTLS, logged in, the
// message arrives; a wrong password shows the session's text and sends nothing.
TEST_F(ComposeWindow, TheSettingsSecurityAndLoginReachTheServer) {
    const char* port = std::getenv("QUORLET_SMTP_STARTTLS_PORT");
    const char* user = std::getenv("QUORLET_SMTP_USER");
    const char* password = std::getenv("QUORLET_SMTP_PASSWORD");
    ASSERT_TRUE(port && user && password) << "run under tests/fixtures/mail_servers.sh --tls";
    const std::string server = std::string("localhost:") + port;
    const struct {
        std::string password;
        const char* shown;  // the last message box; "" when the send went through
    } cases[] = {{password, ""}, {std::string(password) + "x", "用户名或密码错误"}};
    for (const auto& c : cases) {
        servers.ClearReceived();
        harness.prompter.shown.clear();
        Run(
            server,
            [&](CMainDlg& window) {
                Compose(window, [&](CSendDlg& d) {
                    Fill(d, "user1@example.com", "secure", "over TLS");
                    d.CheckDlgButton(IDC_SEND_CLOSE_AFTER, false);
                    testing::Click(d, IDC_SEND_MAIL);
                    ASSERT_TRUE(testing::PumpUntil([&] { return !d.Sending(); }, 30s));
                    EXPECT_EQ(LastShown().text, c.shown);
                    testing::Click(d, IDC_SEND_LEAVE);
                });
            },
            MailSecurity::StartTls, user, c.password);
        const auto received = servers.ReceivedMessages();
        if (*c.shown == '\0') {
            ASSERT_EQ(received.size(), 1u);
            EXPECT_NE(received[0].tls, "");
            EXPECT_EQ(received[0].authUser, user);
        } else {
            EXPECT_TRUE(received.empty());
        }
    }
}

}  // namespace quorlet
