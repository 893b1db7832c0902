// The SMTP session's security and login against scripted servers: HELO unless security or a
// login is asked for, what goes out before and after the handshake (which the fake TLS layer
// notes), the login mechanism chosen from what the server offers over TLS, and the upgrades
// that fail without a credential ever being sent. The failure texts themselves are held to
// their table in pop3_security_test.cpp.
#include <gtest/gtest.h>

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
const std::string kStartTls = "STARTTLS\r\n";
const std::string kGoAhead = "220 go ahead\r\n";
const std::string kPlain = "AUTH PLAIN AGFubgBzZWNyZXQ=\r\n";  // "\0ann\0secret"
const std::string kAuthLogin = "AUTH LOGIN\r\n";
const std::string kUserB64 = "YW5u\r\n";          // "ann"
const std::string kPasswordB64 = "c2VjcmV0\r\n";  // "secret"
const std::string kAccepted = "235 ok\r\n";
const std::string kOffers = "250-mail.example.com\r\n250-SIZE 1000000\r\n";
const std::string kBoth = kOffers + "250-STARTTLS\r\n250 AUTH LOGIN PLAIN\r\n";
const std::string kAuthOnly = kOffers + "250 AUTH PLAIN LOGIN\r\n";
const std::string kNothing = "250 mail.example.com\r\n";

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

struct Case {
    const char* what;
    MailSecurity security;
    std::string user;
    std::string error;  // empty: connected
    int tlsAfter;
    Lines dialogue;  // each command, then the server's reply
};

Case Row(const char* what, MailSecurity security, std::string user, std::string error, int tlsAfter,
         Lines dialogue) {
    return {what, security, std::move(user), std::move(error), tlsAfter, std::move(dialogue)};
}

// Each row's server answers its commands in order, and the session must send exactly those.
TEST(SmtpSecurity, TheDialogueOfEachChoiceAndLogin) {
    using S = MailSecurity;
    const std::string askUser = "334 VXNlcm5hbWU6\r\n", askPassword = "334 UGFzc3dvcmQ6\r\n";
    const Case cases[] = {
        Row("nothing asked: HELO as always", S::None, "", "", -1,
            {"HELO client.example.com\r\n", "250 hi\r\n"}),
        Row("a login without security: EHLO and AUTH PLAIN in plain text, as asked", S::None, "ann",
            "", -1, {kEhlo, kAuthOnly, kPlain, kAccepted}),
        Row("implicit TLS without login: the handshake first, then EHLO", S::Tls, "", "", 0,
            {kEhlo, kNothing}),
        Row("implicit TLS with login", S::Tls, "ann", "", 0, {kEhlo, kAuthOnly, kPlain, kAccepted}),
        Row("STARTTLS, then EHLO again over TLS", S::StartTls, "", "", 2,
            {kEhlo, kOffers + "250 STARTTLS\r\n", kStartTls, kGoAhead, kEhlo, kNothing}),
        Row("STARTTLS and a login offered over TLS", S::StartTls, "ann", "", 2,
            {kEhlo, kBoth, kStartTls, kGoAhead, kEhlo, kAuthOnly, kPlain, kAccepted}),
        Row("AUTH offered only before STARTTLS: no credentials at all", S::StartTls, "ann",
            "服务器不支持登录", 2, {kEhlo, kBoth, kStartTls, kGoAhead, kEhlo, kNothing}),
        Row("STARTTLS not offered: no fallback to plain text", S::StartTls, "ann", "安全连接失败",
            -1, {kEhlo, kAuthOnly}),
        Row("STARTTLS refused", S::StartTls, "ann", "安全连接失败", -1,
            {kEhlo, kBoth, kStartTls, "454 TLS not available\r\n"}),
        Row("plain text behind the go-ahead (injected replies) is refused before any handshake",
            S::StartTls, "ann", "安全连接失败", -1,
            {kEhlo, kBoth, kStartTls, kGoAhead + "250-x\r\n250 AUTH PLAIN\r\n"}),
        Row("only LOGIN offered: user name and password as LOGIN asks for them", S::Tls, "ann", "",
            0,
            {kEhlo, kOffers + "250 AUTH LOGIN CRAM-MD5\r\n", kAuthLogin, askUser, kUserB64,
             askPassword, kPasswordB64, kAccepted}),
        Row("the old AUTH=LOGIN form counts", S::Tls, "ann", "", 0,
            {kEhlo, kOffers + "250 AUTH=LOGIN\r\n", kAuthLogin, askUser, kUserB64, askPassword,
             kPasswordB64, kAccepted}),
        Row("a refused password", S::Tls, "ann", "用户名或密码错误", 0,
            {kEhlo, kAuthOnly, kPlain, "535 5.7.8 bad credentials\r\n"}),
        Row("a user name LOGIN refuses: the password stays unsent", S::Tls, "ann",
            "用户名或密码错误", 0,
            {kEhlo, kOffers + "250 AUTH LOGIN\r\n", kAuthLogin, askUser, kUserB64, "535 no\r\n"}),
        Row("no mechanism this session speaks", S::Tls, "ann", "服务器不支持登录", 0,
            {kEhlo, kOffers + "250 AUTH CRAM-MD5\r\n"}),
        Row("EHLO refused", S::Tls, "", "502:SMTP server error", 0,
            {kEhlo, "502 not implemented\r\n"}),
    };
    for (const Case& c : cases) {
        ScriptedNet net;
        net.Greet("220 mail.example.com ESMTP\r\n");
        Lines expected;
        for (std::size_t i = 0; i + 1 < c.dialogue.size(); i += 2) {
            net.On(c.dialogue[i], c.dialogue[i + 1]);
            expected.push_back(c.dialogue[i]);
        }
        if (c.error.empty()) {
            net.On("QUIT\r\n", "221 bye\r\n");  // the session's end
        }
        const Outcome r = Connect(net, c.security, c.user);
        EXPECT_EQ(r.ok, c.error.empty()) << c.what << ": " << r.error;
        EXPECT_EQ(r.ok ? "" : r.error, c.error) << c.what;
        EXPECT_EQ(r.sent, expected) << c.what;
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

// A failed handshake, at either point, gives the failure's text and ends the session before
// any AUTH.
TEST(SmtpSecurity, AFailedHandshakeNamesItsFailureAndSendsNoAuth) {
    const struct {
        MailSecurity security;
        TlsFailure failure;
        const char* text;
        Lines sent;
    } cases[] = {
        {MailSecurity::Tls, TlsFailure::Untrusted, "证书无效", {}},
        {MailSecurity::StartTls, TlsFailure::Handshake, "安全连接失败", {kEhlo, kStartTls}}};
    for (const auto& c : cases) {
        ScriptedNet net;
        net.Greet("220 hi\r\n")
            .On(kEhlo, "250-hi\r\n250-STARTTLS\r\n250 AUTH PLAIN\r\n")
            .On(kStartTls, kGoAhead);
        net.TlsFake().FailWith(c.failure);
        const Outcome r = Connect(net, c.security, "ann");
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.error, c.text);
        EXPECT_EQ(r.sent, c.sent) << c.text;
    }
    ScriptedNet none;
    none.WithoutTls();
    none.Greet("220 hi\r\n");
    EXPECT_EQ(Connect(none, MailSecurity::Tls, "").error, "安全连接失败");
}

TEST(SmtpSecurity, TheComposedMailGoesOutWithTheSettingsChoiceAndLoginOnItsPort) {
    const struct {
        MailSecurity security;
        std::string server;
        std::uint16_t port;
    } cases[] = {{MailSecurity::None, "smtp.example.com", 25},
                 {MailSecurity::Tls, "smtp.example.com", 465},
                 {MailSecurity::StartTls, "smtp.example.com", 587},
                 {MailSecurity::StartTls, "smtp.example.com:2525", 2525}};
    const std::string offers = "250-hi\r\n250-STARTTLS\r\n250 AUTH PLAIN\r\n";
    for (const auto& c : cases) {
        ScriptedNet net;
        net.Greet("220 hi\r\n").On(kEhlo, offers);
        if (c.security == MailSecurity::StartTls) {
            net.On(kStartTls, kGoAhead).On(kEhlo, offers);
        }
        net.On(kPlain, kAccepted)
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
    const struct {
        Lines lines;
        bool startTls, plain, login;
    } cases[] = {
        {{"mail.example.com", "STARTTLS", "AUTH PLAIN LOGIN"}, true, true, true},
        {{"mail.example.com", "starttls", "auth login"}, true, false, true},
        {{"mail.example.com", "AUTH=LOGIN PLAIN"}, false, true, true},
        {{"mail.example.com", "AUTH CRAM-MD5 XOAUTH2", "SIZE 100"}, false, false, false},
        // The first line names the server; words inside other lines are not keywords.
        {{"STARTTLS", "X-NOTE AUTH PLAIN", "STARTTLS NOW"}, false, false, false},
        {{"mail.example.com", "AUTH PLAINER LOGINS"}, false, false, false},
        {{}, false, false, false},
    };
    for (const auto& c : cases) {
        const SmtpExtensions e = ParseEhloReply(c.lines);
        const std::string what = c.lines.empty() ? "(none)" : c.lines.back();
        EXPECT_EQ(e.startTls, c.startTls) << what;
        EXPECT_EQ(e.authPlain, c.plain) << what;
        EXPECT_EQ(e.authLogin, c.login) << what;
    }
}

}  // namespace
}  // namespace quorlet
