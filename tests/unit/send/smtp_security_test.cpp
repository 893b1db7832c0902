// The SMTP session's security and login against scripted servers: HELO unless security or a
// login is asked for, what goes out before and after the handshake (which the fake TLS layer
// notes), the login mechanism chosen from what the server offers over TLS, and the upgrades
// that fail without a credential ever being sent.
#include <gtest/gtest.h>

#include <functional>

#include "send/composed_mail.h"
#include "send/smtp_extensions.h"
#include "send/smtp_session.h"
#include "support/scripted_net.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using quorlet::testing::ScriptedNet;
using Lines = std::vector<std::string>;

const ManualClock kClock(CivilTime{2002, 5, 6, 10, 20, 30});

const std::string kEhlo = "EHLO client.example.com\r\n";
const std::string kPlain = "AUTH PLAIN AGFubgBzZWNyZXQ=\r\n";  // "\0ann\0secret"
const std::string kUserB64 = "YW5u\r\n";                       // "ann"
const std::string kPasswordB64 = "c2VjcmV0\r\n";               // "secret"

struct Outcome {
    bool ok = false;
    std::string error;
    Lines sent;
    int tlsAfter = -1;
};

Outcome Connect(ScriptedNet& net, MailSecurity security, const std::string& user) {
    CSmtpSession session(net, "mail.example.com", DefaultSmtpPort(security), kClock);
    session.SetWaitLimits(2s, 2s);
    session.SetSecurity(security);
    session.SetLogin(user, "secret");
    Outcome r;
    r.ok = session.Connect();
    r.error = session.GetErrorText();
    r.sent = net.Commands();
    r.tlsAfter = net.CommandsBeforeTls();
    return r;
}

TEST(SmtpSecurity, TheDialogueOfEachChoiceAndLogin) {
    struct Case {
        const char* what;
        MailSecurity security;
        std::string user;
        std::function<void(ScriptedNet&)> script;
        bool ok;
        std::string error;
        Lines sent;
        int tlsAfter;
    };
    using S = MailSecurity;
    const auto greet = [](ScriptedNet& n) { n.Greet("220 mail.example.com ESMTP\r\n"); };
    const std::string offers = "250-mail.example.com\r\n250-SIZE 1000000\r\n";
    const std::string both = offers + "250-STARTTLS\r\n250 AUTH LOGIN PLAIN\r\n";
    const std::string authOnly = offers + "250 AUTH PLAIN LOGIN\r\n";
    const std::string tlsOnly = offers + "250 STARTTLS\r\n";
    const std::string nothing = "250 mail.example.com\r\n";
    const Case cases[] = {
        {"nothing asked: HELO as always",
         S::None,
         "",
         [&](ScriptedNet& n) { greet(n), n.On("HELO client.example.com\r\n", "250 hi\r\n"); },
         true,
         "",
         {"HELO client.example.com\r\n"},
         -1},
        {"a login without security: EHLO and AUTH PLAIN in plain text, as asked",
         S::None,
         "ann",
         [&](ScriptedNet& n) { greet(n), n.On(kEhlo, authOnly).On(kPlain, "235 ok\r\n"); },
         true,
         "",
         {kEhlo, kPlain},
         -1},
        {"implicit TLS without login: the handshake first, then EHLO",
         S::Tls,
         "",
         [&](ScriptedNet& n) { greet(n), n.On(kEhlo, nothing); },
         true,
         "",
         {kEhlo},
         0},
        {"implicit TLS with login",
         S::Tls,
         "ann",
         [&](ScriptedNet& n) { greet(n), n.On(kEhlo, authOnly).On(kPlain, "235 ok\r\n"); },
         true,
         "",
         {kEhlo, kPlain},
         0},
        {"STARTTLS, then EHLO again over TLS",
         S::StartTls,
         "",
         [&](ScriptedNet& n) {
             greet(n), n.On(kEhlo, tlsOnly).On("STARTTLS\r\n", "220 go ahead\r\n");
             n.On(kEhlo, nothing);
         },
         true,
         "",
         {kEhlo, "STARTTLS\r\n", kEhlo},
         2},
        {"STARTTLS and a login offered over TLS",
         S::StartTls,
         "ann",
         [&](ScriptedNet& n) {
             greet(n), n.On(kEhlo, both).On("STARTTLS\r\n", "220 go ahead\r\n");
             n.On(kEhlo, authOnly).On(kPlain, "235 ok\r\n");
         },
         true,
         "",
         {kEhlo, "STARTTLS\r\n", kEhlo, kPlain},
         2},
        {"AUTH offered only before STARTTLS: no credentials at all",
         S::StartTls,
         "ann",
         [&](ScriptedNet& n) {
             greet(n), n.On(kEhlo, both).On("STARTTLS\r\n", "220 go ahead\r\n");
             n.On(kEhlo, nothing);
         },
         false,
         "服务器不支持登录",
         {kEhlo, "STARTTLS\r\n", kEhlo},
         2},
        {"STARTTLS not offered: no fallback to plain text",
         S::StartTls,
         "ann",
         [&](ScriptedNet& n) { greet(n), n.On(kEhlo, authOnly); },
         false,
         "安全连接失败",
         {kEhlo},
         -1},
        {"STARTTLS refused",
         S::StartTls,
         "ann",
         [&](ScriptedNet& n) {
             greet(n), n.On(kEhlo, both).On("STARTTLS\r\n", "454 TLS not available\r\n");
         },
         false,
         "安全连接失败",
         {kEhlo, "STARTTLS\r\n"},
         -1},
        {"plain text behind the go-ahead (injected replies) is refused before any handshake",
         S::StartTls,
         "ann",
         [&](ScriptedNet& n) {
             greet(n), n.On(kEhlo, both);
             n.On("STARTTLS\r\n", "220 go ahead\r\n250-x\r\n250 AUTH PLAIN\r\n");
         },
         false,
         "安全连接失败",
         {kEhlo, "STARTTLS\r\n"},
         -1},
        {"only LOGIN offered: user name and password as LOGIN asks for them",
         S::Tls,
         "ann",
         [&](ScriptedNet& n) {
             greet(n), n.On(kEhlo, offers + "250 AUTH LOGIN CRAM-MD5\r\n");
             n.On("AUTH LOGIN\r\n", "334 VXNlcm5hbWU6\r\n").On(kUserB64, "334 UGFzc3dvcmQ6\r\n");
             n.On(kPasswordB64, "235 ok\r\n");
         },
         true,
         "",
         {kEhlo, "AUTH LOGIN\r\n", kUserB64, kPasswordB64},
         0},
        {"the old AUTH=LOGIN form counts",
         S::Tls,
         "ann",
         [&](ScriptedNet& n) {
             greet(n), n.On(kEhlo, offers + "250 AUTH=LOGIN\r\n");
             n.On("AUTH LOGIN\r\n", "334 VXNlcm5hbWU6\r\n").On(kUserB64, "334 UGFzc3dvcmQ6\r\n");
             n.On(kPasswordB64, "235 ok\r\n");
         },
         true,
         "",
         {kEhlo, "AUTH LOGIN\r\n", kUserB64, kPasswordB64},
         0},
        {"a refused password",
         S::Tls,
         "ann",
         [&](ScriptedNet& n) {
             greet(n), n.On(kEhlo, authOnly).On(kPlain, "535 5.7.8 bad credentials\r\n");
         },
         false,
         "用户名或密码错误",
         {kEhlo, kPlain},
         0},
        {"a user name LOGIN refuses: the password stays unsent",
         S::Tls,
         "ann",
         [&](ScriptedNet& n) {
             greet(n), n.On(kEhlo, offers + "250 AUTH LOGIN\r\n");
             n.On("AUTH LOGIN\r\n", "334 VXNlcm5hbWU6\r\n").On(kUserB64, "535 no\r\n");
         },
         false,
         "用户名或密码错误",
         {kEhlo, "AUTH LOGIN\r\n", kUserB64},
         0},
        {"no mechanism this session speaks",
         S::Tls,
         "ann",
         [&](ScriptedNet& n) { greet(n), n.On(kEhlo, offers + "250 AUTH CRAM-MD5\r\n"); },
         false,
         "服务器不支持登录",
         {kEhlo},
         0},
        {"EHLO refused",
         S::Tls,
         "",
         [&](ScriptedNet& n) { greet(n), n.On(kEhlo, "502 not implemented\r\n"); },
         false,
         "502:SMTP server error",
         {kEhlo},
         0},
    };
    for (const Case& c : cases) {
        ScriptedNet net;
        c.script(net);
        if (c.ok) {
            net.On("QUIT\r\n", "221 bye\r\n");  // the session's end
        }
        const Outcome r = Connect(net, c.security, c.user);
        EXPECT_EQ(r.ok, c.ok) << c.what << ": " << r.error;
        EXPECT_EQ(r.ok ? "" : r.error, c.error) << c.what;
        EXPECT_EQ(r.sent, c.sent) << c.what;
        EXPECT_EQ(r.tlsAfter, c.tlsAfter) << c.what;
        EXPECT_EQ(net.Mismatches(), Lines{}) << c.what;
        if (c.security != MailSecurity::None) {
            // Before TLS, or without it, nothing that carries a credential.
            const std::size_t plain = c.tlsAfter < 0 ? r.sent.size() : std::size_t(c.tlsAfter);
            for (std::size_t i = 0; i < plain && i < r.sent.size(); ++i) {
                EXPECT_NE(r.sent[i].substr(0, 4), "AUTH") << c.what;
            }
        }
    }
}

TEST(SmtpSecurity, AFailedHandshakeNamesTheCertificateOrTheConnection) {
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
        {TlsFailure::Unavailable, "安全连接失败"},
    };
    for (const MailSecurity security : {MailSecurity::Tls, MailSecurity::StartTls}) {
        for (const Case& c : cases) {
            ScriptedNet net;
            net.Greet("220 hi\r\n")
                .On(kEhlo, "250-hi\r\n250-STARTTLS\r\n250 AUTH PLAIN\r\n")
                .On("STARTTLS\r\n", "220 go ahead\r\n");
            net.TlsFake().FailWith(c.failure);
            const Outcome r = Connect(net, security, "ann");
            const std::string what = TlsFailureReason(c.failure);
            EXPECT_FALSE(r.ok) << what;
            EXPECT_EQ(r.error, c.text) << what;
            const Lines before =
                security == MailSecurity::Tls ? Lines{} : Lines{kEhlo, "STARTTLS\r\n"};
            EXPECT_EQ(r.sent, before) << what;
        }
    }
    ScriptedNet none;
    none.WithoutTls();
    none.Greet("220 hi\r\n");
    EXPECT_EQ(Connect(none, MailSecurity::Tls, "").error, "安全连接失败");
}

TEST(SmtpSecurity, TheComposedMailGoesOutWithTheSettingsChoiceAndLoginOnItsPort) {
    struct Case {
        MailSecurity security;
        std::string server;
        std::uint16_t port;
    };
    const Case cases[] = {{MailSecurity::None, "smtp.example.com", 25},
                          {MailSecurity::Tls, "smtp.example.com", 465},
                          {MailSecurity::StartTls, "smtp.example.com", 587},
                          {MailSecurity::StartTls, "smtp.example.com:2525", 2525}};
    for (const Case& c : cases) {
        ScriptedNet net;
        net.Greet("220 hi\r\n").On(kEhlo, "250-hi\r\n250-STARTTLS\r\n250 AUTH PLAIN\r\n");
        if (c.security == MailSecurity::StartTls) {
            net.On("STARTTLS\r\n", "220 go ahead\r\n")
                .On(kEhlo, "250-hi\r\n250-STARTTLS\r\n250 AUTH PLAIN\r\n");
        }
        net.On(kPlain, "235 ok\r\n")
            .On("MAIL From: <me@example.com>\r\n", "250 ok\r\n")
            .On("RCPT TO: <ann@example.com>\r\n", "250 ok\r\n")
            .On("DATA\r\n", "354 go\r\n")
            .Data("250 queued\r\n")
            .On("QUIT\r\n", "221 bye\r\n");
        ComposedMail mail{c.server, "me@example.com", "ann@example.com", "Hi", "text"};
        mail.security = c.security;
        mail.user = "ann";
        mail.password = "secret";
        EXPECT_EQ(SendComposedMail(net, kClock, mail), std::nullopt) << c.server;
        EXPECT_EQ(net.ConnectedPort(), c.port) << c.server;
        EXPECT_EQ(net.ConnectedHost(), "smtp.example.com");
        EXPECT_EQ(net.Mismatches(), Lines{}) << c.server;
        EXPECT_EQ(net.TlsFake().Handshakes(), c.security == MailSecurity::None ? 0 : 1);
    }
}

TEST(SmtpExtensions, WhatAnEhloReplyOffers) {
    struct Case {
        Lines lines;
        bool startTls, plain, login;
    };
    const Case cases[] = {
        {{"mail.example.com", "STARTTLS", "AUTH PLAIN LOGIN"}, true, true, true},
        {{"mail.example.com", "starttls", "auth login"}, true, false, true},
        {{"mail.example.com", "AUTH=LOGIN PLAIN"}, false, true, true},
        {{"mail.example.com", "AUTH CRAM-MD5 XOAUTH2", "SIZE 100"}, false, false, false},
        // The first line names the server; words inside other lines are not keywords.
        {{"STARTTLS", "X-NOTE AUTH PLAIN", "STARTTLS NOW"}, false, false, false},
        {{"mail.example.com", "AUTH PLAINER LOGINS"}, false, false, false},
        {{}, false, false, false},
    };
    for (const Case& c : cases) {
        const SmtpExtensions e = ParseEhloReply(c.lines);
        const std::string what = c.lines.empty() ? "(none)" : c.lines.back();
        EXPECT_EQ(e.startTls, c.startTls) << what;
        EXPECT_EQ(e.authPlain, c.plain) << what;
        EXPECT_EQ(e.authLogin, c.login) << what;
    }
}

}  // namespace
}  // namespace quorlet
