// The preview's deletion after a real check of POP3 servers in memory (which apply DELE only when
// QUIT succeeds): the chosen rows go and the rest of their group is left, a message changed
// since the check survives, a failed QUIT reports nothing deleted, a failed login lets a later row
// of the group try again, and the stop command cuts a connect or a reply wait at once.
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <thread>

#include "check_fixture.h"
#include "mail/preview_deletion.h"
#include "mail/preview_rows.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::MemoryPop3;

class RecordingDeletionObserver final : public PreviewDeletionObserver {
public:
    void OnRowOutcome(std::size_t record, int outcome) override {
        std::lock_guard lock(m_mutex);
        outcomes.push_back({record, outcome});
    }
    void OnDeletionEnded() override {
        std::lock_guard lock(m_mutex);
        ended = true;
        m_changed.notify_all();
    }
    bool WaitEnd(std::chrono::seconds limit = std::chrono::seconds(20)) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] { return ended; });
    }
    // The last outcome of each record, as letters ('-' for none).
    std::string Last(std::size_t records) {
        std::lock_guard lock(m_mutex);
        std::string letters(records, '-');
        for (auto [record, outcome] : outcomes) {
            letters[record] = static_cast<char>(outcome);
        }
        return letters;
    }

    std::vector<std::pair<std::size_t, int>> outcomes;
    bool ended = false;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

class PreviewDeletionTest : public testing::CheckCycleFixture {
protected:
    void Mailbox(const std::string& host, int count) {
        m_sizes[host] = count;
        auto& messages = net.AddMailbox(host, "u", "pw").messages;
        for (int i = 1; i <= count; ++i) {
            const std::string s = host + std::to_string(i);
            messages.push_back(MemoryPop3::MakeMessage(s + "@x", s, 100 + i));
        }
        accounts.push_back({host, host, "u", "pw", true});
    }

    void Check() {
        ASSERT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Started);
        ASSERT_TRUE(observer.WaitChecks(++m_checks));
    }

    // Every mailbox as Mailbox() made it and every host answering again, then a check.
    void Recheck() {
        {
            auto lock = net.Lock();
            for (const AccountRecord& a : accounts) {
                auto& messages = net.MailboxOf(a.m_strServer, "u").messages;
                messages.clear();
                for (int i = 1; i <= m_sizes[a.m_strServer]; ++i) {
                    const std::string s = a.m_strServer + std::to_string(i);
                    messages.push_back(MemoryPop3::MakeMessage(s + "@x", s, 100 + i));
                }
                MemoryPop3::Host& host = net.AddHost(a.m_strServer);
                host.errAt.clear();
                host.dropAt.clear();
                host.silentAfter.clear();
                host.hangConnect = false;
            }
        }
        deleted.ended = false;
        deleted.outcomes.clear();
        Check();
    }

    // Starts the deletion with the rows of every record, ticked where `ticks` has a '1'.
    void Start(const std::string& ticks) {
        const auto records = mails.Snapshot();
        ASSERT_EQ(records.size(), ticks.size());
        std::vector<PreviewDeletionRow> rows;
        for (std::size_t i = 0; i < records.size(); ++i) {
            rows.push_back({i, records[i], ticks[i] == '1' ? kRowTicked : kRowUnticked});
        }
        ASSERT_EQ(deletion.StartDeletion(std::move(rows)), CPreviewDeletion::Start::Started);
    }

    void Delete(const std::string& ticks) {
        Start(ticks);
        ASSERT_TRUE(deleted.WaitEnd());
        EXPECT_FALSE(deletion.IsRunning());
    }

    std::string Statuses() { return testing::StatusLetters(mails.Snapshot()); }

    std::vector<std::string> Subjects(const std::string& host) {
        auto lock = net.Lock();
        std::vector<std::string> headers;
        for (const auto& m : net.MailboxOf(host, "u").messages) {
            headers.push_back(m.header);
        }
        return testing::SubjectsOf(headers);
    }

    void WaitForCommand(const std::string& host, const std::string& command) {
        for (int i = 0; i < 4000; ++i) {
            for (const std::string& c : net.Commands(host)) {
                if (c == command) {
                    return;
                }
            }
            std::this_thread::sleep_for(2ms);
        }
        FAIL() << command << " never came";
    }

    RecordingDeletionObserver deleted;
    CPreviewDeletion deletion{net, clock, mails, deleted};

private:
    std::map<std::string, int> m_sizes;
    std::size_t m_checks = 0;
};

TEST_F(PreviewDeletionTest, TheTickedRowsGoAndTheRestOfTheirGroupIsLeft) {
    Mailbox("a", 5);
    Mailbox("b", 1);
    Check();
    Delete(
        "01010"
        "0");
    // The group's walk starts at its first chosen row; a group without one is not visited.
    EXPECT_EQ(deleted.Last(6), "-DRDR-");
    EXPECT_EQ(Statuses(),
              "0DRDR"
              "0");
    EXPECT_EQ(Subjects("a"), (std::vector<std::string>{"a1", "a3", "a5"}));
    EXPECT_EQ(net.Connects("b"), 1) << "only the check's";
    // Each DELE was confirmed first with LIST n and TOP n 0.
    const auto commands = net.Commands("a");
    const auto dele = std::find(commands.begin(), commands.end(), "DELE 2");
    ASSERT_NE(dele, commands.end());
    EXPECT_EQ(*(dele - 2), "LIST 2");
    EXPECT_EQ(*(dele - 1), "TOP 2 0");
}

TEST_F(PreviewDeletionTest, WhatTheServerDidNotCommitIsNotReportedDeleted) {
    struct Case {
        std::string MemoryPop3::Host::*field;
        const char* command;
    };
    const Case cases[] = {{&MemoryPop3::Host::errAt, "QUIT"},
                          {&MemoryPop3::Host::errAt, "DELE"},
                          {&MemoryPop3::Host::dropAt, "DELE 2"}};
    Mailbox("a", 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Recheck();
        {
            auto lock = net.Lock();
            net.AddHost("a").*c.field = c.command;
        }
        Delete("11");
        EXPECT_EQ(deleted.Last(2), "FF");
        EXPECT_EQ(Statuses(), "FF");
        EXPECT_EQ(Subjects("a").size(), 2u);
    }
}

TEST_F(PreviewDeletionTest, AMessageChangedOnTheServerSinceTheCheckSurvives) {
    Mailbox("a", 3);
    Check();
    {
        // Another mail program took message 1: numbers 2 and 3 are now other messages.
        auto lock = net.Lock();
        auto& messages = net.MailboxOf("a", "u").messages;
        messages.erase(messages.begin());
    }
    Delete("011");
    EXPECT_EQ(deleted.Last(3), "-FF");
    EXPECT_EQ(Subjects("a"), (std::vector<std::string>{"a2", "a3"}));
}

TEST_F(PreviewDeletionTest, AFailedLoginLetsALaterRowOfTheGroupTryAgain) {
    Mailbox("a", 3);
    Check();
    {
        auto lock = net.Lock();
        net.AddHost("a").errAt = "PASS";
    }
    Delete("101");
    EXPECT_EQ(net.Connects("a"), 1 + 2);
    EXPECT_EQ(deleted.Last(3), "E-E") << "the rows keep their states";
    EXPECT_EQ(Statuses(), "000");
    EXPECT_EQ(Subjects("a").size(), 3u);
}

TEST_F(PreviewDeletionTest, TheStopCutsAConnectOrAReplyWaitAtOnce) {
    Mailbox("a", 2);
    Mailbox("b", 2);
    for (bool atConnect : {true, false}) {
        SCOPED_TRACE(atConnect ? "connect" : "DELE");
        Recheck();
        {
            auto lock = net.Lock();
            if (atConnect) {
                net.AddHost("a").hangConnect = true;
            } else {
                net.AddHost("a").silentAfter = "DELE";
            }
        }
        const int connects = net.Connects("a");
        Start(
            "11"
            "11");
        for (int i = 0; i < 4000 && net.Connects("a") == connects; ++i) {
            std::this_thread::sleep_for(2ms);
        }
        if (!atConnect) {
            WaitForCommand("a", "DELE 1");
        }
        std::this_thread::sleep_for(50ms);
        const auto stopped = std::chrono::steady_clock::now();
        deletion.Stop();
        ASSERT_TRUE(deleted.WaitEnd());
        EXPECT_LT(std::chrono::steady_clock::now() - stopped, 5s);  // the limits are 30 s
        EXPECT_EQ(deleted.Last(4), "RR--") << "the group stays; the next one is not reached";
        EXPECT_EQ(Subjects("a").size(), 2u);
        EXPECT_EQ(Subjects("b").size(), 2u);
    }
}

}  // namespace
}  // namespace quorlet
