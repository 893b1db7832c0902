// The POP3 session against scripted servers: what it sends byte for byte, what it reads, and how
// each step fails.
#include "mail/pop3_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "platform/clock.h"
#include "support/scripted_net.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using quorlet::testing::ScriptedNet;
using quorlet::testing::TempDir;
using Then = ScriptedNet::Then;

// The date a message without one gets; no test here depends on it.
const ManualClock kClock(CivilTime{2002, 5, 6, 10, 20, 30});

const std::string kTop1 =
    "+OK 180 octets\r\n"
    "Return-Path: <ann@example.com>\r\n"
    "From: Ann <ann@example.com>\r\n"
    "Subject: =?gb2312?B?xOO6ww==?=\r\n"
    "Date: Mon, 06 May 2002 10:20:30 +0800\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    ".\r\n";
const std::string kTop2 =
    "+OK \r\n"
    "From: bob@example.com\r\n"
    "Subject: Re: plain.\r\n"
    "\r\n"
    ".\r\n";

// The steps of one check of one account, as a check slot runs them.
void ScriptCheck(ScriptedNet& net) {
    net.Greet("+OK POP3 ready\r\n")
        .On("USER ann\r\n", "+OK\r\n")
        .On("PASS secret\r\n", "+OK logged in\r\n")
        .On("STAT \r\n", "+OK 2 320\r\n")
        .On("LIST \r\n", "+OK 2 messages (320 octets)\r\n1 120\r\n2 200\r\n.\r\n")
        .On("TOP 1 0\r\n", kTop1)
        .On("TOP 2 0\r\n", kTop2)
        .On("QUIT \r\n", "+OK bye\r\n");
}

struct CheckResult {
    bool ok = false;
    std::string error;
    int messages = 0;
    std::int64_t octets = 0;
    std::vector<std::int64_t> sizes;
    std::vector<std::string> fields;  // from, subject, date and encoding of each message
};

CheckResult RunCheck(ScriptedNet& net, const TempDir& dir) {
    ManualClock clock(CivilTime{2002, 5, 6, 10, 20, 30});
    CPop3Session session(net, clock);
    session.SetTempFileNames(dir.File("QlList0.p3"), dir.File("QlTop0.p3"));
    CheckResult r;
    r.ok =
        session.Open("pop.example.com", 110, "ann", "secret") && session.Stat() && session.List();
    for (int i = 1; r.ok && i <= session.m_nMessages; ++i) {
        r.ok = session.Top(i, 0);
        r.fields.insert(r.fields.end(), {session.m_strFrom, session.m_strSubject, session.m_strDate,
                                         std::string(1, session.m_cEncoding)});
    }
    r.ok = r.ok && session.Quit();
    r.error = session.m_strError;
    r.messages = session.m_nMessages;
    r.octets = session.m_nMailboxSize;
    r.sizes = session.m_arrSizes;
    return r;
}

TEST(Pop3Session, ChecksOneAccountWithTheCommandsOfTheProtocol) {
    TempDir dir;
    ScriptedNet net;
    ScriptCheck(net);
    const CheckResult r = RunCheck(net, dir);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(net.Mismatches(), std::vector<std::string>{});
    EXPECT_EQ(net.ConnectedHost(), "pop.example.com");
    EXPECT_EQ(net.ConnectedPort(), 110);
    EXPECT_EQ(r.messages, 2);
    EXPECT_EQ(r.octets, 320);
    EXPECT_EQ(r.sizes, (std::vector<std::int64_t>{120, 200}));
    EXPECT_EQ(r.fields, (std::vector<std::string>{
                            " Ann <ann@example.com>", " =?gb2312?B?xOO6ww==?=",
                            " Mon, 06 May 2002 10:20:30 +0800", "B", " bob@example.com",
                            " Re: plain.", "Mon, 06 May 2002 10:20:30", std::string(1, '\0')}));
    // The spool files live only while a reply is read.
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Pop3Session, RepliesSplitAtAnyByteReadTheSame) {
    TempDir dir;
    ScriptedNet whole;
    ScriptCheck(whole);
    const CheckResult expected = RunCheck(whole, dir);
    ASSERT_TRUE(expected.ok);
    for (std::size_t at = 1; at < kTop1.size(); ++at) {
        ScriptedNet net;
        ScriptCheck(net);
        net.SetSplitAt(at);
        const CheckResult r = RunCheck(net, dir);
        ASSERT_TRUE(r.ok) << "split at " << at << ": " << r.error;
        ASSERT_EQ(r.sizes, expected.sizes) << at;
        ASSERT_EQ(r.fields, expected.fields) << at;
        ASSERT_EQ(r.octets, expected.octets) << at;
    }
    ScriptedNet bytewise;
    ScriptCheck(bytewise);
    bytewise.SetChunkSize(1);
    const CheckResult r = RunCheck(bytewise, dir);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.fields, expected.fields);
    EXPECT_EQ(r.sizes, expected.sizes);
}

// Runs Open, Stat, List, Top 1, Dele 1, Quit up to the first failure; returns the error text.
std::string FirstError(ScriptedNet& net, const TempDir& dir, int* failedStep = nullptr) {
    CPop3Session session(net, kClock);
    session.SetWaitLimits(2s, 2s);
    session.SetTempFileNames(dir.File("l.p3"), dir.File("t.p3"));
    const std::function<bool()> steps[] = {[&] { return session.Open("h", 110, "u", "p"); },
                                           [&] { return session.Stat(); },
                                           [&] { return session.List(); },
                                           [&] { return session.Top(1, 0); },
                                           [&] { return session.Dele(1); },
                                           [&] { return session.Quit(); }};
    int step = 0;
    while (step < 6 && steps[step]()) {
        ++step;
    }
    if (failedStep != nullptr) {
        *failedStep = step;
    }
    return step < 6 ? session.m_strError : "(no failure)";
}

// A server that answers every step normally except step `failing` (0: greeting ... 7: QUIT),
// which gets `reply` and `then`.
void ScriptFailureAt(ScriptedNet& net, int failing, const std::string& reply, Then then) {
    const char* commands[] = {"",          "USER u\r\n",  "PASS p\r\n", "STAT \r\n",
                              "LIST \r\n", "TOP 1 0\r\n", "DELE 1\r\n", "QUIT \r\n"};
    const char* normal[] = {"+OK\r\n",
                            "+OK\r\n",
                            "+OK\r\n",
                            "+OK 1 10\r\n",
                            "+OK\r\n1 10\r\n.\r\n",
                            "+OK\r\nSubject: x\r\n\r\n.\r\n",
                            "+OK\r\n",
                            "+OK\r\n"};
    for (int i = 0; i <= failing && i < 8; ++i) {
        const std::string r = i == failing ? reply : normal[i];
        const Then t = i == failing ? then : Then::Continue;
        if (i == 0) {
            net.Greet(r, t);
        } else {
            net.On(commands[i], r, t);
        }
    }
}

const char* const kStepErrors[] = {"无效连接",
                                   "无效用户",
                                   "无效密码",
                                   "Error occured during STAT",
                                   "Error occured during LIST",
                                   "服务器异常",
                                   "Error occured during DELE",
                                   "Error occured during QUIT"};

TEST(Pop3Session, ErrAtEachStepFailsItWithItsText) {
    TempDir dir;
    for (int step = 0; step < 8; ++step) {
        for (const char* err : {"-ERR no\r\n", "-err no\r\n", "-ErR\r\n"}) {
            ScriptedNet net;
            ScriptFailureAt(net, step, err, Then::Continue);
            EXPECT_EQ(FirstError(net, dir), kStepErrors[step]) << step << " " << err;
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// A connection that ends before a reply used to count as success; now it fails that step.
TEST(Pop3Session, ConnectionClosedOrBrokenAtEachStepFailsIt) {
    TempDir dir;
    for (int step = 0; step < 8; ++step) {
        for (Then then : {Then::Close, Then::Fail}) {
            ScriptedNet net;
            ScriptFailureAt(net, step, "", then);
            int failed = -1;
            EXPECT_EQ(FirstError(net, dir, &failed), kStepErrors[step]) << step;
            // Open holds the first three steps.
            EXPECT_EQ(failed, step < 3 ? 0 : step - 2) << step;
        }
    }
    // A reply cut in its middle: the status line arrived, the rest did not.
    for (int step : {4, 5}) {
        ScriptedNet net;
        ScriptFailureAt(net, step, "+OK\r\n1 1", Then::Close);
        EXPECT_EQ(FirstError(net, dir), "Error reading from socket!") << step;
        ScriptedNet partial;
        ScriptFailureAt(partial, step, "+OK", Then::Close);
        EXPECT_EQ(FirstError(partial, dir), kStepErrors[step]) << step;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Pop3Session, SilentServerEndsAtTheTimeLimitOrSoonAfterTheAbortFlag) {
    TempDir dir;
    ScriptedNet net;
    net.Greet("+OK\r\n")
        .On("USER u\r\n", "+OK\r\n")
        .On("PASS p\r\n", "+OK\r\n")
        .On("STAT \r\n", "");
    CPop3Session session(net, kClock);
    session.SetWaitLimits(60s, 200ms);
    ASSERT_TRUE(session.Open("h", 110, "u", "p"));
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(session.Stat());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 190ms);
    EXPECT_EQ(session.m_strError, "Error occured during STAT");

    ScriptedNet silent;
    silent.Greet("");
    CPop3Session waiting(silent, kClock);
    std::thread abort([&waiting] {
        std::this_thread::sleep_for(100ms);
        waiting.m_socket.m_bAbortConnect = true;
    });
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(waiting.Open("h", 110, "u", "p"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(waiting.m_strError, "无效连接");
    abort.join();
}

TEST(Pop3Session, ConnectFailuresGiveTheirTexts) {
    ScriptedNet refused;
    refused.RefuseConnect();
    CPop3Session a(refused, kClock);
    EXPECT_FALSE(a.Open("h", 110, "u", "p"));
    EXPECT_EQ(a.m_strError, "连接失败");

    ScriptedNet noSockets;
    noSockets.FailInitialize();
    CPop3Session b(noSockets, kClock);
    EXPECT_FALSE(b.Open("h", 110, "u", "p"));
    EXPECT_EQ(b.m_strError, "初始化失败");

    ScriptedNet hanging;
    hanging.NeverAnswerConnect();
    CPop3Session c(hanging, kClock);
    c.SetWaitLimits(150ms, 60s);
    EXPECT_FALSE(c.Open("h", 110, "u", "p"));
    EXPECT_EQ(c.m_strError, "连接失败");
    c.SetWaitLimits(60s, 60s);
    c.m_socket.m_bAbortConnect = true;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(c.Open("h", 110, "u", "p"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST(Pop3Session, ServerTextMayNameItsPort) {
    for (const auto& [server, host, port] :
         {std::tuple<std::string, std::string, int>{"pop.example.com", "pop.example.com", 110},
          {"127.0.0.1:2110", "127.0.0.1", 2110},
          {"pop.example.com:995", "pop.example.com", 995},
          {"[::1]:2110", "::1", 2110},
          {"fe80::1", "fe80::1", 110}}) {
        ScriptedNet net;
        net.Greet("+OK\r\n").On("USER u\r\n", "+OK\r\n").On("PASS p\r\n", "+OK\r\n");
        CPop3Session session(net, kClock);
        EXPECT_TRUE(session.Open(server, 110, "u", "p")) << server;
        EXPECT_EQ(net.ConnectedHost(), host);
        EXPECT_EQ(net.ConnectedPort(), port);
    }
    ScriptedNet net;
    CPop3Session session(net, kClock);
    EXPECT_FALSE(session.Open("pop.example.com:0", 110, "u", "p"));
    EXPECT_EQ(session.m_strError, "连接失败");
    EXPECT_EQ(net.Connects(), 0);
}

TEST(Pop3Session, UserNameOrPasswordThatWouldBreakTheCommandIsRefusedBeforeSending) {
    struct Case {
        std::string user, password, error;
    };
    const Case cases[] = {
        {"ann\r\nDELE 1", "p", "无效用户"},
        {"ann\n", "p", "无效用户"},
        {std::string("a\0b", 3), "p", "无效用户"},
        {std::string(505, 'u'), "p", "无效用户"},  // "USER " + 505 + CR LF is 512 bytes
        {"ann", "p\rQUIT", "无效密码"},
        {"ann", std::string(505, 'p'), "无效密码"},
    };
    for (const Case& c : cases) {
        ScriptedNet net;
        CPop3Session session(net, kClock);
        EXPECT_FALSE(session.Open("h", 110, c.user, c.password));
        EXPECT_EQ(session.m_strError, c.error);
        EXPECT_EQ(net.Connects(), 0);
    }
    ScriptedNet net;
    const std::string longest(504, 'u');
    net.Greet("+OK\r\n").On("USER " + longest + "\r\n", "+OK\r\n").On("PASS p\r\n", "+OK\r\n");
    CPop3Session session(net, kClock);
    EXPECT_TRUE(session.Open("h", 110, longest, "p")) << session.m_strError;
    EXPECT_EQ(net.Mismatches(), std::vector<std::string>{});
}

TEST(Pop3Session, StatAndListReadLargeMailboxesAndKeepMissingCounts) {
    TempDir dir;
    ScriptedNet net;
    net.Greet("+OK\r\n")
        .On("USER u\r\n", "+OK\r\n")
        .On("PASS p\r\n", "+OK\r\n")
        .On("STAT \r\n", "+OK 3 5000000000\r\n")
        .On("STAT \r\n", "+OK\r\n")
        .On("LIST \r\n", "+OK\r\n1 120\r\n2 4294967296\r\n3 3000000000\r\n.\r\n")
        .On("LIST \r\n", "+OK \r\n1 120\r\n2 200\r\n.\r\n")
        .On("LIST \r\n", "+OK\r\n.\r\n")
        .On("STAT \r\n", "+OK 0 0\r\n");
    CPop3Session session(net, kClock);
    session.SetTempFileNames(dir.File("l"), dir.File("t"));
    ASSERT_TRUE(session.Open("h", 110, "u", "p"));
    ASSERT_TRUE(session.Stat());
    EXPECT_EQ(session.m_nMessages, 3);
    EXPECT_EQ(session.m_nMailboxSize, 5000000000);
    ASSERT_TRUE(session.Stat());  // a bare +OK leaves the counts as they were
    EXPECT_EQ(session.m_nMessages, 3);
    EXPECT_EQ(session.m_nMailboxSize, 5000000000);
    ASSERT_TRUE(session.List());
    EXPECT_EQ(session.m_arrSizes, (std::vector<std::int64_t>{120, 4294967296, 3000000000}));
    EXPECT_EQ(session.GetMessageSize(2), 4294967296);
    EXPECT_EQ(session.GetMessageSize(4), -1);
    ASSERT_TRUE(session.List());
    EXPECT_EQ(session.m_arrSizes, (std::vector<std::int64_t>{120, 200}));
    EXPECT_EQ(session.GetMessageSize(3), -1);
    ASSERT_TRUE(session.List());
    EXPECT_TRUE(session.m_arrSizes.empty());
    ASSERT_TRUE(session.Stat());
    EXPECT_EQ(session.m_nMessages, 0);
    EXPECT_EQ(session.m_nMailboxSize, 0);
}

// Each login is a new mailbox: a bare +OK to its STAT shows no count of the account before.
TEST(Pop3Session, ANewLoginStartsFromZeroCounts) {
    TempDir dir;
    ScriptedNet net;
    net.Greet("+OK\r\n")
        .On("USER u\r\n", "+OK\r\n")
        .On("PASS p\r\n", "+OK\r\n")
        .On("STAT \r\n", "+OK 2 5000\r\n")
        .On("LIST \r\n", "+OK\r\n1 1000\r\n2 4000\r\n.\r\n")
        .On("QUIT \r\n", "+OK\r\n")
        .On("USER v\r\n", "+OK\r\n")
        .On("PASS q\r\n", "+OK\r\n")
        .On("STAT \r\n", "+OK\r\n");
    CPop3Session session(net, kClock);
    session.SetTempFileNames(dir.File("l"), dir.File("t"));
    ASSERT_TRUE(session.Open("h", 110, "u", "p") && session.Stat() && session.List() &&
                session.Quit());
    ASSERT_TRUE(session.Open("h", 110, "v", "q") && session.Stat());
    EXPECT_EQ(session.m_nMessages, 0);
    EXPECT_EQ(session.m_nMailboxSize, 0);
    EXPECT_EQ(session.GetMessageSize(1), -1);
}

// LIST keeps no more sizes than the check can use: those of the messages STAT counted, and of
// no more than the mail table holds, whatever the server lists.
TEST(Pop3Session, ListKeepsOnlyTheSizesOfCountedMessages) {
    TempDir dir;
    std::string many = "+OK\r\n";
    for (int i = 1; i <= 600; ++i) {
        many += std::to_string(i) + " " + std::to_string(i * 10) + "\r\n";
    }
    many += ".\r\n";
    ScriptedNet net;
    net.Greet("+OK\r\n")
        .On("USER u\r\n", "+OK\r\n")
        .On("PASS p\r\n", "+OK\r\n")
        .On("STAT \r\n", "+OK 2 30\r\n")
        .On("LIST \r\n", many)
        .On("STAT \r\n", "+OK 600 1000\r\n")
        .On("LIST \r\n", many)
        .On("STAT \r\n", "+OK 1\r\n");
    CPop3Session session(net, kClock);
    session.SetTempFileNames(dir.File("l"), dir.File("t"));
    ASSERT_TRUE(session.Open("h", 110, "u", "p"));
    ASSERT_TRUE(session.Stat() && session.List());
    EXPECT_EQ(session.m_arrSizes, (std::vector<std::int64_t>{10, 20}));
    ASSERT_TRUE(session.Stat() && session.List());
    EXPECT_EQ(session.m_arrSizes.size(), 512u);
    EXPECT_EQ(session.GetMessageSize(512), 5120);
    EXPECT_EQ(session.GetMessageSize(513), -1);
    // The connection is still in step: the next reply is the next command's.
    ASSERT_TRUE(session.Stat());
    EXPECT_EQ(session.m_nMessages, 1);
}

TEST(Pop3Session, OddRepliesAreReadWithinBounds) {
    TempDir dir;
    const std::string huge(1 << 20, 'x');
    ScriptedNet net;
    net.Greet("+OK " + huge + "\r\n")
        .On("USER u\r\n", "+OK\n")
        .On("PASS p\r\n", "+OK\n")
        // Bare LF line ends, a NUL inside a subject, a megabyte line, and body lines after the
        // header that must not overwrite its fields.
        .On("TOP 1 0\r\n", "+OK\nX-Long: " + huge + "\nSubject: a" + std::string(1, '\0') +
                               "b\nFrom: ann\n\nFrom: body line\nSubject: body\n.\n")
        .On("TOP 2 0\r\n", "+OK\r\nSubject: " + huge + "\r\n.\r\n");
    net.SetChunkSize(4096);
    CPop3Session session(net, kClock);
    session.SetTempFileNames(dir.File("l"), dir.File("t"));
    ASSERT_TRUE(session.Open("h", 110, "u", "p")) << session.m_strError;
    ASSERT_TRUE(session.Top(1, 0));
    EXPECT_EQ(session.m_strSubject, " a b");
    EXPECT_EQ(session.m_strFrom, " ann");
    ASSERT_TRUE(session.Top(2, 0));
    EXPECT_GT(session.m_strSubject.size(), 1000u);
    EXPECT_LE(session.m_strSubject.size(), 32768u);
    EXPECT_EQ(session.m_strSubject.substr(0, 4), " xxx");
}

TEST(Pop3Session, EndlessHeaderIsCutOffAndItsSpoolFileRemoved) {
    TempDir dir;
    std::string endless = "+OK\r\n";
    const std::string line = "X-Padding: " + std::string(1000, 'p') + "\r\n";
    while (endless.size() < (std::size_t{17} << 20)) {
        endless += line;
    }
    ScriptedNet net;
    net.Greet("+OK\r\n")
        .On("USER u\r\n", "+OK\r\n")
        .On("PASS p\r\n", "+OK\r\n")
        .On("TOP 1 0\r\n", endless + "Subject: late\r\n.\r\n");
    CPop3Session session(net, kClock);
    session.SetTempFileNames(dir.File("l"), dir.File("t"));
    ASSERT_TRUE(session.Open("h", 110, "u", "p"));
    EXPECT_FALSE(session.Top(1, 0));
    EXPECT_EQ(session.m_strError, "Error reading from socket!");
    EXPECT_FALSE(std::filesystem::exists(dir.File("t")));
}

// A spool file that cannot be created leaves the rest of its reply unread: the session closes
// the connection, so that no later command can take those lines for its own reply.
// No reply holds the session for ever: a line must arrive whole within the line limit (60 s)
// however its bytes are spaced, a multi-line reply whole within its bound (10 minutes), and
// every byte received counts against the reply's size cap, the bytes of a line too long to keep
// as well. The server's minutes pass on the stream's own clock. A reply cut off leaves the
// connection closed.
TEST(Pop3Session, NoReplyHoldsTheSessionForEver) {
    std::string slowHeader = "+OK\r\n";
    for (int i = 0; i < 20; ++i) {
        slowHeader += "X-Hop: " + std::string(25, static_cast<char>('a' + i)) + "\r\n";
    }
    struct Case {
        const char* what;
        bool top;  // TOP 1 0, else STAT
        std::string reply;
        std::size_t trickleBytes;
        std::chrono::milliseconds every;
        std::string error;  // empty: the reply is read
    };
    const Case cases[] = {
        {"STAT, a byte every 59 s", false, "+OK 1 10\r\n", 1, 59s, "Error occured during STAT"},
        {"STAT, a line without an end", false, "+OK 1 10" + std::string(3 << 20, ' ') + "\r\n", 0,
         0s, "Error occured during STAT"},
        {"STAT, a byte every 5 s", false, "+OK 1 10\r\n", 1, 5s, ""},
        {"TOP, lines 34 s apart for 11 minutes", true, slowHeader + ".\r\n", 1, 1s,
         "Error reading from socket!"},
        {"TOP, lines 34 s apart for 3 minutes", true, slowHeader.substr(0, 5 + 5 * 34) + ".\r\n", 1,
         1s, ""},
        {"TOP, a header line without an end", true,
         "+OK\r\nX-Pad: " + std::string(17 << 20, 'x') + "\r\n.\r\n", 0, 0s,
         "Error reading from socket!"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        ScriptedNet net;
        net.Greet("+OK\r\n").On("USER u\r\n", "+OK\r\n").On("PASS p\r\n", "+OK\r\n");
        net.On(c.top ? "TOP 1 0\r\n" : "STAT \r\n", c.reply).Trickle(c.trickleBytes, c.every);
        CPop3Session session(net, kClock);  // the limits of the program
        session.SetTempFileNames(dir.File("l"), dir.File("t"));
        ASSERT_TRUE(session.Open("h", 110, "u", "p")) << c.what;
        const bool ok = c.top ? session.Top(1, 0) : session.Stat();
        EXPECT_EQ(ok, c.error.empty()) << c.what;
        if (!ok) {
            EXPECT_EQ(session.m_strError, c.error) << c.what;
            EXPECT_FALSE(session.m_socket.IsOpen()) << c.what;
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Pop3Session, SpoolFileProblemsGiveTheirTexts) {
    TempDir dir;
    const std::string missing = dir.File("no-such-folder/QlList0.p3");
    for (const bool list : {true, false}) {
        ScriptedNet net;
        net.Greet("+OK\r\n")
            .On("USER u\r\n", "+OK\r\n")
            .On("PASS p\r\n", "+OK\r\n")
            .On(list ? "LIST \r\n" : "TOP 2 0\r\n",
                list ? "+OK\r\n1 1\r\n2 2\r\n.\r\n" : "+OK\r\nSubject: two\r\n.\r\n")
            .On("TOP 1 0\r\n", "+OK\r\nSubject: one\r\n.\r\n");
        CPop3Session session(net, kClock);
        session.SetTempFileNames(list ? missing : dir.File("l"), list ? dir.File("t") : missing);
        ASSERT_TRUE(session.Open("h", 110, "u", "p"));
        EXPECT_FALSE(list ? session.List() : session.Top(2, 0));
        EXPECT_EQ(session.m_strError, "Error creating temp input file!");
        EXPECT_FALSE(session.m_socket.IsOpen());
        session.SetTempFileNames(dir.File("l"), dir.File("t"));
        EXPECT_FALSE(session.Top(1, 0)) << "read the lines of another reply";
    }
    ScriptedNet idle;
    CPop3Session session(idle, kClock);
    session.SetTempFileNames(missing, missing);
    EXPECT_FALSE(session.ParseHeaderFile(missing));
    EXPECT_EQ(session.m_strError, "cant open message file");
    EXPECT_FALSE(session.ParseListFile());
    EXPECT_EQ(session.m_strError, "cant open templist file");
}

TEST(Pop3Session, QuitClosesTheSocketOnlyWhenTheServerAgrees) {
    ScriptedNet net;
    net.Greet("+OK\r\n")
        .On("USER u\r\n", "+OK\r\n")
        .On("PASS p\r\n", "+OK\r\n")
        .On("QUIT \r\n", "-ERR busy\r\n")
        .On("QUIT \r\n", "+OK\r\n");
    CPop3Session session(net, kClock);
    ASSERT_TRUE(session.Open("h", 110, "u", "p"));
    EXPECT_FALSE(session.Quit());
    EXPECT_TRUE(session.m_socket.IsOpen());
    EXPECT_TRUE(session.Quit());
    EXPECT_FALSE(session.m_socket.IsOpen());
    // The error text of the failed step stays after later successes.
    EXPECT_EQ(session.m_strError, "Error occured during QUIT");
}

// LIST n and TOP n 0 let a deletion confirm that message n is still the one a check saw.
TEST(Pop3Session, ListOfOneMessageAndAMissingDateLine) {
    TempDir dir;
    ScriptedNet net;
    net.Greet("+OK\r\n")
        .On("USER u\r\n", "+OK\r\n")
        .On("PASS p\r\n", "+OK\r\n")
        .On("LIST 2\r\n", "+OK 2 200\r\n")
        .On("LIST 3\r\n", "+OK 4 200\r\n")
        .On("LIST 5\r\n", "+OK 5\r\n")
        .On("LIST 6\r\n", "-ERR no such message\r\n")
        .On("TOP 2 0\r\n", "+OK\r\nFrom: a@x\r\n\r\n.\r\n")
        .On("TOP 3 0\r\n", kTop1);
    ManualClock clock(CivilTime{2002, 5, 6, 10, 20, 30});
    CPop3Session session(net, clock);
    session.SetTempFileNames(dir.File("l"), dir.File("t"));
    ASSERT_TRUE(session.Open("h", 110, "u", "p"));
    std::int64_t size = 0;
    EXPECT_TRUE(session.ListMessage(2, size));
    EXPECT_EQ(size, 200);
    EXPECT_FALSE(session.ListMessage(3, size)) << "the scan line of another message";
    EXPECT_FALSE(session.ListMessage(5, size)) << "no size";
    EXPECT_FALSE(session.ListMessage(6, size));
    EXPECT_EQ(session.m_strError, "Error occured during LIST");
    EXPECT_EQ(size, 200);
    ASSERT_TRUE(session.Top(2, 0));
    EXPECT_TRUE(session.m_bDateMissing);
    EXPECT_EQ(session.m_strDate, "Mon, 06 May 2002 10:20:30");
    ASSERT_TRUE(session.Top(3, 0));
    EXPECT_FALSE(session.m_bDateMissing);
}

}  // namespace
}  // namespace quorlet
