// Every login of an account follows its security choice: the check, the deletion of filtered
// mail and the preview's deletion alike, on the port of the choice when the server names none.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>

#include "check_fixture.h"
#include "mail/preview_deletion.h"
#include "mail/preview_rows.h"

namespace quorlet {
namespace {

using testing::MemoryPop3;

class EndObserver final : public PreviewDeletionObserver {
public:
    void OnRowOutcome(std::size_t, int) override {}
    void OnDeletionEnded() override {
        std::lock_guard lock(m_mutex);
        m_ended = true;
        m_changed.notify_all();
    }
    bool WaitEnd() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_ended; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_ended = false;
};

class AccountSecurityTest : public testing::CheckCycleFixture {
protected:
    void Mailbox(const std::string& host, MailSecurity security) {
        auto& messages = net.AddMailbox(host, "u", "pw").messages;
        messages.push_back(MemoryPop3::MakeMessage("a@x", "spam", 100));
        messages.push_back(MemoryPop3::MakeMessage("b@x", "ok", 100));
        net.AddHost(host).stls = true;  // offered to all: only the choice decides
        accounts.push_back({host, host, "u", "pw", true, security});
    }

    EndObserver previewEnd;
    CPreviewDeletion preview{net, clock, mails, previewEnd};
};

TEST_F(AccountSecurityTest, TheCheckAndBothDeletionsLogInWithTheAccountsChoice) {
    struct Case {
        const char* host;
        MailSecurity security;
        std::vector<std::string> beforeUser;  // what each login sends before USER
        std::uint16_t port;
    };
    const Case cases[] = {
        {"plain", MailSecurity::None, {}, 110},
        {"upgraded", MailSecurity::StartTls, {"STLS", "[TLS]"}, 110},
        {"secure", MailSecurity::Tls, {"[TLS]"}, 995},
    };
    for (const Case& c : cases) {
        Mailbox(c.host, c.security);
    }
    FilterSet filters;
    filters.lists.subjects = {"spam"};
    ASSERT_EQ(cycle.StartCheck(accounts, filters), CCheckCycle::Start::Started);
    ASSERT_TRUE(observer.WaitChecks(1));
    ASSERT_EQ(cycle.StartDeleteFiltered(), CCheckCycle::Start::Started);
    ASSERT_TRUE(observer.WaitDeletions(1));
    // Then the preview deletes the other message of each mailbox.
    std::vector<PreviewDeletionRow> rows;
    const std::vector<MailRecord> records = mails.Snapshot();
    for (std::size_t i = 0; i < records.size(); ++i) {
        rows.push_back(
            {i, records[i], records[i].m_nStatus == kMailDeleted ? kRowUnticked : kRowTicked});
    }
    ASSERT_EQ(preview.StartDeletion(std::move(rows)), CPreviewDeletion::Start::Started);
    ASSERT_TRUE(previewEnd.WaitEnd());

    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        EXPECT_EQ(net.Ports(c.host), std::vector<std::uint16_t>(3, c.port));
        const std::vector<std::string> commands = net.Commands(c.host);
        int logins = 0;
        for (std::size_t i = 0; i < commands.size(); ++i) {
            if (commands[i] != "USER u") {
                continue;
            }
            ++logins;
            ASSERT_GE(i, c.beforeUser.size());
            EXPECT_EQ(std::vector<std::string>(commands.begin() + static_cast<long>(i) -
                                                   static_cast<long>(c.beforeUser.size()),
                                               commands.begin() + static_cast<long>(i)),
                      c.beforeUser);
        }
        EXPECT_EQ(logins, 3) << "the check, the filtered deletion and the preview's";
        const auto upgrades = std::count(commands.begin(), commands.end(), "STLS");
        const auto handshakes = std::count(commands.begin(), commands.end(), "[TLS]");
        EXPECT_EQ(upgrades, c.security == MailSecurity::StartTls ? 3 : 0);
        EXPECT_EQ(handshakes, c.security == MailSecurity::None ? 0 : 3);
        // The filtered deletion really logged in: the spam is gone. (The preview's row of the
        // other message names message 2, which moved up: the confirmation keeps it.)
        auto lock = net.Lock();
        EXPECT_EQ(net.MailboxOf(c.host, "u").messages.size(), 1u);
    }
}

}  // namespace
}  // namespace quorlet
