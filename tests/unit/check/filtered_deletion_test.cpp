// The deletion of filtered mail after a check, against POP3 servers in memory that apply DELE
// only when QUIT succeeds: what is deleted, what is refused, what is left, and the stop request.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>

#include "check_fixture.h"
#include "mail/check_cycle.h"
#include "support/memory_pop3.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::MemoryPop3;
using testing::RecordingObserver;
using testing::TempDir;

class FilteredDeletionTest : public testing::CheckCycleFixture {
protected:
    // A mailbox whose messages have the given subjects; "spam" ones are the filter's.
    std::vector<MemoryPop3::Message>& Mailbox(const std::string& host,
                                              std::vector<std::string> subjects) {
        auto& messages = net.AddMailbox(host, "u", "pw").messages;
        for (const std::string& s : subjects) {
            messages.push_back(MemoryPop3::MakeMessage(s + "@x", s, 100 + s.size()));
        }
        accounts.push_back({host, host, "u", "pw", true});
        return messages;
    }

    void CheckWithFilter() {
        FilterSet filters;
        filters.lists.subjects = {"spam"};
        ASSERT_EQ(cycle.StartCheck(accounts, filters), CCheckCycle::Start::Started);
        ASSERT_TRUE(observer.WaitChecks(1));
    }

    void Delete() {
        ASSERT_EQ(cycle.StartDeleteFiltered(), CCheckCycle::Start::Started);
        ASSERT_TRUE(observer.WaitDeletions(1));
        EXPECT_FALSE(cycle.IsBusy());
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
};

TEST_F(FilteredDeletionTest, ExactlyTheMarkedMessagesGo) {
    Mailbox("a", {"ok1", "spam1", "ok2", "spam2"});
    Mailbox("b", {"spam3"});
    Mailbox("c", {"ok3"});
    // A message without a Date line carries the time of each reading; it is still the same one.
    {
        auto lock = net.Lock();
        net.MailboxOf("b", "u").messages[0] = MemoryPop3::MakeMessage("s@x", "spam3", 50, "");
    }
    CheckWithFilter();
    EXPECT_EQ(Statuses(),
              "0101"
              "1"
              "0");
    clock.Advance(120);
    Delete();
    EXPECT_EQ(Statuses(),
              "0DRD"
              "D"
              "0");  // records before the first marked one stay as they were
    EXPECT_EQ(Subjects("a"), (std::vector<std::string>{"ok1", "ok2"}));
    EXPECT_TRUE(Subjects("b").empty());
    EXPECT_EQ(Subjects("c"), std::vector<std::string>{"ok3"});
    EXPECT_EQ(net.Connects("c"), 1) << "a mailbox without marked mail was visited to delete";
    EXPECT_EQ(observer.Deletions(), 1);
}

TEST_F(FilteredDeletionTest, AMessageChangedSinceTheCheckIsNotDeleted) {
    Mailbox("a", {"spam1", "spam2", "ok"});
    Mailbox("b", {"spam3", "other"});
    CheckWithFilter();
    // Another mail program removed message 1: numbers moved up, so message 2 is now "ok".
    // In b, message 1 was replaced by one of the same size but another sender.
    {
        auto lock = net.Lock();
        auto& a = net.MailboxOf("a", "u").messages;
        a.erase(a.begin());
        net.MailboxOf("b", "u").messages[0].header = "From: x@y\r\nSubject: spam3\r\n";
    }
    Delete();
    EXPECT_EQ(Statuses(),
              "FFR"
              "FR");
    EXPECT_EQ(Subjects("a"), (std::vector<std::string>{"spam2", "ok"}));
    EXPECT_EQ(Subjects("b").size(), 2u);
}

TEST_F(FilteredDeletionTest, AnUnreachableServerMarksEachRecordItCouldNotLogInFor) {
    Mailbox("a", {"spam1", "ok", "spam2"});
    Mailbox("b", {"spam3"});
    CheckWithFilter();
    {
        auto lock = net.Lock();
        net.AddHost("a").refuse = true;
    }
    Delete();
    EXPECT_EQ(Statuses(),
              "E0E"
              "D");
    EXPECT_EQ(net.Connects("a"), 3) << "each marked record tries to log in again";
}

TEST_F(FilteredDeletionTest, NothingIsReportedDeletedWhenQuitFails) {
    Mailbox("a", {"spam1", "spam2"});
    Mailbox("b", {"spam3"});
    Mailbox("c", {"ok", "spam4"});
    CheckWithFilter();
    {
        auto lock = net.Lock();
        net.AddHost("a").errAt = "QUIT";
        net.AddHost("b").dropAt = "QUIT";
    }
    Delete();
    EXPECT_EQ(Statuses(),
              "FF"
              "F"
              "0D");
    EXPECT_EQ(Subjects("a").size(), 2u);
    EXPECT_EQ(Subjects("b").size(), 1u);
    EXPECT_EQ(Subjects("c"), std::vector<std::string>{"ok"});
}

TEST_F(FilteredDeletionTest, TheAbortCommandStopsTheRunAndLeavesTheRestOnTheServer) {
    Mailbox("a", {"spam1"});
    Mailbox("b", {"spam2", "ok"});
    CheckWithFilter();
    {
        auto lock = net.Lock();
        net.AddHost("a").hangConnect = true;
    }
    ASSERT_EQ(cycle.StartDeleteFiltered(), CCheckCycle::Start::Started);
    EXPECT_TRUE(cycle.IsBusy());
    EXPECT_TRUE(cycle.IsDeleting());
    EXPECT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Busy);
    for (int i = 0; i < 4000 && net.Connects("a") < 2; ++i) {
        std::this_thread::sleep_for(5ms);
    }
    const auto stopped = std::chrono::steady_clock::now();
    EXPECT_TRUE(cycle.AbortCheck().empty());
    ASSERT_TRUE(observer.WaitDeletions(1));
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 5s);  // the connect limit is 30 s
    EXPECT_EQ(Statuses(),
              "R"
              "RR");
    EXPECT_EQ(net.Connects("b"), 1) << "a stopped run went on to the next mailbox";
    EXPECT_EQ(Subjects("b").size(), 2u);
}

TEST_F(FilteredDeletionTest, AStopBetweenMessagesKeepsWhatWasDeleted) {
    Mailbox("a", {"spam1", "spam2", "spam3"});
    CheckWithFilter();
    {
        auto lock = net.Lock();
        MemoryPop3::Host& host = net.AddHost("a");
        host.lateAt = "DELE 1";  // the stop comes while the run waits for this reply
        host.lateBy = 300ms;
    }
    ASSERT_EQ(cycle.StartDeleteFiltered(), CCheckCycle::Start::Started);
    for (int i = 0; i < 4000 &&
                    [&] {
                        for (const std::string& c : net.Commands("a")) {
                            if (c == "DELE 1") {
                                return false;
                            }
                        }
                        return true;
                    }();
         ++i) {
        std::this_thread::sleep_for(2ms);
    }
    cycle.AbortCheck();
    ASSERT_TRUE(observer.WaitDeletions(1));
    // DELE 1 was on its way; its reply was not cut and QUIT made it stick.
    EXPECT_EQ(Statuses(), "DRR");
    EXPECT_EQ(Subjects("a"), (std::vector<std::string>{"spam2", "spam3"}));
}

TEST_F(FilteredDeletionTest, ClosingTheProgramEndsARunWaitingForASilentServer) {
    Mailbox("a", {"spam1"});
    auto local = std::make_unique<CCheckCycle>(net, mails, observer, clock, SystemCharsets());
    FilterSet filters;
    filters.lists.subjects = {"spam"};
    ASSERT_EQ(local->StartCheck(accounts, filters), CCheckCycle::Start::Started);
    ASSERT_TRUE(observer.WaitChecks(1));
    {
        auto lock = net.Lock();
        net.AddHost("a").silentAfter = "DELE";
    }
    ASSERT_EQ(local->StartDeleteFiltered(), CCheckCycle::Start::Started);
    for (int i = 0; i < 4000 && net.Commands("a").back() != "DELE 1"; ++i) {
        std::this_thread::sleep_for(2ms);
    }
    // The abort command does not cut a DELE reply ...
    local->AbortCheck();
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(local->IsDeleting());
    // ... but closing the program does, long before the 30 s reply limit.
    const auto closing = std::chrono::steady_clock::now();
    local.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 5s);
    EXPECT_EQ(Statuses(), "F");
    EXPECT_EQ(Subjects("a").size(), 1u);
}

// A DELE reply that comes after the limit would be read as the reply to the next command, and a
// QUIT could then seem to succeed: the run gives the connection up instead, so nothing of that
// mailbox is deleted and its records say so.
TEST_F(FilteredDeletionTest, ALateDeleReplyDeletesNothingOfThatMailbox) {
    CheckOptions options;
    options.spoolFolder = dir.File("");
    options.replyLimit = 200ms;
    cycle.SetOptions(options);
    Mailbox("a", {"spam1", "spam2", "spam3"});
    Mailbox("b", {"spam4"});
    CheckWithFilter();
    {
        auto lock = net.Lock();
        MemoryPop3::Host& host = net.AddHost("a");
        host.lateAt = "DELE 2";
        host.lateBy = 350ms;
    }
    Delete();
    EXPECT_EQ(Statuses(),
              "FFF"
              "D");
    EXPECT_EQ(Subjects("a").size(), 3u);
    EXPECT_TRUE(Subjects("b").empty());
}

// The stop request cuts the confirmation that precedes each DELE (LIST n, TOP n 0): nothing is
// deleted before DELE, so a silent server there need not hold the run.
TEST_F(FilteredDeletionTest, TheAbortCommandCutsTheConfirmation) {
    Mailbox("a", {"spam1"});
    CheckWithFilter();
    int runs = 0;
    for (const std::string confirming : {"LIST 1", "TOP 1 0"}) {
        {
            auto lock = net.Lock();
            net.AddHost("a").silentAfter = confirming;
        }
        const auto sent = [&] {
            const auto commands = net.Commands("a");
            return std::count(commands.begin(), commands.end(), confirming);
        };
        const auto before = sent();
        ASSERT_EQ(cycle.StartDeleteFiltered(), CCheckCycle::Start::Started);
        for (int i = 0; i < 4000 && sent() == before; ++i) {
            std::this_thread::sleep_for(2ms);
        }
        const auto stopped = std::chrono::steady_clock::now();
        cycle.AbortCheck();
        ASSERT_TRUE(observer.WaitDeletions(++runs));
        EXPECT_LT(std::chrono::steady_clock::now() - stopped, 5s) << confirming;
        EXPECT_EQ(Statuses(), "R") << confirming;
        EXPECT_EQ(Subjects("a").size(), 1u);
        // The next run tries the record again.
        std::lock_guard lock(mails.Lock());
        mails.Records()[0].m_nStatus = kMailMarked;
    }
}

// No exception leaves the deletion thread: a run that runs out of memory ends as usual.
TEST_F(FilteredDeletionTest, ARunThatRunsOutOfMemoryEndsCleanly) {
    Mailbox("a", {"spam1"});
    CheckWithFilter();
    {
        auto lock = net.Lock();
        net.AddHost("a").throwAtConnect = true;
    }
    Delete();
    EXPECT_EQ(Statuses(), "1") << "still marked: a later run may delete it";
    EXPECT_EQ(Subjects("a").size(), 1u);
    EXPECT_EQ(cycle.StartDeleteFiltered(), CCheckCycle::Start::Started) << "the run did not end";
    ASSERT_TRUE(observer.WaitDeletions(2));
}

TEST_F(FilteredDeletionTest, ARunThatCannotStartLeavesTheProgramIdle) {
    Mailbox("a", {"spam1"});
    CheckWithFilter();
    cycle.SetThreadLauncher([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    EXPECT_EQ(cycle.StartDeleteFiltered(), CCheckCycle::Start::ThreadFailed);
    EXPECT_FALSE(cycle.IsBusy());
    EXPECT_EQ(Statuses(), "1");
}

}  // namespace
}  // namespace quorlet
