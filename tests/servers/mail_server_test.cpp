// The sessions against real servers: Dovecot POP3 and an SMTP sink, started around this program
// by tests/fixtures/mail_servers.sh. What the session reads is compared with what the mailbox
// really holds; what the sink received is compared byte for byte.
#include <gtest/gtest.h>

#include "mail/header_decoder.h"
#include "mail/mail_date.h"
#include "mail/pop3_session.h"
#include "send/smtp_session.h"
#include "support/mail_fixture.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

using quorlet::testing::MailFixture;
using quorlet::testing::TempDir;

class MailServers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_servers.Available()) << "run under tests/fixtures/mail_servers.sh";
        ASSERT_GE(m_servers.Users(), 4);
    }

    struct Message {
        std::int64_t size;
        std::string from, subject, date;  // as the preview shows them
        char encoding;
    };
    struct Mailbox {
        bool ok;
        std::string error;
        int count;
        std::int64_t octets;
        std::vector<Message> messages;
    };

    // One check of user k's mailbox, as a check slot runs it.
    Mailbox Check(int k, const std::string& password) {
        CPop3Session session(SystemNet(), m_clock);
        session.SetTempFileNames(m_dir.File("QlList0.p3"), m_dir.File("QlTop0.p3"));
        Mailbox box{};
        box.ok = session.Open(m_servers.Pop3Server(), 110, MailFixture::User(k), password) &&
                 session.Stat() && (session.m_nMessages == 0 || session.List());
        for (int i = 1; box.ok && i <= session.m_nMessages; ++i) {
            box.ok = session.Top(i, 0);
            std::string date;
            NormaliseDate(session.m_strDate, date);
            box.messages.push_back({session.GetMessageSize(i),
                                    DecodeHeaderText(session.m_strFrom, 0, SystemCharsets()),
                                    DecodeHeaderText(session.m_strSubject, 0, SystemCharsets()),
                                    date, session.m_cEncoding});
        }
        box.ok = box.ok && session.Quit();
        box.error = session.m_strError;
        box.count = session.m_nMessages;
        box.octets = session.m_nMailboxSize;
        return box;
    }

    MailFixture m_servers;
    TempDir m_dir;
    ManualClock m_clock{CivilTime{2002, 5, 10, 8, 9, 10}};
};

const std::string kGbk =
    "Return-Path: <zhang@example.cn>\n"
    "From: =?gb2312?B?1cXI/Q==?= <zhang@example.cn>\n"
    "Subject: =?gb2312?B?xOO6ww==?=\n"
    "Date: Mon, 06 May 2002 10:20:30 +0800\n"
    "Content-Transfer-Encoding: base64\n"
    "\n"
    "xOO6ww==\n";
const std::string kUtf8 =
    "From: =?utf-8?Q?Ann_Lee?= <ann@example.com>\n"
    "Subject: =?UTF-8?B?6bil5L+h6YCa?= =?UTF-8?Q?_test?=\n"
    "Date: Tue, 7 May 2002 08:00:00 +0000\n"
    "Content-Transfer-Encoding: quoted-printable\n"
    "\n"
    "Hello=20there\n";
const std::string kBig5 =
    "Subject: =?big5?B?pKSk5Q==?=\n"
    "From: big5@example.tw\n"
    "Date: Wed, 08 May 2002 09:10:11 +0800\n"
    "\n"
    "From: a body line is not a header\n";
// A folded subject whose UTF-8 character is split across the two words.
const std::string kFolded =
    "Subject: =?utf-8?B?6bil5L8=?=\n"
    " =?utf-8?B?oemAmg==?= and a long\n"
    "\ttail\n"
    "From: fold@example.com\n"
    "Date: Thu, 9 May 2002 12:00:00 +0800\n"
    "\n"
    ".\n"
    "..\n";
const std::string kNoDate =
    "From: nodate@example.com\n"
    "Subject: no date\n"
    "\n"
    "body\n";

TEST_F(MailServers, CheckReadsCountsSizesAndHeadersOfEveryCharset) {
    m_servers.Clear(1);
    for (const std::string* raw : {&kGbk, &kUtf8, &kBig5, &kFolded, &kNoDate}) {
        m_servers.Deliver(1, *raw);
    }
    const Mailbox box = Check(1, "pass1");
    ASSERT_TRUE(box.ok) << box.error;
    ASSERT_EQ(box.count, 5);
    std::int64_t total = 0;
    for (const std::string* raw : {&kGbk, &kUtf8, &kBig5, &kFolded, &kNoDate}) {
        total += MailFixture::Pop3Size(*raw);
    }
    EXPECT_EQ(box.octets, total);
    ASSERT_EQ(box.messages.size(), 5u);
    const Message& gbk = box.messages[0];
    EXPECT_EQ(gbk.size, MailFixture::Pop3Size(kGbk));
    EXPECT_EQ(gbk.from, " \xD5\xC5\xC8\xFD <zhang@example.cn>");  // "张三"
    EXPECT_EQ(gbk.subject, " \xC4\xE3\xBA\xC3");                  // "你好"
    EXPECT_EQ(gbk.date, "2002-5-06 10:20:30");
    EXPECT_EQ(gbk.encoding, 'B');
    const Message& utf8 = box.messages[1];
    EXPECT_EQ(utf8.from, " Ann Lee <ann@example.com>");
    EXPECT_EQ(utf8.subject, " 鸥信通 test");
    EXPECT_EQ(utf8.date, "2002-5-7 08:00:00");
    EXPECT_EQ(utf8.encoding, 'Q');
    const Message& big5 = box.messages[2];
    EXPECT_EQ(big5.subject, " 中文");
    EXPECT_EQ(big5.from, " big5@example.tw");
    EXPECT_EQ(big5.encoding, 0);
    const Message& folded = box.messages[3];
    EXPECT_EQ(folded.subject, " 鸥信通 and a long tail");
    EXPECT_EQ(folded.from, " fold@example.com");
    EXPECT_EQ(folded.size, MailFixture::Pop3Size(kFolded));
    const Message& noDate = box.messages[4];
    EXPECT_EQ(noDate.subject, " no date");
    EXPECT_EQ(noDate.date, "2002-5-10 08:09:10");  // the time of the check
    // The spool files are gone.
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.path()));
}

TEST_F(MailServers, EmptyMailboxAndWrongPassword) {
    m_servers.Clear(2);
    const Mailbox empty = Check(2, "pass2");
    ASSERT_TRUE(empty.ok) << empty.error;
    EXPECT_EQ(empty.count, 0);
    EXPECT_EQ(empty.octets, 0);

    const Mailbox refused = Check(2, "wrong");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "无效密码");

    CPop3Session session(SystemNet(), SystemClock());
    EXPECT_FALSE(session.Open(m_servers.Pop3Server(), 110, "nobody", "x"));
    EXPECT_EQ(session.m_strError, "无效密码");
}

TEST_F(MailServers, DeleRemovesTheMessageOnTheServer) {
    m_servers.Clear(3);
    m_servers.Deliver(3, kGbk);
    m_servers.Deliver(3, kBig5);
    CPop3Session session(SystemNet(), SystemClock());
    ASSERT_TRUE(session.Open(m_servers.Pop3Server(), 110, "user3", "pass3"));
    ASSERT_TRUE(session.Dele(1));
    EXPECT_FALSE(session.Dele(7));
    EXPECT_EQ(session.m_strError, "Error occured during DELE");
    ASSERT_TRUE(session.Quit());
    EXPECT_EQ(m_servers.Messages(3), std::vector<std::string>{kBig5});
    const Mailbox box = Check(3, "pass3");
    ASSERT_TRUE(box.ok) << box.error;
    EXPECT_EQ(box.count, 1);
    EXPECT_EQ(box.messages[0].subject, " 中文");
}

// The sink's clock and zone are fixed so that the header block can be compared whole.
class FixedSession : public CSmtpSession {
public:
    FixedSession(const std::string& server, const Clock& clock)
        : CSmtpSession(SystemNet(), server.substr(0, server.find(':')),
                       static_cast<unsigned>(std::stoi(server.substr(server.find(':') + 1))),
                       clock) {}

protected:
    int UtcOffsetMinutes(const CivilTime&) const override { return -330; }
    std::string MakeMessageId(const CMailMessage&) const override { return "<7@example.com>"; }
};

TEST_F(MailServers, SinkReceivesTheMessageAsTyped) {
    m_servers.ClearReceived();
    FixedSession session(m_servers.SmtpServer(), m_clock);
    CMailMessage message;
    message.m_strFrom = "me@example.com";
    // The third piece is empty: it goes out as "RCPT TO: <>", which this sink takes too.
    ASSERT_TRUE(message.AddRecipients("\xD5\xC5\xC8\xFD <zhang@example.cn>;ann@example.com;"));
    message.m_strSubject = "\xC4\xE3\xBA\xC3, Ann";
    message.m_strBody = "Hi\n.\n.hidden\r\n..two\rlast";
    ASSERT_TRUE(session.Connect()) << session.GetErrorText();
    ASSERT_TRUE(session.SendMessage(message)) << session.GetErrorText();
    ASSERT_TRUE(session.Disconnect()) << session.GetErrorText();

    const auto received = m_servers.ReceivedMessages();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].mailFrom, "me@example.com");
    EXPECT_EQ(received[0].rcptTo,
              (std::vector<std::string>{"zhang@example.cn", "ann@example.com", "<>"}));
    EXPECT_FALSE(received[0].helo.empty());
    EXPECT_EQ(received[0].text,
              "Date: Fri, 10 May 2002 08:09:10 -0530\r\n"
              "From: me@example.com\r\n"
              "To: =?GBK?B?1cXI/Q==?= <zhang@example.cn>,<ann@example.com>,<>\r\n"
              "Subject: =?GBK?B?xOO6wywgQW5u?=\r\n"
              "X-Mailer: Quorlet v1.x\r\n"
              "Message-ID: <7@example.com>\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=GBK\r\n"
              "Content-Transfer-Encoding: 8bit\r\n"
              "\r\n"
              "Hi\r\n.\r\n.hidden\r\n..two\r\nlast\r\n\r\n");
}

}  // namespace
}  // namespace quorlet
