// The check cycle against POP3 servers in memory: the three slots and their hand-over, the rows'
// images and columns, the mail table in account order, the abort command and a full mail table.
#include "mail/check_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "check_fixture.h"
#include "support/memory_pop3.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::MemoryPop3;
using testing::RecordingObserver;
using testing::TempDir;
using Img = RowImage;

class CheckCycleTest : public testing::CheckCycleFixture {
protected:
    void Account(const std::string& name, const std::string& host, const std::string& user,
                 const std::string& password = "pw") {
        accounts.push_back({name, host, user, password, true});
    }

    // Starts a check and waits for its end.
    void Check(FilterSet filters = {}) {
        const std::size_t before = observer.Finishes().size();
        ASSERT_EQ(cycle.StartCheck(accounts, std::move(filters)), CCheckCycle::Start::Started);
        ASSERT_TRUE(observer.WaitChecks(before + 1));
    }

    std::vector<std::string> Column(auto field) {
        std::vector<std::string> values;
        for (const MailRecord& r : mails.Snapshot()) {
            values.push_back(field(r));
        }
        return values;
    }

    // Waits until a host has seen a command that starts with `prefix` (or a connect, for "").
    bool WaitForCommand(const std::string& host, const std::string& prefix) {
        for (int i = 0; i < 4000; ++i) {
            if (prefix.empty() ? net.Connects(host) > 0 : [&] {
                    for (const std::string& c : net.Commands(host)) {
                        if (c.rfind(prefix, 0) == 0) {
                            return true;
                        }
                    }
                    return false;
                }()) {
                return true;
            }
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }
};

TEST_F(CheckCycleTest, FiveAccountsGiveTheirColumnsAndTheTableStaysInAccountOrder) {
    // Account 0 answers slowly, so accounts 3 and 4 go to the slots of accounts 1 and 2 and end
    // before it.
    net.AddHost("slow").delay = 40ms;
    auto& slow = net.AddMailbox("slow", "ann", "pw").messages;
    slow = {MemoryPop3::MakeMessage("a@x", "one", 1000),
            MemoryPop3::MakeMessage("b@x", "two", 1500),
            MemoryPop3::MakeMessage("c@x", "three", 2500)};
    net.AddMailbox("wrong", "bob", "right");
    net.AddHost("down").refuse = true;
    net.AddMailbox("empty", "cy", "pw");
    net.AddMailbox("two", "di", "pw").messages = {MemoryPop3::MakeMessage("d@x", "four", 3000),
                                                  MemoryPop3::MakeMessage("e@x", "five", 5000)};
    Account("Slow", "slow", "ann");
    Account("Wrong", "wrong", "bob", "guess");
    Account("Down", "down", "x");
    Account("Empty", "empty", "cy");
    Account("Two", "two", "di");

    Check();

    // Three slot threads took accounts 0 to 2; accounts 3 and 4 went to the slots that ran dry
    // first, not to the slow one.
    const auto thread = [this](const char* host) { return net.ConnectThreads(host).at(0); };
    EXPECT_EQ(std::set({thread("slow"), thread("wrong"), thread("down")}).size(), 3u);
    for (const char* later : {"empty", "two"}) {
        EXPECT_TRUE(thread(later) == thread("wrong") || thread(later) == thread("down")) << later;
    }

    EXPECT_EQ(observer.Result(0), std::make_pair(std::string("3"), std::string("4KB")));
    EXPECT_EQ(observer.Result(1), std::make_pair(std::string("无效密码"), std::string()));
    EXPECT_EQ(observer.Result(2), std::make_pair(std::string("连接失败"), std::string()));
    EXPECT_EQ(observer.Result(3), std::make_pair(std::string("0"), std::string("0KB")));
    EXPECT_EQ(observer.Result(4), std::make_pair(std::string("2"), std::string("7KB")));
    EXPECT_EQ(observer.Images(0), (std::vector<Img>{Img::Connecting, Img::Reading, Img::Idle}));
    EXPECT_EQ(observer.Images(2), (std::vector<Img>{Img::Connecting, Img::Idle}));

    EXPECT_EQ(Column([](auto& r) { return r.m_strAccount + "#" + std::to_string(r.m_nNumber); }),
              (std::vector<std::string>{"Slow#1", "Slow#2", "Slow#3", "Two#1", "Two#2"}));
    const auto records = mails.Snapshot();
    EXPECT_EQ(records[1].m_nSize, 1500);
    EXPECT_EQ(records[1].m_strFrom, " b@x");
    EXPECT_EQ(records[1].m_strSubject, " two");
    EXPECT_EQ(records[1].m_strDate, " Mon, 06 May 2002 10:20:30 +0800");
    EXPECT_EQ(records[4].m_strServer, "two");
    EXPECT_EQ(records[4].m_strPassword, "pw");

    const auto finishes = observer.Finishes();
    ASSERT_EQ(finishes.size(), 1u);
    EXPECT_TRUE(finishes[0].haveMail);
    EXPECT_FALSE(finishes[0].haveFiltered);
    EXPECT_FALSE(cycle.IsBusy());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "spool files left behind";
}

TEST_F(CheckCycleTest, NoAccountsEndsAtOnceWithoutMail) {
    Check();
    ASSERT_EQ(observer.Finishes().size(), 1u);
    EXPECT_FALSE(observer.Finishes()[0].haveMail);
    EXPECT_TRUE(net.ConnectOrder().empty());
    EXPECT_TRUE(observer.Images(0).empty()) << "an unassigned slot reported a row";
}

TEST_F(CheckCycleTest, EachCheckStartsAFreshTableAndNotifiesAgain) {
    net.AddMailbox("a", "u", "pw").messages = {MemoryPop3::MakeMessage("a@x", "s", 10),
                                               MemoryPop3::MakeMessage("b@x", "t", 10)};
    Account("A", "a", "u");
    Check();
    Check();
    EXPECT_EQ(mails.Count(), 2u);
    const auto finishes = observer.Finishes();
    ASSERT_EQ(finishes.size(), 2u);
    EXPECT_TRUE(finishes[1].haveMail) << "mail seen before is new mail again";
}

TEST_F(CheckCycleTest, DisabledAccountsArePassedOverWhateverTheMomentTheyAreSwitchedOff) {
    for (const char* host : {"h0", "h1", "h2"}) {
        net.AddHost(host).hangConnect = true;
        net.AddMailbox(host, "u", "pw");
    }
    net.AddMailbox("h3", "u", "pw");
    net.AddMailbox("h4", "u", "pw");
    for (const char* host : {"h0", "h1", "h2", "h3", "h4"}) {
        Account(host, host, "u");
    }
    accounts[4].m_bEnabled = false;
    ASSERT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Started);
    // Switched off while the check runs, before a slot reaches it.
    cycle.SetAccountEnabled(3, false);
    for (const char* host : {"h0", "h1", "h2"}) {
        net.Release(host);
    }
    ASSERT_TRUE(observer.WaitChecks(1));
    for (int row : {3, 4}) {
        EXPECT_EQ(observer.Images(row), std::vector<Img>{Img::Idle});
        EXPECT_EQ(observer.Result(row), std::make_pair(std::string(), std::string()));
    }
    EXPECT_EQ(net.Connects("h3") + net.Connects("h4"), 0);
    EXPECT_EQ(observer.Result(0).first, "0");
}

TEST_F(CheckCycleTest, NothingStartsWhileBusyAndAFailedStartChangesNothing) {
    net.AddHost("held").hangConnect = true;
    net.AddMailbox("held", "u", "pw");
    Account("Held", "held", "u");
    ASSERT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Started);
    EXPECT_TRUE(cycle.IsBusy());
    EXPECT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Busy);
    EXPECT_EQ(cycle.StartDeleteFiltered(), CCheckCycle::Start::Busy);
    net.Release("held");
    ASSERT_TRUE(observer.WaitChecks(1));

    {
        std::lock_guard lock(mails.Lock());
        mails.Records().push_back(MailRecord{});
    }
    int launches = 0;
    cycle.SetThreadLauncher([&launches](std::function<void()> body) {
        if (++launches == 2) {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        return std::thread(std::move(body));
    });
    EXPECT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::ThreadFailed);
    EXPECT_FALSE(cycle.IsBusy());
    EXPECT_EQ(mails.Count(), 1u) << "a check that did not start emptied the table";
    EXPECT_EQ(net.Connects("held"), 1);

    cycle.SetThreadLauncher(
        [](std::function<void()> body) { return std::thread(std::move(body)); });
    Check();
    EXPECT_EQ(net.Connects("held"), 2);
}

TEST_F(CheckCycleTest, AbortEndsAConnectInProgressAndLaterAccountsAreStillChecked) {
    for (const char* host : {"h0", "h1", "h2"}) {
        net.AddHost(host).hangConnect = true;
        net.AddMailbox(host, "u", "pw");
    }
    net.AddMailbox("h3", "u", "pw").messages = {MemoryPop3::MakeMessage("a@x", "s", 2048)};
    for (const char* host : {"h0", "h1", "h2", "h3"}) {
        Account(host, host, "u");
    }
    ASSERT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Started);
    for (const char* host : {"h0", "h1", "h2"}) {
        ASSERT_TRUE(WaitForCommand(host, ""));
    }
    const auto aborted = std::chrono::steady_clock::now();
    auto rows = cycle.AbortCheck();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2}));
    ASSERT_TRUE(observer.WaitChecks(1));
    // The connect limit is 30 s: only the abort can have ended the waits this soon.
    EXPECT_LT(std::chrono::steady_clock::now() - aborted, 5s);
    for (int row : {0, 1, 2}) {
        EXPECT_EQ(observer.Result(row).first, "连接失败");
    }
    EXPECT_EQ(observer.Result(3), std::make_pair(std::string("1"), std::string("2KB")));
}

TEST_F(CheckCycleTest, AbortEndsAReplyWait) {
    net.AddHost("quiet").silentAfter = "STAT";
    net.AddMailbox("quiet", "u", "pw");
    Account("Quiet", "quiet", "u");
    ASSERT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Started);
    ASSERT_TRUE(WaitForCommand("quiet", "STAT"));
    const auto aborted = std::chrono::steady_clock::now();
    EXPECT_EQ(cycle.AbortCheck(), std::vector<int>{0});
    ASSERT_TRUE(observer.WaitChecks(1));
    EXPECT_LT(std::chrono::steady_clock::now() - aborted, 5s);
    // Nothing was wrong with the server: the row says what an aborted connect says.
    EXPECT_EQ(observer.Result(0), std::make_pair(std::string("连接失败"), std::string()));
    EXPECT_EQ(observer.Images(0).back(), Img::Idle);
    EXPECT_TRUE(cycle.AbortCheck().empty()) << "nothing left to abort";
}

// Inside the TOP loop the mailbox has been counted: an abort there shows the count and size as
// the check would have shown them, and keeps the messages read so far.
TEST_F(CheckCycleTest, AbortWhileReadingHeadersShowsTheCounts) {
    net.AddHost("quiet").silentAfter = "TOP 2";
    net.AddMailbox("quiet", "u", "pw")
        .messages.assign(3, MemoryPop3::MakeMessage("a@x", "s", 2048));
    Account("Quiet", "quiet", "u");
    ASSERT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Started);
    ASSERT_TRUE(WaitForCommand("quiet", "TOP 2"));
    EXPECT_EQ(cycle.AbortCheck(), std::vector<int>{0});
    ASSERT_TRUE(observer.WaitChecks(1));
    EXPECT_EQ(observer.Result(0), std::make_pair(std::string("3"), std::string("6KB")));
    EXPECT_EQ(Column([](auto& r) { return std::to_string(r.m_nNumber); }),
              std::vector<std::string>{"1"});
}

// The row's last reports and the slot's hand-over happen together under the mail table's lock:
// an abort pressed at that moment finds the account finished and leaves its row alone.
TEST_F(CheckCycleTest, AnAbortAsTheAccountFinishesLeavesItsRowFinished) {
    net.AddMailbox("a", "u", "pw").messages = {MemoryPop3::MakeMessage("a@x", "s", 1024)};
    Account("A", "a", "u");
    std::mutex mutex;
    std::condition_variable changed;
    bool finishing = false;
    observer.onImage = [&](int row, Img image) {
        if (row == 0 && image == Img::Idle) {
            {
                std::lock_guard lock(mutex);
                finishing = true;
            }
            changed.notify_all();
            std::this_thread::sleep_for(100ms);  // the abort comes now
        }
    };
    ASSERT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Started);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 10s, [&] { return finishing; }));
    }
    EXPECT_EQ(cycle.AbortCheck(), std::vector<int>{}) << "the finished row would show aborted";
    ASSERT_TRUE(observer.WaitChecks(1));
    EXPECT_EQ(observer.Result(0), std::make_pair(std::string("1"), std::string("1KB")));
}

// A reply that was not read whole leaves the rest of it on the connection, where the next
// command would take it for its own reply and records would get other messages' fields: the
// account is given up with its error instead.
class UnreadReplyTest : public CheckCycleTest {
protected:
    void CheckMailbox() {
        net.AddMailbox("a", "u", "pw").messages = {MemoryPop3::MakeMessage("a@x", "one", 110),
                                                   MemoryPop3::MakeMessage("b@x", "two", 120),
                                                   MemoryPop3::MakeMessage("c@x", "three", 130)};
        Account("A", "a", "u");
        Check();
        const char* subjects[] = {" one", " two", " three"};
        for (const MailRecord& r : mails.Snapshot()) {
            ASSERT_TRUE(r.m_nNumber >= 1 && r.m_nNumber <= 3);
            EXPECT_EQ(r.m_strSubject, subjects[r.m_nNumber - 1]) << r.m_nNumber;
        }
    }
};

TEST_F(UnreadReplyTest, OnlyTheListSpoolFileCannotBeCreated) {
    for (const char* name : {"QlList0.p3", "QlList1.p3", "QlList2.p3"}) {
        std::filesystem::create_directory(dir.File(name));
    }
    CheckMailbox();
    EXPECT_EQ(observer.Result(0),
              std::make_pair(std::string("Error creating temp input file!"), std::string()));
    EXPECT_EQ(mails.Count(), 0u);
}

TEST_F(UnreadReplyTest, AListThatStallsInItsMiddle) {
    CheckOptions options;
    options.spoolFolder = dir.File("");
    options.replyLimit = 200ms;
    cycle.SetOptions(options);
    MemoryPop3::Host& host = net.AddHost("a");
    host.lateAt = "LIST";
    host.lateSplit = std::string("+OK scan listing follows\r\n1 110\r\n").size();
    host.lateBy = 350ms;  // after the limit, while the next command would wait
    CheckMailbox();
    EXPECT_EQ(observer.Result(0),
              std::make_pair(std::string("Error reading from socket!"), std::string()));
    EXPECT_EQ(mails.Count(), 0u);
}

// No exception leaves a slot thread: an account whose check runs out of memory shows a failure
// and the check ends as usual.
TEST_F(CheckCycleTest, ASlotThatRunsOutOfMemoryEndsTheCheckCleanly) {
    net.AddHost("oom").throwAtConnect = true;
    net.AddMailbox("oom", "u", "pw");
    net.AddMailbox("fine", "u", "pw").messages = {MemoryPop3::MakeMessage("a@x", "s", 10)};
    Account("Oom", "oom", "u");
    Account("Fine", "fine", "u");
    Check();
    EXPECT_EQ(observer.Result(0), std::make_pair(std::string("初始化失败"), std::string()));
    EXPECT_EQ(observer.Images(0).back(), Img::Idle);
    EXPECT_EQ(observer.Result(1), std::make_pair(std::string("1"), std::string("0KB")));
    EXPECT_FALSE(cycle.IsBusy());
}

TEST_F(CheckCycleTest, AFullMailTableNamesTheAccountsItStopped) {
    auto& big = net.AddMailbox("big", "u", "pw").messages;
    for (int i = 0; i < 600; ++i) {
        big.push_back(MemoryPop3::MakeMessage("a@x", "m" + std::to_string(i), 100));
    }
    for (const char* host : {"five", "empty"}) {
        net.AddHost(host).hangConnect = true;  // start only once the table is full
    }
    net.AddMailbox("five", "u", "pw").messages.assign(5, MemoryPop3::MakeMessage("b@x", "s", 10));
    net.AddMailbox("empty", "u", "pw");
    net.AddMailbox("later", "u", "pw").messages.assign(3, MemoryPop3::MakeMessage("c@x", "s", 10));
    // A wrong password first, so the slot's session holds an error text from an earlier account.
    net.AddMailbox("wrong", "u", "right");
    Account("Wrong", "wrong", "u");
    Account("Five", "five", "u");
    Account("Empty", "empty", "u");
    Account("Big", "big", "u");
    Account("Later", "later", "u");
    ASSERT_EQ(cycle.StartCheck(accounts, {}), CCheckCycle::Start::Started);
    for (int i = 0; i < 4000 && observer.Result(3).first.empty(); ++i) {
        std::this_thread::sleep_for(5ms);
    }
    net.Release("five");
    net.Release("empty");
    ASSERT_TRUE(observer.WaitChecks(1));

    EXPECT_EQ(mails.Count(), MailTable::kCapacity);
    EXPECT_EQ(observer.Result(3), std::make_pair(std::string(kMailTableFull), std::string()));
    EXPECT_EQ(observer.Result(4), std::make_pair(std::string(kMailTableFull), std::string()));
    EXPECT_EQ(observer.Result(1), std::make_pair(std::string(kMailTableFull), std::string()));
    EXPECT_EQ(observer.Result(2), std::make_pair(std::string("0"), std::string("0KB")));
    const auto records = mails.Snapshot();
    EXPECT_EQ(records.back().m_strAccount, "Big");
    EXPECT_EQ(records.back().m_nNumber, 512);
}

TEST_F(CheckCycleTest, RecordsAreGroupedByTheAccountTheyWereReadFor) {
    auto& a = net.AddMailbox("shared", "ann", "pw").messages;
    a = {MemoryPop3::MakeMessage("a@x", "1", 10), MemoryPop3::MakeMessage("a@x", "2", 10)};
    net.AddMailbox("shared", "bob", "pw").messages = {MemoryPop3::MakeMessage("b@x", "3", 10)};
    Account("Ann", "shared", "ann");
    Account("Bob", "shared", "bob");
    Account("Ann again", "shared", "ann");
    Check();
    EXPECT_EQ(Column([](auto& r) { return r.m_strAccount + "#" + std::to_string(r.m_nNumber); }),
              (std::vector<std::string>{"Ann#1", "Ann#2", "Bob#1", "Ann again#1", "Ann again#2"}));
}

TEST_F(CheckCycleTest, TheFiltersOfTheCheckMarkItsTable) {
    net.AddMailbox("a", "u", "pw").messages = {MemoryPop3::MakeMessage("a@x", "hello", 10),
                                               MemoryPop3::MakeMessage("spam@x", "x", 10),
                                               MemoryPop3::MakeMessage("b@x", "y", 300000)};
    Account("A", "a", "u");
    FilterSet filters;
    filters.lists.addresses = {"spam@"};
    filters.switches.mailLength = "100";
    Check(filters);
    EXPECT_EQ(Column([](auto& r) { return std::to_string(r.m_nStatus); }),
              (std::vector<std::string>{"0", "1", "1"}));
    EXPECT_TRUE(observer.Finishes()[0].haveFiltered);
}

}  // namespace
}  // namespace quorlet
