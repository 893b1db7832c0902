// The simulated dial-up service, the dial state and the line test against it.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <vector>

#include "dialup/dial_state.h"
#include "platform/charsets.h"
#include "platform/file_system.h"
#include "platform/simulated_remote_access.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

using Script = SimulatedRemoteAccess::DialScript;

struct Report {
    unsigned state;
    unsigned error;
};

// Collects the reports, which arrive on the service's own thread.
struct Reports {
    std::mutex mutex;
    std::vector<Report> items;
    std::atomic<std::thread::id> thread{};

    RemoteAccess::DialNotifier Notifier() {
        return [this](unsigned state, unsigned error) {
            thread = std::this_thread::get_id();
            std::lock_guard lock(mutex);
            items.push_back({state, error});
        };
    }
    std::vector<unsigned> States() {
        std::lock_guard lock(mutex);
        std::vector<unsigned> states;
        for (const Report& r : items) {
            states.push_back(r.state);
        }
        return states;
    }
};

Script FastScript(std::vector<unsigned> states = SimulatedRemoteAccess::StandardStates()) {
    Script script;
    script.states = std::move(states);
    script.delayMs = 0;
    return script;
}

TEST(SimulatedRemoteAccess, DialReportsEveryStateOnItsOwnThreadAndConnects) {
    SimulatedRemoteAccess ras;
    ras.SetEntries({"163", "Office"});
    ras.SetDialScript(FastScript());
    Reports reports;
    RasHandle handle = 0;
    ASSERT_EQ(ras.Dial("163", "user", "secret", reports.Notifier(), handle), 0u);
    EXPECT_NE(handle, 0u);
    ras.WaitUntilIdle();
    EXPECT_EQ(reports.States(), SimulatedRemoteAccess::StandardStates());
    EXPECT_NE(reports.thread.load(), std::this_thread::get_id());
    for (const Report& r : reports.items) {
        EXPECT_EQ(r.error, 0u);
    }
    EXPECT_EQ(ras.ConnectState(handle), RasState::kConnected);
    EXPECT_EQ(ras.LastDialUser(), "user");

    std::string name = "old";
    EXPECT_TRUE(IsLineConnected(ras, name));
    EXPECT_EQ(name, "163");
}

TEST(SimulatedRemoteAccess, FailuresAtOnceAndAtTheEndOfTheProgress) {
    SimulatedRemoteAccess ras;
    ras.SetEntries({"163"});
    RasHandle handle = 99;
    Reports none;
    EXPECT_EQ(ras.Dial("Unknown", "u", "p", none.Notifier(), handle), RasError::kCannotFindEntry);
    EXPECT_EQ(handle, 0u);

    Script busy = FastScript({RasState::kOpenPort, RasState::kPortOpened});
    busy.immediateError = RasError::kLineBusy;
    ras.SetDialScript(busy);
    EXPECT_EQ(ras.Dial("163", "u", "p", none.Notifier(), handle), RasError::kLineBusy);
    EXPECT_EQ(handle, 0u);

    // No answer: the error comes with the last report, the line never counts as up, and the
    // failed attempt holds its handle until it is hung up.
    Script noAnswer =
        FastScript({RasState::kOpenPort, RasState::kPortOpened, RasState::kConnectDevice});
    noAnswer.finalError = RasError::kNoAnswer;
    ras.SetDialScript(noAnswer);
    Reports reports;
    ASSERT_EQ(ras.Dial("163", "u", "p", reports.Notifier(), handle), 0u);
    ras.WaitUntilIdle();
    ASSERT_EQ(reports.items.size(), 3u);
    EXPECT_EQ(reports.items[2].error, RasError::kNoAnswer);
    EXPECT_EQ(reports.items[1].error, 0u);
    std::string name;
    EXPECT_FALSE(IsLineConnected(ras, name));
    EXPECT_EQ(ras.EnumConnections()->size(), 1u);
    EXPECT_EQ(ras.HangUp(handle), 0u);
    EXPECT_TRUE(ras.EnumConnections()->empty());
    EXPECT_EQ(ras.HangUp(handle), RasError::kInvalidHandle);

    EXPECT_EQ(*ras.ErrorString(RasError::kNoAnswer), "远程计算机没有响应。");
    EXPECT_FALSE(ras.ErrorString(12345).has_value());
}

TEST(SimulatedRemoteAccess, WrongCredentialsFailRightAfterAuthentication) {
    SimulatedRemoteAccess ras;
    ras.SetEntries({"163"});
    Script script = FastScript();
    script.user = "alice";
    script.password = "pw";
    ras.SetDialScript(script);
    Reports reports;
    RasHandle handle = 0;
    ASSERT_EQ(ras.Dial("163", "alice", "wrong", reports.Notifier(), handle), 0u);
    ras.WaitUntilIdle();
    ASSERT_EQ(reports.items.size(), 7u);  // up to Authenticate, then the failing report
    EXPECT_EQ(reports.items[5].state, RasState::kAuthenticate);
    EXPECT_EQ(reports.items[6].error, RasError::kAuthenticationFailure);

    Reports good;
    ASSERT_EQ(ras.Dial("163", "alice", "pw", good.Notifier(), handle), 0u);
    ras.WaitUntilIdle();
    EXPECT_EQ(good.items.back().state, RasState::kConnected);
    EXPECT_EQ(good.items.back().error, 0u);
}

TEST(SimulatedRemoteAccess, HangingUpDuringTheDialStopsTheReports) {
    SimulatedRemoteAccess ras;
    ras.SetEntries({"163"});
    Script slow = FastScript();
    slow.delayMs = 60000;  // the hang-up must wake the dial thread, not wait a minute
    ras.SetDialScript(slow);
    Reports reports;
    RasHandle handle = 0;
    ASSERT_EQ(ras.Dial("163", "u", "p", reports.Notifier(), handle), 0u);
    EXPECT_EQ(ras.HangUp(handle), 0u);
    ras.WaitUntilIdle();
    EXPECT_TRUE(reports.items.empty());

    // Hung up from inside a report: nothing follows it.
    ras.SetDialScript(FastScript());
    Reports partial;
    RasHandle second = 0;
    ASSERT_EQ(ras.Dial(
                  "163", "u", "p",
                  [&](unsigned state, unsigned error) {
                      partial.Notifier()(state, error);
                      if (state == RasState::kConnectDevice) {
                          ras.HangUp(second);
                      }
                  },
                  second),
              0u);
    ras.WaitUntilIdle();
    EXPECT_EQ(partial.items.size(), 3u);
}

TEST(SimulatedRemoteAccess, DestroyingTheServiceEndsADialInProgress) {
    Reports reports;
    {
        SimulatedRemoteAccess ras;
        ras.SetEntries({"163"});
        Script slow = FastScript();
        slow.delayMs = 60000;
        ras.SetDialScript(slow);
        RasHandle handle = 0;
        ASSERT_EQ(ras.Dial("163", "u", "p", reports.Notifier(), handle), 0u);
    }
    EXPECT_TRUE(reports.items.empty());
}

TEST(DialState, LineTestSeesOtherProgramsAndKeepsTheLastName) {
    SimulatedRemoteAccess ras;
    std::string name = "earlier";
    EXPECT_FALSE(IsLineConnected(ras, name));
    EXPECT_EQ(name, "earlier");

    ras.BringUpOther("Office");
    EXPECT_TRUE(IsLineConnected(ras, name));
    EXPECT_EQ(name, "Office");
    ras.TakeDownOther("Office");
    EXPECT_FALSE(IsLineConnected(ras, name));
    EXPECT_EQ(name, "Office");  // kept after the line went down

    ras.BringUpOther("Office");
    ras.SetEnumConnectionsFails(true);
    EXPECT_FALSE(IsLineConnected(ras, name));
    ras.SetEnumConnectionsFails(false);

    // More than 20 connections do not fit the system's list: the line counts as down.
    for (int i = 0; i < 20; ++i) {
        ras.BringUpOther("Extra" + std::to_string(i));
    }
    EXPECT_FALSE(IsLineConnected(ras, name));
}

TEST(DialState, LineTestTakesTheFirstConnectedConnection) {
    SimulatedRemoteAccess ras;
    ras.SetEntries({"Slow", "Fast"});
    Script slow = FastScript();
    slow.delayMs = 60000;
    ras.SetDialScript(slow);
    RasHandle dialling = 0;
    ASSERT_EQ(ras.Dial("Slow", "u", "p", nullptr, dialling), 0u);
    ras.BringUpOther("Fast");
    std::string name;
    EXPECT_TRUE(IsLineConnected(ras, name));
    EXPECT_EQ(name, "Fast");  // the attempt still dialling is listed first but not connected
    ras.HangUp(dialling);
}

TEST(DialState, HangUpOwnConnectionLeavesOtherProgramsAlone) {
    SimulatedRemoteAccess ras;
    ras.SetEntries({"163"});
    ras.SetDialScript(FastScript());
    DialState state;
    ASSERT_EQ(ras.Dial("163", "u", "p", nullptr, state.hConn), 0u);
    ras.WaitUntilIdle();
    state.bOnline = true;
    HangUpOwnConnection(ras, state);
    EXPECT_EQ(state.hConn, 0u);
    EXPECT_FALSE(state.bOnline);
    std::string name;
    EXPECT_FALSE(IsLineConnected(ras, name));

    // No handle: a line of another program stays up.
    ras.BringUpOther("163");
    state.bOnline = true;
    HangUpOwnConnection(ras, state);
    EXPECT_FALSE(state.bOnline);
    EXPECT_TRUE(IsLineConnected(ras, name));
}

TEST(DialState, CutLineDropsTheOwnConnectionToo) {
    SimulatedRemoteAccess ras;
    ras.SetEntries({"163"});
    ras.SetDialScript(FastScript());
    RasHandle handle = 0;
    ASSERT_EQ(ras.Dial("163", "u", "p", nullptr, handle), 0u);
    ras.WaitUntilIdle();
    std::string name;
    EXPECT_TRUE(IsLineConnected(ras, name));
    ras.CutLine();
    EXPECT_FALSE(IsLineConnected(ras, name));
    EXPECT_FALSE(ras.ConnectState(handle).has_value());
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(DialSimFile, PhoneBookScriptAndALineFollowedWhileRunning) {
    testing::TempDir dir;
    const std::string path = dir.File("DialSim.ini");
    WriteFile(path,
              "[Entries]\r\nTotal=3\r\n0=163\r\n1=办公室\r\n2=\r\n"
              "[Dial]\r\nStates=0, 1,5 ,6,0x2000\r\nDelay=0\r\nUser=alice\r\nPassword=pw\r\n"
              "[Line]\r\nOther=\r\n");
    SimulatedRemoteAccess ras(path);
    EXPECT_EQ(*ras.EnumEntries(), (std::vector<std::string>{"163", "办公室"}));

    Reports reports;
    RasHandle handle = 0;
    ASSERT_EQ(ras.Dial("办公室", "alice", "pw", reports.Notifier(), handle), 0u);
    ras.WaitUntilIdle();
    EXPECT_EQ(reports.States(), (std::vector<unsigned>{0, 1, 5, 6, 0x2000}));
    std::string name;
    EXPECT_TRUE(IsLineConnected(ras, name));
    EXPECT_EQ(name, "办公室");
    ras.HangUp(handle);
    EXPECT_FALSE(IsLineConnected(ras, name));

    // Editing the file brings another program's line up, cuts it, and brings it back.
    WriteFile(path, "[Entries]\r\nTotal=1\r\n0=163\r\n[Line]\r\nOther=163\r\n");
    EXPECT_TRUE(IsLineConnected(ras, name));
    EXPECT_EQ(name, "163");
    WriteFile(path, "[Line]\r\nOther=163\r\nCut=1\r\n");
    EXPECT_FALSE(IsLineConnected(ras, name));
    WriteFile(path, "[Line]\r\nOther=163\r\nCut=0\r\n");
    EXPECT_TRUE(IsLineConnected(ras, name));
    WriteFile(path, "[Line]\r\n");
    EXPECT_FALSE(IsLineConnected(ras, name));
}

// The sample DialSim.ini of the README, as printed there (in GBK, as the README asks): its
// phone book, a dial with its credentials that connects, and the other program's line.
TEST(DialSimFile, TheReadmeSampleWorksAsPrinted) {
    const std::optional<std::string> readme = ReadWholeFile(QUORLET_README);
    ASSERT_TRUE(readme.has_value()) << QUORLET_README;
    const std::size_t section = readme->find("`DialSim.ini`");
    ASSERT_NE(section, std::string::npos);
    const std::string open = "```ini\n";
    const std::size_t begin = readme->find(open, section);
    ASSERT_NE(begin, std::string::npos);
    const std::size_t end = readme->find("\n```", begin + open.size());
    ASSERT_NE(end, std::string::npos);
    const std::string sample = readme->substr(begin + open.size(), end + 1 - begin - open.size());

    testing::TempDir dir;
    const std::string path = dir.File("DialSim.ini");
    WriteFile(path, SystemCharsets().ToGbk("utf-8", sample));
    SimulatedRemoteAccess ras(path);
    EXPECT_EQ(*ras.EnumEntries(), (std::vector<std::string>{"163", "办公室"}));

    // No line is up before the walk through the README dials one.
    const auto before = ras.EnumConnections();
    ASSERT_TRUE(before.has_value());
    EXPECT_TRUE(before->empty());

    Reports reports;
    RasHandle handle = 0;
    ASSERT_EQ(ras.Dial("办公室", "alice", "secret", reports.Notifier(), handle), 0u);
    ras.WaitUntilIdle();
    EXPECT_EQ(reports.States(), SimulatedRemoteAccess::StandardStates());
    ASSERT_FALSE(reports.items.empty());
    EXPECT_EQ(reports.items.back().error, 0u);
    EXPECT_EQ(ras.ConnectState(handle), RasState::kConnected);
}

// Comments after a value, and values in quotes, in the simulator's own file.
TEST(DialSimFile, CommentsAfterValues) {
    testing::TempDir dir;
    const std::string path = dir.File("DialSim.ini");
    WriteFile(path,
              "[Entries] ; the phone book\r\nTotal=3 ; three\r\n0=163;x ; a name with a ;\r\n"
              "1=\"a ; b\" ; quoted\r\n2= ; none\r\n"
              "[Dial]\r\nStates=0,\t0x2000\t; two\r\nDelay=0 ; at once\r\n"
              "User=\" alice\"\r\nPassword=pw;word\r\n"
              "[Line]\r\nOther= ; none\r\n");
    SimulatedRemoteAccess ras(path);
    EXPECT_EQ(*ras.EnumEntries(), (std::vector<std::string>{"163;x", "a ; b"}));
    EXPECT_TRUE(ras.EnumConnections()->empty());
    Reports reports;
    RasHandle handle = 0;
    ASSERT_EQ(ras.Dial("163;x", " alice", "pw;word", reports.Notifier(), handle), 0u);
    ras.WaitUntilIdle();
    EXPECT_EQ(reports.States(), (std::vector<unsigned>{0, 0x2000}));
    EXPECT_EQ(reports.items.back().error, 0u);
}

TEST(DialSimFile, TheProgramUsesTheSimulatorOnlyWhenItsFolderHoldsTheFile) {
    testing::TempDir dir;
    WriteFile(dir.File("DialSim.ini"), "[Entries]\nTotal=1\n0=Sim\n");
    const auto simulated = MakeRemoteAccess(dir.path().string());
    ASSERT_TRUE(simulated->EnumEntries().has_value());
    EXPECT_EQ(*simulated->EnumEntries(), std::vector<std::string>{"Sim"});
    const auto withSlash = MakeRemoteAccess(dir.path().string() + "/");
    EXPECT_EQ(withSlash->EnumEntries()->size(), 1u);

#ifndef _WIN32
    // Without the file there is no dial-up networking here: an empty phone book and no line.
    testing::TempDir empty;
    const auto system = MakeRemoteAccess(empty.path().string());
    ASSERT_TRUE(system->EnumEntries().has_value());
    EXPECT_TRUE(system->EnumEntries()->empty());
    std::string name;
    EXPECT_FALSE(IsLineConnected(*system, name));
#endif
}

}  // namespace
}  // namespace quorlet
