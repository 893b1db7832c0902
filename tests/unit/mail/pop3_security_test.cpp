// The POP3 session's security choices against scripted servers: which commands go out before
// and after the handshake (which the fake TLS layer notes), the port of each choice, and how an
// upgrade that cannot be trusted fails without the password ever being sent.
#include <gtest/gtest.h>

#include "mail/pop3_session.h"
#include "platform/clock.h"
#include "support/scripted_net.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using quorlet::testing::ScriptedNet;
using Then = ScriptedNet::Then;
using Lines = std::vector<std::string>;

const ManualClock kClock(CivilTime{2002, 5, 6, 10, 20, 30});

struct Outcome {
    bool ok = false;
    std::string error;
    Lines sent;
    int tlsAfter = -1;  // commands sent before the handshake; -1: none
    std::uint16_t port = 0;
    bool open = false;  // the connection is still open after Open
    TlsReport tls;
};

Outcome Login(ScriptedNet& net, const std::string& server, MailSecurity security) {
    CPop3Session session(net, kClock);
    session.SetWaitLimits(2s, 2s);
    Outcome r;
    r.ok = session.Open(server, DefaultPop3Port(security), "ann", "secret", security);
    r.error = session.m_strError;
    r.sent = net.Commands();
    r.tlsAfter = net.CommandsBeforeTls();
    r.port = net.ConnectedPort();
    r.open = session.m_socket.IsOpen();
    r.tls = session.m_tls;
    return r;
}

void LoginSteps(ScriptedNet& net) {
    net.On("USER ann\r\n", "+OK\r\n").On("PASS secret\r\n", "+OK logged in\r\n");
}

const Lines kStlsOnly = {"STLS\r\n"};

struct Case {
    const char* what;
    MailSecurity security;
    std::string server;
    std::string error;  // empty: logged in
    int tlsAfter;
    std::uint16_t port;
    // Each command, then the server's reply; an empty reply: the server closes instead. A first
    // command of "" replaces the greeting "+OK ready".
    Lines dialogue;
};

Case Row(const char* what, MailSecurity security, std::string server, std::string error,
         int tlsAfter, std::uint16_t port, Lines dialogue) {
    return {what,     security, std::move(server),  std::move(error),
            tlsAfter, port,     std::move(dialogue)};
}

TEST(Pop3Security, EachChoiceSecuresAtItsPointAndOnItsPort) {
    using S = MailSecurity;
    const std::string host = "pop.example.com", failed = "安全连接失败";
    const Lines login = {"USER ann\r\n", "+OK\r\n", "PASS secret\r\n", "+OK logged in\r\n"};
    const auto stls = [&](std::string reply, Lines rest = {}) {
        rest.insert(rest.begin(), {"STLS\r\n", std::move(reply)});
        return rest;
    };
    const Case cases[] = {
        Row("no security: no handshake, port 110", S::None, host, "", -1, 110, login),
        Row("TLS from the first byte, before the greeting, on 995", S::Tls, host, "", 0, 995,
            login),
        Row("a port in the server text wins over the choice's", S::Tls, host + ":1995", "", 0, 1995,
            login),
        Row("STLS after the greeting, the login over TLS, on 110", S::StartTls, host, "", 1, 110,
            stls("+OK Begin TLS negotiation\r\n", login)),
        Row("a lower-case go-ahead counts, as every POP3 status does", S::StartTls, host, "", 1,
            110, stls("+ok\r\n", login)),
        Row("STLS refused: no fallback to plain text", S::StartTls, host, failed, -1, 110,
            stls("-ERR unknown command\r\n")),
        Row("STLS answered by a line that is no go-ahead", S::StartTls, host, failed, -1, 110,
            stls("* OK\r\n")),
        Row("the server closes instead of answering STLS", S::StartTls, host, failed, -1, 110,
            stls("")),
        Row("plain text behind the go-ahead (injected replies) is refused before any handshake",
            S::StartTls, host, failed, -1, 110, stls("+OK Begin TLS\r\n+OK\r\n+OK logged in\r\n")),
        Row("a single byte behind the go-ahead is enough", S::StartTls, host, failed, -1, 110,
            stls("+OK Begin TLS\r\n\r")),
        Row("a greeting of -ERR ends it before STLS", S::StartTls, host, "无效连接", -1, 110,
            {"", "-ERR go away\r\n"}),
        Row("a wrong password over TLS is still the wrong password", S::Tls, host, "无效密码", 0,
            995, {"USER ann\r\n", "+OK\r\n", "PASS secret\r\n", "-ERR [AUTH] failed\r\n"}),
    };
    for (const Case& c : cases) {
        ScriptedNet net;
        std::size_t first = 0;
        if (!c.dialogue.empty() && c.dialogue[0].empty()) {
            net.Greet(c.dialogue[1]);
            first = 2;
        } else {
            net.Greet("+OK ready\r\n");
        }
        Lines expected;
        for (std::size_t i = first; i + 1 < c.dialogue.size(); i += 2) {
            const std::string& reply = c.dialogue[i + 1];
            net.On(c.dialogue[i], reply, reply.empty() ? Then::Close : Then::Continue);
            expected.push_back(c.dialogue[i]);
        }
        const Outcome r = Login(net, c.server, c.security);
        EXPECT_EQ(r.ok, c.error.empty()) << c.what << ": " << r.error;
        EXPECT_EQ(r.ok ? "" : r.error, c.error) << c.what;
        EXPECT_EQ(r.sent, expected) << c.what;
        EXPECT_EQ(r.tlsAfter, c.tlsAfter) << c.what;
        EXPECT_EQ(r.port, c.port) << c.what;
        EXPECT_EQ(net.ConnectedHost(), host) << c.what;
        if (c.tlsAfter >= 0) {
            EXPECT_EQ(net.TlsFake().LastServerName(), host) << c.what;
        }
        // A failed upgrade leaves nothing open to go on with in plain text.
        if (c.error == failed) {
            EXPECT_FALSE(r.open) << c.what;
        }
    }
}

// The user's text for every failure, for POP3 and SMTP alike.
TEST(MailTls, AFailedHandshakeNamesTheCertificateOrTheConnection) {
    for (const TlsFailure failure :
         {TlsFailure::Untrusted, TlsFailure::WrongName, TlsFailure::Expired}) {
        EXPECT_STREQ(TlsFailureText(failure), "证书无效") << TlsFailureReason(failure);
    }
    for (const TlsFailure failure :
         {TlsFailure::Handshake, TlsFailure::ProtocolTooOld, TlsFailure::TimedOut,
          TlsFailure::Aborted, TlsFailure::Unavailable}) {
        EXPECT_STREQ(TlsFailureText(failure), "安全连接失败") << TlsFailureReason(failure);
    }
}

// At either point a failed handshake gives the failure's text, keeps the library's words, closes
// the connection and sends neither USER nor PASS.
TEST(Pop3Security, AFailedHandshakeSendsNoPassword) {
    const struct {
        MailSecurity security;
        TlsFailure failure;
        const char* text;
        Lines sent;
    } cases[] = {{MailSecurity::Tls, TlsFailure::WrongName, "证书无效", {}},
                 {MailSecurity::StartTls, TlsFailure::Aborted, "安全连接失败", kStlsOnly}};
    for (const auto& c : cases) {
        ScriptedNet net;
        net.Greet("+OK ready\r\n").On("STLS\r\n", "+OK\r\n");
        LoginSteps(net);
        net.TlsFake().FailWith(c.failure, "the library's words");
        const Outcome r = Login(net, "pop.example.com", c.security);
        const std::string what = TlsFailureReason(c.failure);
        EXPECT_FALSE(r.ok) << what;
        EXPECT_EQ(r.error, c.text) << what;
        EXPECT_EQ(r.sent, c.sent) << what;
        EXPECT_FALSE(r.open) << what;
        EXPECT_EQ(r.tls.failure, c.failure) << what;
        EXPECT_EQ(r.tls.detail, "the library's words") << what;
    }
}

TEST(Pop3Security, ANetworkWithoutTlsFailsTheSecureChoicesInsteadOfGoingOnInPlainText) {
    for (const MailSecurity security : {MailSecurity::Tls, MailSecurity::StartTls}) {
        ScriptedNet net;
        net.WithoutTls();
        net.Greet("+OK ready\r\n").On("STLS\r\n", "+OK\r\n");
        LoginSteps(net);
        const Outcome r = Login(net, "pop.example.com", security);
        EXPECT_EQ(r.error, "安全连接失败");
        EXPECT_EQ(r.tls.failure, TlsFailure::Unavailable);
        for (const std::string& line : r.sent) {
            EXPECT_EQ(line.find("secret"), std::string::npos) << line;
        }
    }
}

TEST(Pop3Security, TheNegotiatedProtocolIsKeptAndForgottenAtTheNextLogin) {
    ScriptedNet net;
    net.Greet("+OK ready\r\n");
    LoginSteps(net);
    net.On("QUIT \r\n", "+OK\r\n");
    LoginSteps(net);
    CPop3Session session(net, kClock);
    session.SetWaitLimits(2s, 2s);
    ASSERT_TRUE(session.Open("pop.example.com", 995, "ann", "secret", MailSecurity::Tls));
    EXPECT_TRUE(session.m_tls.attempted);
    EXPECT_EQ(session.m_tls.protocol, "TLSv1.3");
    ASSERT_TRUE(session.Quit());
    // The next account asks for none: nothing of the last handshake may show for it.
    EXPECT_TRUE(session.Open("pop.example.com", 110, "ann", "secret"));
    EXPECT_EQ(net.TlsFake().Handshakes(), 1);
    EXPECT_FALSE(session.m_tls.attempted);
    EXPECT_EQ(session.m_tls.protocol, "");
}

}  // namespace
}  // namespace quorlet
