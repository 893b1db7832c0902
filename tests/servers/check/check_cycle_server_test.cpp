// The check cycle and the deletion of filtered mail against Dovecot, started around this program
// by tests/fixtures/mail_servers.sh. What the check shows is compared with what the mailboxes
// hold; what the deletion leaves is read back from the maildirs.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "mail/check_cycle.h"
#include "support/check_support.h"
#include "support/delay_proxy.h"
#include "support/mail_fixture.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::DelayProxy;
using testing::MailFixture;
using testing::RecordingObserver;
using testing::TempDir;

// A message whose size as POP3 counts it is `size` octets.
std::string RawMessage(const std::string& from, const std::string& subject, std::int64_t size) {
    std::string raw = "From: " + from + "\r\nSubject: " + subject +
                      "\r\nDate: Tue, 07 May 2002 08:00:00 +0800\r\n\r\n";
    const std::string line(70, 'x');
    while (MailFixture::Pop3Size(raw) + 72 <= size) {
        raw += line + "\r\n";
    }
    raw += std::string(static_cast<std::size_t>(size - MailFixture::Pop3Size(raw)), 'y');
    return raw;
}

class CheckCycleServers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_servers.Available()) << "run under tests/fixtures/mail_servers.sh";
        ASSERT_GE(m_servers.Users(), 4);
        for (int k = 1; k <= 4; ++k) {
            m_servers.Clear(k);
        }
        CheckOptions options;
        options.spoolFolder = m_dir.File("");
        options.connectLimit = 20s;
        options.replyLimit = 20s;
        m_cycle.SetOptions(options);
    }

    void Account(const std::string& name, const std::string& server, int k,
                 std::string password = "") {
        m_accounts.push_back({name, server, MailFixture::User(k),
                              password.empty() ? MailFixture::Password(k) : password, true});
    }

    void Check(FilterSet filters = {}) {
        ASSERT_EQ(m_cycle.StartCheck(m_accounts, std::move(filters)), CCheckCycle::Start::Started);
        ASSERT_TRUE(m_observer.WaitChecks(1, 60s));
    }

    // A loopback port where nothing listens.
    static std::string ClosedServer() {
        auto listener = SystemNet().ListenLoopback(0, 1);
        return "127.0.0.1:" + std::to_string(listener->Port());
    }

    std::vector<std::string> Subjects(int k) { return testing::SubjectsOf(m_servers.Messages(k)); }

    std::string Statuses() { return testing::StatusLetters(m_mails.Snapshot()); }

    MailFixture m_servers;
    TempDir m_dir;
    MailTable m_mails;
    RecordingObserver m_observer;
    AccountTable m_accounts;
    CCheckCycle m_cycle{SystemNet(), m_mails, m_observer, SystemClock(), SystemCharsets()};
};

TEST_F(CheckCycleServers, FiveAccountsAndTheTableInAccountOrderWhateverTheFinishingOrder) {
    for (auto [subject, size] : {std::pair{"one", 1000}, {"two", 1500}, {"three", 2500}}) {
        m_servers.Deliver(1, RawMessage("ann@example.com", subject, size));
    }
    m_servers.Deliver(4, RawMessage("di@example.com", "four", 3000));
    m_servers.Deliver(4, RawMessage("=?gb2312?B?1cXI/Q==?= <zs@example.com>", "five", 6000));
    // Account 0 is far away: it ends after accounts 3 and 4, which start after it.
    DelayProxy far(SystemNet(), MailFixture::kHost, m_servers.Pop3Port(), 40ms);
    ASSERT_TRUE(far.Listening());
    Account("Far", far.Server(), 1);
    Account("Wrong", m_servers.Pop3Server(), 2, "not-the-password");
    Account("Down", ClosedServer(), 3);
    Account("Empty", m_servers.Pop3Server(), 3);
    Account("Near", m_servers.Pop3Server(), 4);
    Check();

    EXPECT_EQ(m_observer.Result(0), std::make_pair(std::string("3"), std::string("4KB")));
    EXPECT_EQ(m_observer.Result(1), std::make_pair(std::string("无效密码"), std::string()));
    EXPECT_EQ(m_observer.Result(2), std::make_pair(std::string("连接失败"), std::string()));
    EXPECT_EQ(m_observer.Result(3), std::make_pair(std::string("0"), std::string("0KB")));
    EXPECT_EQ(m_observer.Result(4), std::make_pair(std::string("2"), std::string("8KB")));
    EXPECT_EQ(m_observer.ResultOrder().back(), 0) << "the far account did not end last";

    const auto records = m_mails.Snapshot();
    ASSERT_EQ(records.size(), 5u);
    const std::vector<std::pair<std::string, int>> expected = {
        {"Far", 1}, {"Far", 2}, {"Far", 3}, {"Near", 1}, {"Near", 2}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(std::pair(records[i].m_strAccount, records[i].m_nNumber), expected[i]) << i;
    }
    EXPECT_EQ(records[1].m_strSubject, " two");
    EXPECT_EQ(records[1].m_nSize, 1500);
    EXPECT_EQ(records[4].m_strFrom, " =?gb2312?B?1cXI/Q==?= <zs@example.com>");
    EXPECT_EQ(records[4].m_strDate, " Tue, 07 May 2002 08:00:00 +0800");
    EXPECT_TRUE(m_observer.Finishes()[0].haveMail);
}

TEST_F(CheckCycleServers, TheDeletionRemovesExactlyTheMarkedMailThatIsStillThere) {
    for (const char* s : {"ok1", "spam1", "ok2", "spam2"}) {
        m_servers.Deliver(1, RawMessage("a@example.com", s, 700));
    }
    m_servers.Deliver(2, RawMessage("b@example.com", "spam3", 700));
    m_servers.Deliver(2, RawMessage("b@example.com", "ok3", 700));
    m_servers.Deliver(3, RawMessage("c@example.com", "spam4", 700));
    m_servers.Deliver(3, RawMessage("c@example.com", "ok4", 700));
    m_servers.Deliver(4, RawMessage("d@example.com", "spam5", 700));
    auto far =
        std::make_unique<DelayProxy>(SystemNet(), MailFixture::kHost, m_servers.Pop3Port(), 1ms);
    for (int k = 1; k <= 3; ++k) {
        Account("A" + std::to_string(k), m_servers.Pop3Server(), k);
    }
    Account("Gone", far->Server(), 4);
    FilterSet filters;
    filters.lists.subjects = {"spam"};
    Check(filters);
    ASSERT_EQ(Statuses(),
              "0101"
              "10"
              "10"
              "1");

    // Between the check and the deletion another mail program took spam3 away (ok3 is now
    // message 1), and account 4's server went away.
    m_servers.Clear(2);
    m_servers.Deliver(2, RawMessage("b@example.com", "ok3", 700));
    far.reset();

    ASSERT_EQ(m_cycle.StartDeleteFiltered(), CCheckCycle::Start::Started);
    ASSERT_TRUE(m_observer.WaitDeletions(1, 60s));
    EXPECT_EQ(Statuses(),
              "0DRD"
              "FR"
              "DR"
              "E");
    EXPECT_EQ(Subjects(1), (std::vector<std::string>{"ok1", "ok2"}));
    EXPECT_EQ(Subjects(2), std::vector<std::string>{"ok3"});
    EXPECT_EQ(Subjects(3), std::vector<std::string>{"ok4"});
    EXPECT_EQ(Subjects(4), std::vector<std::string>{"spam5"});
    EXPECT_FALSE(m_cycle.IsBusy());
}

// A connect that waits (the listener's queue is full) and a reply that never comes (the server
// accepted and says nothing) both end at the abort command, on real sockets; the account after
// them is still checked.
TEST_F(CheckCycleServers, TheAbortEndsAWaitingConnectAndASilentServer) {
    Net& net = SystemNet();
    auto full = net.ListenLoopback(0, 0);
    ASSERT_NE(full, nullptr);
    std::vector<std::unique_ptr<NetStream>> fillers;
    for (int i = 0; i < 16; ++i) {
        auto stream = net.Connect("127.0.0.1", full->Port(), 300ms, nullptr);
        if (stream == nullptr) {
            break;
        }
        fillers.push_back(std::move(stream));
    }
    ASSERT_LT(fillers.size(), 16u) << "the listen queue never filled";
    auto silent = net.ListenLoopback(0, 8);  // connects complete; nobody ever answers
    ASSERT_NE(silent, nullptr);
    m_servers.Deliver(1, RawMessage("a@example.com", "after", 1000));
    Account("Waiting", "127.0.0.1:" + std::to_string(full->Port()), 2);
    Account("Silent", "127.0.0.1:" + std::to_string(silent->Port()), 3);
    Account("After", m_servers.Pop3Server(), 1);

    ASSERT_EQ(m_cycle.StartCheck(m_accounts, {}), CCheckCycle::Start::Started);
    // Both slots are waiting once the third account has been checked beside them.
    for (int i = 0; i < 2000 && m_observer.Result(2).first.empty(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(m_observer.Result(2).first, "1");
    const auto aborted = std::chrono::steady_clock::now();
    // The third slot reported its account and handed it back in one step: only the waiting
    // rows are aborted.
    auto rows = m_cycle.AbortCheck();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, std::vector<int>({0, 1}));
    ASSERT_TRUE(m_observer.WaitChecks(1, 60s));
    // The limits are 20 s: only the abort can have ended the waits this soon.
    EXPECT_LT(std::chrono::steady_clock::now() - aborted, 5s);
    EXPECT_EQ(m_observer.Result(0).first, "连接失败");
    // Nothing was wrong with the silent server as far as anyone knows: the abort says so.
    EXPECT_EQ(m_observer.Result(1).first, "连接失败");
}

}  // namespace
}  // namespace quorlet
