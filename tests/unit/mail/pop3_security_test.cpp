// The POP3 session's security choices against scripted servers: which commands go out before
// and after the handshake (which the fake TLS layer notes), the port of each choice, and how an
// upgrade that cannot be trusted fails without the password ever being sent.
#include <gtest/gtest.h>

#include <functional>

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

const Lines kLogin = {"USER ann\r\n", "PASS secret\r\n"};
const Lines kStlsLogin = {"STLS\r\n", "USER ann\r\n", "PASS secret\r\n"};
const Lines kStlsOnly = {"STLS\r\n"};

TEST(Pop3Security, EachChoiceSecuresAtItsPointAndOnItsPort) {
    struct Case {
        const char* what;
        MailSecurity security;
        std::string server;
        std::function<void(ScriptedNet&)> script;
        bool ok;
        std::string error;
        Lines sent;
        int tlsAfter;
        std::uint16_t port;
    };
    const auto greet = [](ScriptedNet& net) { net.Greet("+OK ready\r\n"); };
    const Case cases[] = {
        {"no security: no handshake, port 110", MailSecurity::None, "pop.example.com",
         [&](ScriptedNet& n) { greet(n), LoginSteps(n); }, true, "", kLogin, -1, 110},
        {"TLS from the first byte, before the greeting, on 995", MailSecurity::Tls,
         "pop.example.com", [&](ScriptedNet& n) { greet(n), LoginSteps(n); }, true, "", kLogin, 0,
         995},
        {"a port in the server text wins over the choice's", MailSecurity::Tls,
         "pop.example.com:1995", [&](ScriptedNet& n) { greet(n), LoginSteps(n); }, true, "", kLogin,
         0, 1995},
        {"STLS after the greeting, the login over TLS, on 110", MailSecurity::StartTls,
         "pop.example.com",
         [&](ScriptedNet& n) {
             greet(n);
             n.On("STLS\r\n", "+OK Begin TLS negotiation\r\n");
             LoginSteps(n);
         },
         true, "", kStlsLogin, 1, 110},
        {"a lower-case go-ahead counts, as every POP3 status does", MailSecurity::StartTls,
         "pop.example.com",
         [&](ScriptedNet& n) {
             greet(n);
             n.On("STLS\r\n", "+ok\r\n");
             LoginSteps(n);
         },
         true, "", kStlsLogin, 1, 110},
        {"STLS refused: no fallback to plain text", MailSecurity::StartTls, "pop.example.com",
         [&](ScriptedNet& n) {
             greet(n);
             n.On("STLS\r\n", "-ERR unknown command\r\n");
         },
         false, "安全连接失败", kStlsOnly, -1, 110},
        {"STLS answered by a line that is no go-ahead", MailSecurity::StartTls, "pop.example.com",
         [&](ScriptedNet& n) {
             greet(n);
             n.On("STLS\r\n", "* OK\r\n");
         },
         false, "安全连接失败", kStlsOnly, -1, 110},
        {"the server closes instead of answering STLS", MailSecurity::StartTls, "pop.example.com",
         [&](ScriptedNet& n) {
             greet(n);
             n.On("STLS\r\n", "", Then::Close);
         },
         false, "安全连接失败", kStlsOnly, -1, 110},
        {"plain text behind the go-ahead (injected replies) is refused before any handshake",
         MailSecurity::StartTls, "pop.example.com",
         [&](ScriptedNet& n) {
             greet(n);
             n.On("STLS\r\n", "+OK Begin TLS\r\n+OK\r\n+OK logged in\r\n");
         },
         false, "安全连接失败", kStlsOnly, -1, 110},
        {"a single byte behind the go-ahead is enough", MailSecurity::StartTls, "pop.example.com",
         [&](ScriptedNet& n) {
             greet(n);
             n.On("STLS\r\n", "+OK Begin TLS\r\n\r");
         },
         false, "安全连接失败", kStlsOnly, -1, 110},
        {"a greeting of -ERR ends it before STLS",
         MailSecurity::StartTls,
         "pop.example.com",
         [](ScriptedNet& n) { n.Greet("-ERR go away\r\n"); },
         false,
         "无效连接",
         {},
         -1,
         110},
        {"a wrong password over TLS is still the wrong password", MailSecurity::Tls,
         "pop.example.com",
         [&](ScriptedNet& n) {
             greet(n);
             n.On("USER ann\r\n", "+OK\r\n").On("PASS secret\r\n", "-ERR [AUTH] failed\r\n");
         },
         false, "无效密码", kLogin, 0, 995},
    };
    for (const Case& c : cases) {
        ScriptedNet net;
        c.script(net);
        const Outcome r = Login(net, c.server, c.security);
        EXPECT_EQ(r.ok, c.ok) << c.what << ": " << r.error;
        EXPECT_EQ(r.ok ? "" : r.error, c.error) << c.what;
        EXPECT_EQ(r.sent, c.sent) << c.what;
        EXPECT_EQ(r.tlsAfter, c.tlsAfter) << c.what;
        EXPECT_EQ(r.port, c.port) << c.what;
        EXPECT_EQ(net.ConnectedHost(), "pop.example.com") << c.what;
        if (c.tlsAfter >= 0) {
            EXPECT_EQ(net.TlsFake().LastServerName(), "pop.example.com") << c.what;
        }
        // A failed upgrade leaves nothing open to go on with in plain text.
        if (c.error == "安全连接失败") {
            EXPECT_FALSE(r.open) << c.what;
        }
    }
}

TEST(Pop3Security, AFailedHandshakeNamesTheCertificateOrTheConnectionAndSendsNoPassword) {
    struct Case {
        TlsFailure failure;
        const char* text;
    };
    const Case cases[] = {
        {TlsFailure::Untrusted, "证书无效"},
        {TlsFailure::WrongName, "证书无效"},
        {TlsFailure::Expired, "证书无效"},
        {TlsFailure::Handshake, "安全连接失败"},
        {TlsFailure::ProtocolTooOld, "安全连接失败"},
        {TlsFailure::TimedOut, "安全连接失败"},
        {TlsFailure::Aborted, "安全连接失败"},
        {TlsFailure::Unavailable, "安全连接失败"},
    };
    for (const MailSecurity security : {MailSecurity::Tls, MailSecurity::StartTls}) {
        for (const Case& c : cases) {
            ScriptedNet net;
            net.Greet("+OK ready\r\n").On("STLS\r\n", "+OK\r\n");
            LoginSteps(net);
            net.TlsFake().FailWith(c.failure, "the library's words");
            const Outcome r = Login(net, "pop.example.com", security);
            const std::string what = std::string(TlsFailureReason(c.failure)) +
                                     (security == MailSecurity::Tls ? " (TLS)" : " (STLS)");
            EXPECT_FALSE(r.ok) << what;
            EXPECT_EQ(r.error, c.text) << what;
            EXPECT_EQ(r.sent, security == MailSecurity::Tls ? Lines{} : kStlsOnly) << what;
            EXPECT_FALSE(r.open) << what;
            EXPECT_EQ(r.tls.failure, c.failure) << what;
            EXPECT_EQ(r.tls.detail, "the library's words") << what;
        }
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
