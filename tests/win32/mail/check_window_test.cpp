// Checks started from the real main window against Dovecot (started around this program by
// tests/fixtures/mail_servers.sh): the columns, the small images and the tray while a check runs,
// the abort button, and filtered mail deleted after the question or listed in the preview.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/check_end.h"
#include "app_ids.h"
#include "base/profile_file.h"
#include "gui_support.h"
#include "platform/file_system.h"
#include "resource.h"
#include "support/check_support.h"
#include "support/delay_proxy.h"
#include "support/mail_fixture.h"
#include "ui/controls.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::DelayProxy;
using testing::MailFixture;
using testing::MainWindowHarness;

std::string RawMessage(const std::string& subject, std::int64_t size) {
    std::string raw = "From: someone@example.com\r\nSubject: " + subject +
                      "\r\nDate: Tue, 07 May 2002 08:00:00 +0800\r\n\r\n";
    raw += std::string(static_cast<std::size_t>(size - MailFixture::Pop3Size(raw) - 2), 'x');
    return raw + "\r\n";
}

class CheckWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(servers.Available()) << "run under tests/fixtures/mail_servers.sh";
        for (int k = 1; k <= servers.Users(); ++k) {
            servers.Clear(k);
        }
        harness.realNet = &SystemNet();
    }

    AccountRecord Account(const std::string& name, int k, const std::string& server = "") {
        return {name, server.empty() ? servers.Pop3Server() : server, MailFixture::User(k),
                MailFixture::Password(k)};
    }

    std::vector<std::string> Subjects(int k) { return testing::SubjectsOf(servers.Messages(k)); }

    static std::string Statuses(CMainDlg& window) {
        return testing::StatusLetters(window.Preview().m_mails.Snapshot());
    }

    MailFixture servers;
    MainWindowHarness harness;
};

TEST_F(CheckWindow, TheCheckButtonFillsTheColumnsAndTheTrayShowsTheCheck) {
    for (auto [subject, size] : {std::pair{"one", 1000}, {"two", 1500}, {"three", 2500}}) {
        servers.Deliver(1, RawMessage(subject, size));
    }
    servers.Deliver(3, RawMessage("four", 3000));
    servers.Deliver(3, RawMessage("five", 2000));
    // The first mailbox is far away, so that its row is seen connecting and reading.
    DelayProxy remote(SystemNet(), MailFixture::kHost, servers.Pop3Port(), 100ms);
    harness.Store(MainSettings{},
                  {Account("远方", 1, remote.Server()), Account("空邮箱", 2), Account("近处", 3)});
    harness.Run([&](CMainDlg& window) {
        const ui::CListCtrl list(window.GetDlgItem(IDC_ACCOUNT_LIST));
        const HICON idle = window.TrayIcon().Icon();
        testing::Click(window.m_hWnd, IDC_CHECK);
        EXPECT_TRUE(window.Busy());
        EXPECT_FALSE(IsWindowEnabled(window.GetDlgItem(IDC_CHECK)));
        EXPECT_TRUE(IsWindowEnabled(window.GetDlgItem(IDC_STOP_CHECK)));
        EXPECT_EQ(window.TrayIcon().Tip(), "正在检测...");
        EXPECT_NE(window.TrayIcon().Icon(), idle);
        EXPECT_TRUE(window.TrayIcon().MenuCopies().bBusy);
        EXPECT_TRUE(testing::PumpUntil([&] { return list.GetImage(0) == 1; }, 10s)) << "connecting";
        EXPECT_TRUE(testing::PumpUntil([&] { return list.GetImage(0) == 3; }, 10s)) << "reading";
        testing::SaveScreenshot(window.m_hWnd, "main-window-checking");
        ASSERT_TRUE(testing::PumpUntil([&] { return !window.Busy(); }, 30s));

        EXPECT_EQ(list.GetItemText(0, 2), "3");
        EXPECT_EQ(list.GetItemText(0, 3), "4KB");
        EXPECT_EQ(list.GetItemText(1, 2), "0");
        EXPECT_EQ(list.GetItemText(1, 3), "0KB");
        EXPECT_EQ(list.GetItemText(2, 2), "2");
        EXPECT_EQ(list.GetItemText(2, 3), "4KB");
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(list.GetImage(row), 2) << row;
            EXPECT_EQ(list.GetStateImage(row), 2) << row;
        }
        EXPECT_TRUE(IsWindowEnabled(window.GetDlgItem(IDC_CHECK)));
        EXPECT_FALSE(IsWindowEnabled(window.GetDlgItem(IDC_STOP_CHECK)));
        // The notification (timer 3): the window is shown, so the tray shows the mode again.
        EXPECT_TRUE(
            testing::PumpUntil([&] { return window.TrayIcon().Tip() == "手动检测状态"; }, 5s));
        EXPECT_EQ(window.TrayIcon().Icon(), idle);
        EXPECT_FALSE(testing::MainDlgProbe::NewMail(window)) << "timer 3 took the new-mail flag";
        const auto records = window.Preview().m_mails.Snapshot();
        ASSERT_EQ(records.size(), 5u);
        EXPECT_EQ(records[0].m_strAccount, "远方");
        EXPECT_EQ(records[4].m_strSubject, " five");
        testing::SaveScreenshot(window.m_hWnd, "main-window-checked");
        window.EndDialog(IDCANCEL);
    });
}

// Accounts that ask for security, checked by the real window through SChannel: each way in, and
// the two failures the user can act on, in the "邮件数" column.
TEST_F(CheckWindow, SecureAccountsAreCheckedOverTlsAndTheirFailuresSaySo) {
    const char* pop3s = std::getenv("QUORLET_POP3S_PORT");
    ASSERT_NE(pop3s, nullptr) << "run under tests/fixtures/mail_servers.sh --tls";
    servers.Deliver(1, RawMessage("secure", 1000));
    const std::string tls = std::string("localhost:") + pop3s;
    const std::string stls = "localhost:" + std::to_string(servers.Pop3Port());
    const auto secure = [&](const std::string& name, int k, const std::string& server,
                            MailSecurity security, const std::string& password = "") {
        AccountRecord a = Account(name, k, server);
        a.m_nSecurity = security;
        if (!password.empty()) {
            a.m_strPassword = password;
        }
        return a;
    };
    harness.Store(
        MainSettings{},
        {secure("tls", 1, tls, MailSecurity::Tls), secure("stls", 1, stls, MailSecurity::StartTls),
         secure("name", 1, "127.0.0.1:" + std::string(pop3s), MailSecurity::Tls),
         secure("password", 1, tls, MailSecurity::Tls, "wrong")});
    harness.Run([&](CMainDlg& window) {
        const ui::CListCtrl list(window.GetDlgItem(IDC_ACCOUNT_LIST));
        testing::Click(window.m_hWnd, IDC_CHECK);
        ASSERT_TRUE(testing::PumpUntil([&] { return !window.Busy(); }, 60s));
        EXPECT_EQ(list.GetItemText(0, 2), "1");
        EXPECT_EQ(list.GetItemText(1, 2), "1");
        EXPECT_EQ(list.GetItemText(2, 2), "证书无效");  // the certificate is for localhost
        EXPECT_EQ(list.GetItemText(3, 2), "无效密码");
        window.EndDialog(IDCANCEL);
    });
}

TEST_F(CheckWindow, TheAbortButtonGivesUpTheAccountBeingChecked) {
    servers.Deliver(2, RawMessage("near", 1000));
    // Its greeting would take a minute to arrive.
    DelayProxy silent(SystemNet(), MailFixture::kHost, servers.Pop3Port(), 60s);
    harness.Store(MainSettings{}, {Account("慢", 1, silent.Server()), Account("快", 2)});
    harness.Run([&](CMainDlg& window) {
        const ui::CListCtrl list(window.GetDlgItem(IDC_ACCOUNT_LIST));
        testing::Click(window.m_hWnd, IDC_CHECK);
        ASSERT_TRUE(testing::PumpUntil([&] { return list.GetItemText(1, 2) == "1"; }, 10s));
        EXPECT_EQ(list.GetImage(0), 1);
        testing::Click(window.m_hWnd, IDC_STOP_CHECK);
        EXPECT_EQ(list.GetImage(0), 0) << "the aborted image at once";
        EXPECT_FALSE(IsWindowEnabled(window.GetDlgItem(IDC_STOP_CHECK)));
        ASSERT_TRUE(testing::PumpUntil([&] { return !window.Busy(); }, 5s));
        EXPECT_EQ(list.GetItemText(0, 2), "连接失败") << "not the waiting step's error";
        EXPECT_EQ(list.GetItemText(0, 3), "");
        EXPECT_EQ(list.GetImage(0), 2);
        window.EndDialog(IDCANCEL);
    });
}

TEST_F(CheckWindow, FilteredMailIsDeletedAfterTheQuestion) {
    servers.Deliver(1, RawMessage("hello", 800));
    servers.Deliver(1, RawMessage("cheap spam", 800));
    servers.Deliver(2, RawMessage("more spam", 800));
    ASSERT_TRUE(WriteFileAtomically("Subject.ini", "[Main]\r\nTotal=1\r\n[Subject]\r\n0=spam\r\n"));
    DelayProxy remote(SystemNet(), MailFixture::kHost, servers.Pop3Port(), 50ms);
    MainSettings settings;
    settings.m_iRadio = 0;
    harness.Store(settings, {Account("a", 1), Account("b", 2, remote.Server())});
    harness.prompter.answers = {MessageAnswer::Yes};
    harness.Run([&](CMainDlg& window) {
        testing::Click(window.m_hWnd, IDC_CHECK);
        ASSERT_TRUE(testing::PumpUntil(
            [&] { return window.GetWindowText() == "鸥信通[正在删除已过滤的邮件...]"; }, 30s));
        EXPECT_TRUE(window.Busy());
        EXPECT_FALSE(IsWindowEnabled(window.GetDlgItem(IDC_CHECK)));
        EXPECT_TRUE(IsWindowEnabled(window.GetDlgItem(IDC_STOP_CHECK)));
        ASSERT_TRUE(testing::PumpUntil(
            [&] { return !window.Busy() && window.GetWindowText() == "鸥信通"; }, 30s));
        EXPECT_TRUE(IsWindowEnabled(window.GetDlgItem(IDC_CHECK)));
        EXPECT_FALSE(IsWindowEnabled(window.GetDlgItem(IDC_STOP_CHECK)));
        EXPECT_EQ(Statuses(window),
                  "0D"
                  "D");
        window.EndDialog(IDCANCEL);
    });
    ASSERT_EQ(harness.prompter.shown.size(), 1u);
    EXPECT_EQ(harness.prompter.shown[0].text, kDeleteFilteredQuestion);
    EXPECT_EQ(harness.prompter.shown[0].title, "询问");
    EXPECT_EQ(harness.prompter.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(Subjects(1), std::vector<std::string>{"hello"});
    EXPECT_TRUE(Subjects(2).empty());
}

TEST_F(CheckWindow, FilteredMailInListModeOpensThePreviewInstead) {
    servers.Deliver(1, RawMessage("cheap spam", 800));
    ASSERT_TRUE(WriteFileAtomically("Subject.ini", "[Main]\r\nTotal=1\r\n[Subject]\r\n0=spam\r\n"));
    MainSettings settings;
    settings.m_iRadio = 1;
    harness.Store(settings, {Account("a", 1)});
    std::vector<int> commands;
    harness.Run([&](CMainDlg& window) {
        ui::SetDialogScript(IDD_PREVIEW, [](ui::CDialog& preview) { preview.EndDialog(IDCANCEL); });
        ui::SetCommandObserver([&](HWND dialog, int id) {
            if (dialog == window.m_hWnd) {
                commands.push_back(id);
            }
        });
        testing::Click(window.m_hWnd, IDC_CHECK);
        EXPECT_TRUE(testing::PumpUntil(
            [&] { return std::count(commands.begin(), commands.end(), IDC_PREVIEW) == 1; }, 30s));
        EXPECT_EQ(Statuses(window), "1");
        window.EndDialog(IDCANCEL);
    });
    ui::ClearDialogScripts();
    EXPECT_TRUE(harness.prompter.shown.empty()) << "no question in list mode";
    EXPECT_EQ(Subjects(1), std::vector<std::string>{"cheap spam"});
}

TEST_F(CheckWindow, MailFoundWhileTheWindowIsHiddenBlinksWithTheModeTip) {
    servers.Deliver(1, RawMessage("news", 900));
    harness.Store(MainSettings{}, {Account("a", 1)});
    harness.Run([&](CMainDlg& window) {
        testing::Click(window.m_hWnd, IDC_HIDE);
        const HICON idle = window.TrayIcon().Icon();
        window.SendMessage(WM_COMMAND, IDC_CHECK);
        EXPECT_EQ(window.TrayIcon().Tip(), "正在检测...");
        const HICON checking = window.TrayIcon().Icon();
        ASSERT_TRUE(testing::PumpUntil([&] { return !window.Busy(); }, 20s));
        // Timer 3, then the blink of timer 1: the two mail icons take turns.
        HICON first = nullptr;
        ASSERT_TRUE(testing::PumpUntil(
            [&] {
                const HICON now = window.TrayIcon().Icon();
                if (now == idle || now == checking) {
                    return false;
                }
                if (first == nullptr) {
                    first = now;
                }
                return now != first;
            },
            5s));
        EXPECT_EQ(window.TrayIcon().Tip(), "手动检测状态") << "the check is over";
        window.EndDialog(IDCANCEL);
    });
}

// The other ways a check starts: timer 0, and the dial-up window's message when "AutoCheck" is
// on (and only then).
TEST_F(CheckWindow, TimerZeroAndTheDialUpMessageStartChecks) {
    for (bool autoCheck : {false, true}) {
        MainWindowHarness run;
        run.realNet = &SystemNet();
        MainSettings settings;
        settings.m_bAutoCheck = autoCheck;
        run.Store(settings, {Account("a", 1)});
        run.Run([&](CMainDlg& window) {
            const ui::CListCtrl list(window.GetDlgItem(IDC_ACCOUNT_LIST));
            window.SendMessage(QuorletCommMessage());
            EXPECT_EQ(window.Busy(), autoCheck);
            testing::PumpUntil([&] { return !window.Busy(); }, 20s);
            EXPECT_EQ(list.GetItemText(0, 2), autoCheck ? "0" : "");

            window.SendMessage(WM_TIMER, kTimerAutoCheck);
            EXPECT_TRUE(window.Busy());
            EXPECT_TRUE(testing::PumpUntil([&] { return !window.Busy(); }, 20s));
            EXPECT_EQ(list.GetItemText(0, 2), "0");
            window.EndDialog(IDCANCEL);
        });
    }
}

}  // namespace
}  // namespace quorlet
