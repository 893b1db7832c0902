// The SMTP session against scripted servers: the dialogue byte for byte, the message text on the
// wire, and every failure text.
#include "send/smtp_session.h"

#include <gtest/gtest.h>

#include "platform/charsets.h"

#include "mail/header_decoder.h"
#include "send/smtp_reply.h"
#include "support/scripted_net.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using quorlet::testing::ScriptedNet;
using Then = ScriptedNet::Then;
using Lines = std::vector<std::string>;

// The system's zone and a random Message-ID would make the header differ from run to run.
class FixedSession : public CSmtpSession {
public:
    FixedSession(Net& net, const Clock& clock) : CSmtpSession(net, "mail.example.com", 25, clock) {
        SetWaitLimits(2s, 2s);  // a script that ends early costs seconds, not minutes
    }

protected:
    int UtcOffsetMinutes(const CivilTime&) const override { return 480; }
    std::string MakeMessageId(const CMailMessage&) const override { return "<1@example.com>"; }
};

const ManualClock kClock(CivilTime{2002, 5, 6, 10, 20, 30});

std::string Header(const std::string& to, const std::string& subject) {
    return "Date: Mon, 06 May 2002 10:20:30 +0800\r\nFrom: me@example.com\r\nTo: " + to +
           "\r\nSubject: " + subject +
           "\r\nX-Mailer: Quorlet v1.x\r\nMessage-ID: <1@example.com>\r\nMIME-Version: 1.0\r\n"
           "Content-Type: text/plain; charset=GBK\r\nContent-Transfer-Encoding: 8bit\r\n\r\n";
}

// A server that takes one message for the given recipients.
void ScriptSend(ScriptedNet& net, const Lines& recipients) {
    net.Greet("220 mail.example.com ESMTP\r\n").On("HELO client.example.com\r\n", "250 hi\r\n");
    net.On("MAIL From: <me@example.com>\r\n", "250 ok\r\n");
    for (const std::string& r : recipients) {
        net.On("RCPT TO: <" + r + ">\r\n", "250 ok\r\n");
    }
    net.On("DATA\r\n", "354 go ahead\r\n").Data("250 queued\r\n").On("QUIT\r\n", "221 bye\r\n");
}

CMailMessage Message(const std::string& to, const std::string& subject, const std::string& body) {
    CMailMessage message;
    message.m_strFrom = "me@example.com";
    EXPECT_TRUE(message.AddRecipients(to));
    message.m_strSubject = subject;
    message.m_strBody = body;
    return message;
}

// Sends one message; returns the message text as the server received it (terminator included).
std::string Wire(const std::string& body, std::size_t chunkSize = 0) {
    ScriptedNet net;
    ScriptSend(net, {"a1"});
    net.SetChunkSize(chunkSize);
    FixedSession session(net, kClock);
    CMailMessage message = Message("a1", "s", body);
    EXPECT_TRUE(session.Connect() && session.SendMessage(message) && session.Disconnect())
        << session.GetErrorText();
    EXPECT_EQ(net.Mismatches(), Lines{});
    return net.Commands().size() > 4 ? net.Commands()[4] : "";
}

TEST(SmtpSession, SendsOneMessage) {
    ScriptedNet net;
    ScriptSend(net, {"a1", "b2"});
    FixedSession session(net, kClock);
    CMailMessage message = Message("Ann <a1>;b2", "Hello", "Hi");
    ASSERT_TRUE(session.Connect()) << session.GetErrorText();
    ASSERT_TRUE(session.SendMessage(message)) << session.GetErrorText();
    ASSERT_TRUE(session.Disconnect()) << session.GetErrorText();
    EXPECT_EQ(net.Mismatches(), Lines{});
    EXPECT_EQ(net.ConnectedHost(), "mail.example.com");
    EXPECT_EQ(net.ConnectedPort(), 25);
    EXPECT_EQ(net.Commands(),
              (Lines{"HELO client.example.com\r\n", "MAIL From: <me@example.com>\r\n",
                     "RCPT TO: <a1>\r\n", "RCPT TO: <b2>\r\n", "DATA\r\n",
                     Header("Ann <a1>,<b2>", "Hello") + "Hi\r\n\r\n.\r\n", "QUIT\r\n"}));
    EXPECT_EQ(session.GetErrorText(), "OK");
    EXPECT_EQ(message.m_tmTimestamp, (CivilTime{2002, 5, 6, 10, 20, 30}));
}

TEST(SmtpSession, BodyLinesGoOutWithCrLfAndEveryLeadingDotDoubled) {
    const std::pair<std::string, std::string> cases[] = {
        {"Hi", "Hi\r\n"},
        {"Hi\r\n", "Hi\r\n"},
        {".", "..\r\n"},
        {"a\r\n.\r\nb", "a\r\n..\r\nb\r\n"},
        {"a\r\n.\r\n.\r\nb", "a\r\n..\r\n..\r\nb\r\n"},
        {".hidden\r\nand ..two", "..hidden\r\nand ..two\r\n"},
        {"a\nb\rc\r\n\n.x", "a\r\nb\r\nc\r\n\r\n..x\r\n"},
        {"", "\r\n"},
    };
    for (const auto& [body, sent] : cases) {
        EXPECT_EQ(Wire(body), Header("<a1>", "s") + sent + "\r\n.\r\n") << body;
    }
}

TEST(SmtpSession, MultiLineRepliesAreReadWholeHoweverTheyArrive) {
    for (std::size_t chunk : {0, 1, 3}) {
        ScriptedNet net;
        net.Greet("220-mail.example.com\r\n220-more words\r\n220 ready\r\n")
            .On("HELO client.example.com\r\n",
                "250-mail.example.com\r\n250-SIZE 1000\r\n250 OK\r\n")
            .On("MAIL From: <me@example.com>\r\n", "250 ok\r\n")
            .On("RCPT TO: <a1>\r\n", "250-one\n250 two\n")  // bare LF line ends
            .On("DATA\r\n", "354 go\r\n")
            .Data("250 queued\r\n")
            .On("QUIT\r\n", "221-bye\r\n221 bye\r\n");
        net.SetChunkSize(chunk);
        FixedSession session(net, kClock);
        CMailMessage message = Message("a1", "s", "x");
        EXPECT_TRUE(session.Connect() && session.SendMessage(message) && session.Disconnect())
            << chunk << ": " << session.GetErrorText();
        EXPECT_EQ(net.Mismatches(), Lines{});
    }
    EXPECT_EQ(Wire(".a\nb", 1), Header("<a1>", "s") + "..a\r\nb\r\n\r\n.\r\n");
}

struct Failure {
    int step;  // 0 greeting, 1 HELO, 2 MAIL, 3 RCPT, 4 DATA, 5 end of data, 6 QUIT
    std::string reply;
    Then then;
    std::string error;
};

// Runs Connect, SendMessage, Disconnect against a server that fails at one step.
std::string ErrorAt(const Failure& f, bool* sent = nullptr) {
    ScriptedNet net;
    const Lines replies = {"220 hi\r\n", "250 hi\r\n", "250 ok\r\n", "250 ok\r\n",
                           "354 go\r\n", "250 ok\r\n", "221 bye\r\n"};
    auto reply = [&](int i) { return i == f.step ? f.reply : replies[i]; };
    auto then = [&](int i) { return i == f.step ? f.then : Then::Continue; };
    net.Greet(reply(0), then(0));
    net.On("", reply(1), then(1)).On("", reply(2), then(2)).On("", reply(3), then(3));
    net.On("", reply(4), then(4)).Data(reply(5), then(5)).On("", reply(6), then(6));
    FixedSession session(net, kClock);
    session.SetWaitLimits(2s, 200ms);
    CMailMessage message = Message("a1", "s", "x");
    // The compose window stops at the first false and shows its text.
    bool ok = session.Connect() && session.SendMessage(message);
    if (sent != nullptr) {
        *sent = ok;
    }
    ok = ok && session.Disconnect();
    return ok ? "(no failure) " + session.GetErrorText() : session.GetErrorText();
}

TEST(SmtpSession, OtherCodesGiveTheTextsOfTheReplyTable) {
    const Failure cases[] = {
        {0, "421 busy\r\n", Then::Continue, "邮件服务器不响应,可能太忙"},
        {0, "", Then::Close, "邮件服务器不响应,可能太忙"},
        {1, "501 syntax\r\n", Then::Continue, "501:SMTP server error"},
        {1, "hello\r\n", Then::Continue, "0:SMTP server error"},       // not three digits
        {1, "5010 odd\r\n", Then::Continue, "501:SMTP server error"},  // its first three digits
        {1, "", Then::Close, "0:SMTP server error"},                   // closed: no code at all
        {1, "25", Then::Close, "0:SMTP server error"},
        {1, "", Then::Fail, "Socket Error"},
        {1, "", Then::Continue, "Socket Error"},  // silent beyond the time limit
        {1, "250-more\r\n", Then::Continue, "Socket Error"},
        {2, "550 no\r\n", Then::Continue, "无效的回信地址,请重新填写 !"},
        {4, "451 later\r\n", Then::Continue, "451:SMTP server not ready for data"},
        {5, "552 too big\r\n", Then::Continue, "552:SMTP server error"},
        {6, "250 what\r\n", Then::Continue, "250:SMTP server didn't terminate session"},
    };
    for (const Failure& f : cases) {
        EXPECT_EQ(ErrorAt(f), f.error) << f.step << " " << f.reply;
    }
    // A refused recipient does not stop the message; its text stays.
    bool sent = false;
    EXPECT_EQ(ErrorAt({3, "550 unknown\r\n", Then::Continue, ""}, &sent),
              "(no failure) 550:SMTP server error");
    EXPECT_TRUE(sent);
}

// No reply holds the send thread for ever: a line must arrive whole within the line limit
// (60 s) however its bytes are spaced, a reply of several lines whole within its bound (10
// minutes), and every byte received counts against the reply's size cap. The server's minutes
// pass on the stream's own clock.
TEST(SmtpSession, NoReplyHoldsTheSessionForEver) {
    std::string slowLines;
    for (int i = 0; i < 25; ++i) {
        slowLines += "250-" + std::string(26, static_cast<char>('a' + i)) + "\r\n";
    }
    struct Case {
        const char* what;
        std::string greeting, helo;
        std::size_t trickleBytes;  // of the HELO reply, or of the greeting when helo is empty
        std::chrono::milliseconds every;
        std::string error;  // empty: connected
    };
    const Case cases[] = {
        {"greeting, a byte every 59 s", "220 ready\r\n", "", 1, 59s, "邮件服务器不响应,可能太忙"},
        {"HELO reply, lines 32 s apart for 13 minutes", "220 ready\r\n", slowLines + "250 ok\r\n",
         1, 1s, "Socket Error"},
        {"HELO reply, lines 32 s apart for 4 minutes", "220 ready\r\n",
         slowLines.substr(0, 6 * 32) + "250 ok\r\n", 1, 1s, ""},
        {"HELO reply, a line without an end", "220 ready\r\n",
         "250 " + std::string(100000, 'x') + "\r\n", 0, 0s, "Socket Error"},
    };
    for (const Case& c : cases) {
        ScriptedNet net;
        net.Greet(c.greeting);
        if (c.helo.empty()) {
            net.Trickle(c.trickleBytes, c.every);
        } else {
            net.On("HELO client.example.com\r\n", c.helo).Trickle(c.trickleBytes, c.every);
        }
        net.On("QUIT\r\n", "221 bye\r\n");
        CSmtpSession session(net, "mail.example.com", 25, kClock);  // the limits of the program
        EXPECT_EQ(session.Connect(), c.error.empty()) << c.what;
        EXPECT_EQ(session.GetErrorText(), c.error.empty() ? "OK" : c.error) << c.what;
    }
}

// After a reply that was not read whole the rest of it may still come: the session says nothing
// more on that connection, where the next command would take those lines for its own reply.
TEST(SmtpSession, NothingIsSentAfterAReplyThatWasNotReadWhole) {
    ScriptedNet net;
    net.Greet("220 hi\r\n")
        .On("HELO client.example.com\r\n", "250 hi\r\n")
        .On("MAIL From: <me@example.com>\r\n", "250 ok\r\n");
    // The first recipient's reply comes a second after the limit; the connection stays up.
    net.On("RCPT TO: <a1>\r\n", "250 late\r\n").Trickle(64, 61s);
    net.On("RCPT TO: <b2>\r\n", "250 ok\r\n")
        .On("DATA\r\n", "354 go\r\n")
        .Data("250 queued\r\n")
        .On("QUIT\r\n", "221 bye\r\n");
    {
        FixedSession session(net, kClock);
        session.SetWaitLimits(2s, 60s);
        CMailMessage message = Message("a1;b2", "s", "x");
        ASSERT_TRUE(session.Connect());
        EXPECT_FALSE(session.SendMessage(message));
        EXPECT_EQ(session.GetErrorText(), "Socket Error");
    }
    EXPECT_EQ(net.Commands(), (Lines{"HELO client.example.com\r\n",
                                     "MAIL From: <me@example.com>\r\n", "RCPT TO: <a1>\r\n"}));
}

TEST(SmtpSession, ConnectProblemsAndCallsOutOfOrder) {
    ScriptedNet refused;
    refused.RefuseConnect();
    FixedSession a(refused, kClock);
    EXPECT_FALSE(a.Connect());
    EXPECT_EQ(a.GetErrorText(), "连接邮件服务器失败");

    ScriptedNet noSockets;
    noSockets.FailInitialize();
    FixedSession b(noSockets, kClock);
    EXPECT_FALSE(b.Connect());
    EXPECT_EQ(b.GetErrorText(), "创建Socket失败");

    ScriptedNet idle;
    FixedSession c(idle, kClock);
    CMailMessage message = Message("a1", "s", "x");
    EXPECT_FALSE(c.SendMessage(message));
    EXPECT_EQ(c.GetErrorText(), "Must be connected");
    EXPECT_TRUE(c.Disconnect());
    EXPECT_EQ(idle.Connects(), 0);
    EXPECT_EQ(c.GetServer(), "mail.example.com");
    EXPECT_EQ(c.GetPort(), 25u);
}

TEST(SmtpSession, NoRecipientsSendsNothingAfterHelo) {
    ScriptedNet net;
    net.Greet("220 hi\r\n")
        .On("HELO client.example.com\r\n", "250 hi\r\n")
        .On("QUIT\r\n", "221 bye\r\n");
    FixedSession session(net, kClock);
    CMailMessage message;
    message.m_strFrom = "me@example.com";
    ASSERT_TRUE(session.Connect());
    EXPECT_FALSE(session.SendMessage(message));
    EXPECT_EQ(session.GetErrorText(), "No Recipients");
    EXPECT_EQ(net.Commands(), Lines{"HELO client.example.com\r\n"});
}

TEST(SmtpSession, DestructionSaysQuit) {
    ScriptedNet net;
    net.Greet("220 hi\r\n")
        .On("HELO client.example.com\r\n", "250 hi\r\n")
        .On("QUIT\r\n", "221 bye\r\n");
    {
        FixedSession session(net, kClock);
        ASSERT_TRUE(session.Connect());
        EXPECT_TRUE(session.Connect());  // already connected: nothing sent
    }
    EXPECT_EQ(net.Commands(), (Lines{"HELO client.example.com\r\n", "QUIT\r\n"}));
}

TEST(SmtpSession, HeloFallsBackToAnAddressLiteral) {
    const std::optional<std::string> names[] = {std::nullopt, "", "王的电脑", "host name",
                                                std::string(80, 'h')};
    for (const auto& name : names) {
        for (const bool known : {true, false}) {
            ScriptedNet net;
            net.SetLocalHostName(name);
            if (known) {
                net.SetLocalAddress(std::array<std::uint8_t, 4>{10, 1, 2, 3});
            }
            const std::string helo = known ? "HELO [10.1.2.3]\r\n" : "HELO [127.0.0.1]\r\n";
            net.Greet("220 hi\r\n").On(helo, "250 hi\r\n").On("QUIT\r\n", "221 bye\r\n");
            FixedSession session(net, kClock);
            EXPECT_TRUE(session.Connect());
            EXPECT_EQ(net.Commands(), Lines{helo});
        }
    }
}

TEST(SmtpSession, NoCommandOrHeaderInjection) {
    // A subject's line breaks become blanks.
    ScriptedNet net;
    ScriptSend(net, {"a1"});
    FixedSession session(net, kClock);
    CMailMessage message = Message("a1", "Hi\r\nBcc: evil@example.com", "x");
    ASSERT_TRUE(session.Connect() && session.SendMessage(message));
    EXPECT_EQ(net.Commands()[4], Header("<a1>", "Hi  Bcc: evil@example.com") + "x\r\n\r\n.\r\n");

    // A sender address that would add a command is refused before MAIL.
    ScriptedNet refused;
    refused.Greet("220 hi\r\n")
        .On("HELO client.example.com\r\n", "250 hi\r\n")
        .On("QUIT\r\n", "221 bye\r\n");
    FixedSession guarded(refused, kClock);
    CMailMessage forged = Message("a1", "s", "x");
    forged.m_strFrom = "me@example.com>\r\nRCPT TO: <evil@example.com";
    ASSERT_TRUE(guarded.Connect());
    EXPECT_FALSE(guarded.SendMessage(forged));
    EXPECT_EQ(guarded.GetErrorText(), "无效的回信地址,请重新填写 !");
    EXPECT_EQ(refused.Commands(), Lines{"HELO client.example.com\r\n"});
}

TEST(SmtpSession, EightBitSubjectAndNamesGoOutAsGbkEncodedWords) {
    ScriptedNet net;
    ScriptSend(net, {"a1", "b2"});
    FixedSession session(net, kClock);
    // "你好" and "张三" in GBK.
    CMailMessage message =
        Message("\xD5\xC5\xC8\xFD <a1>;\xD5\xC5\xC8\xFD<b2>", "\xC4\xE3\xBA\xC3 Quorlet", "x");
    ASSERT_TRUE(session.Connect() && session.SendMessage(message)) << session.GetErrorText();
    EXPECT_EQ(net.Commands()[5], Header("=?GBK?B?1cXI/Q==?= <a1>,=?GBK?B?1cXI/Q==?= <b2>",
                                        "=?GBK?B?xOO6wyBRdW9ybGV0?=") +
                                     "x\r\n\r\n.\r\n");
    EXPECT_EQ(DecodeHeaderText("=?GBK?B?xOO6wyBRdW9ybGV0?=", 0, SystemCharsets()),
              "\xC4\xE3\xBA\xC3 Quorlet");
}

TEST(MailMessage, RecipientTextIsSplitAtSemicolons) {
    CMailMessage m;
    ASSERT_TRUE(m.AddRecipients("Ann <a1>;b2"));
    std::string address = "?", name = "?";
    ASSERT_EQ(m.GetRecipientCount(), 2);
    ASSERT_TRUE(m.GetRecipient(0, address, name));
    EXPECT_EQ(address, "a1");
    EXPECT_EQ(name, "Ann ");
    ASSERT_TRUE(m.GetRecipient(1, address, name));
    EXPECT_EQ(address, "b2");
    EXPECT_EQ(name, "");
    address = name = "untouched";
    EXPECT_FALSE(m.GetRecipient(2, address, name));
    EXPECT_FALSE(m.GetRecipient(-1, address, name));
    EXPECT_EQ(address, "untouched");

    CMailMessage trailing;
    ASSERT_TRUE(trailing.AddRecipients("a1;"));
    EXPECT_EQ(trailing.GetRecipientCount(), 2);
    EXPECT_EQ(trailing.m_arrRecipients[1].m_strAddress, "");
    CMailMessage empty;
    ASSERT_TRUE(empty.AddRecipients(""));
    EXPECT_EQ(empty.GetRecipientCount(), 1);
    CMailMessage two;
    ASSERT_TRUE(two.AddRecipients(";;"));
    EXPECT_EQ(two.GetRecipientCount(), 3);
    CMailMessage commas;
    ASSERT_TRUE(commas.AddRecipients(" a1 , b2 <c3> tail"));
    EXPECT_EQ(commas.m_arrRecipients[0].m_strAddress, "c3");
    EXPECT_EQ(commas.m_arrRecipients[0].m_strName, " a1 , b2 ");
}

TEST(MailMessage, BadPiecesStopTheSplitAndKeepEarlierEntries) {
    const char* bad[] = {"a1;x<y;b2", "a1;>x<y",   "a1;x<a\r\nRCPT TO: <evil>",
                         "a1;a>b",    "a1;x<a<b>", "a1;bad\naddress"};
    for (const char* text : bad) {
        CMailMessage m;
        EXPECT_FALSE(m.AddRecipients(text)) << text;
        ASSERT_EQ(m.GetRecipientCount(), 1) << text;
        EXPECT_EQ(m.m_arrRecipients[0].m_strAddress, "a1");
    }
    CMailMessage m;
    EXPECT_FALSE(m.AddRecipients(std::string("x<a\0b>", 6)));
    EXPECT_FALSE(m.AddRecipient("a\rb", "name"));
    EXPECT_EQ(m.GetRecipientCount(), 0);
}

// A reply's code is its first three digits, whatever follows them.
TEST(SmtpReply, CodesAreTheFirstThreeDigits) {
    const std::pair<const char*, int> cases[] = {
        {"250", 250},      {"250 ok", 250}, {"354-go", 354}, {"250OK", 250}, {"2500", 250},
        {"221\tbye", 221}, {"25", 0},       {"25x ok", 0},   {" 250 ok", 0}, {"", 0},
    };
    for (const auto& [line, code] : cases) {
        EXPECT_EQ(SmtpReplyCode(line), code) << line;
    }
}

}  // namespace
}  // namespace quorlet
