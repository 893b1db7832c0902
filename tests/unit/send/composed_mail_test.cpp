// The compose window's rules without the window: what keeps a message from going, and the
// server's port, against a scripted server.
#include "send/composed_mail.h"

#include <gtest/gtest.h>

#include "support/scripted_net.h"

namespace quorlet {
namespace {

using quorlet::testing::ScriptedNet;

ComposedMail Filled() {
    return {"mail.example.com", "me@example.com", "ann@example.com", "subject", "body"};
}

TEST(ComposedMail, WhatKeepsAMessageFromGoing) {
    struct Case {
        const char* what;
        ComposedMail mail;
        std::optional<std::string> problem;
    };
    auto with = [](auto change) {
        ComposedMail mail = Filled();
        change(mail);
        return mail;
    };
    const Case cases[] = {
        {"all filled", Filled(), std::nullopt},
        {"no server, however full the rest", with([](ComposedMail& m) { m.server.clear(); }),
         kNoSmtpServer},
        {"no recipients", with([](ComposedMail& m) { m.recipients.clear(); }), kNoRecipients},
        {"subject only", with([](ComposedMail& m) { m.body.clear(); }), std::nullopt},
        {"body only", with([](ComposedMail& m) { m.subject.clear(); }), std::nullopt},
        {"neither subject nor body",
         with([](ComposedMail& m) { m.subject.clear(), m.body.clear(); }), kNoContent},
        // The faulty piece is named; the pieces before it would have been sent to.
        {"a piece without its closing bracket",
         with([](ComposedMail& m) { m.recipients = "a@x;张三<b@y;c@z"; }),
         "收信人地址“张三<b@y”有误,请重新填写 !"},
        {"brackets the wrong way round", with([](ComposedMail& m) { m.recipients = "x>y<z"; }),
         "收信人地址“x>y<z”有误,请重新填写 !"},
        {"a bracket inside the address", with([](ComposedMail& m) { m.recipients = "a@x;n<a<b>"; }),
         "收信人地址“n<a<b>”有误,请重新填写 !"},
        // Checked before the content, so the user hears of the address first.
        {"faulty recipients and no content",
         with([](ComposedMail& m) { m.recipients = "<", m.subject.clear(), m.body.clear(); }),
         "收信人地址“<”有误,请重新填写 !"},
        // An empty piece is an (empty) address the server may refuse, not a faulty text.
        {"a trailing separator", with([](ComposedMail& m) { m.recipients = "a@x;"; }),
         std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComposeProblem(c.mail), c.problem) << c.what;
    }
}

TEST(ComposedMail, TheServerMayCarryAPort) {
    struct Case {
        std::string server;
        std::string host;
        std::uint16_t port;
    };
    for (const Case& c : {Case{"mail.example.com", "mail.example.com", 25},
                          Case{"127.0.0.1:2525", "127.0.0.1", 2525}}) {
        ScriptedNet net;
        net.Greet("554 go away\r\n");
        ComposedMail mail = Filled();
        mail.server = c.server;
        EXPECT_EQ(SendComposedMail(net, ManualClock{}, mail), "邮件服务器不响应,可能太忙");
        EXPECT_EQ(net.ConnectedHost(), c.host);
        EXPECT_EQ(net.ConnectedPort(), c.port);
    }
    // A port that cannot be one fails as a connection would, without trying one.
    ScriptedNet net;
    ComposedMail mail = Filled();
    mail.server = "mail.example.com:0";
    EXPECT_EQ(SendComposedMail(net, ManualClock{}, mail), "连接邮件服务器失败");
    EXPECT_EQ(net.Connects(), 0);
}

TEST(ComposedMail, TheTemplateEndsAtItsFirstNul) {
    EXPECT_EQ(BodyTemplateText("Hi\r\n--\r\n"), "Hi\r\n--\r\n");
    EXPECT_EQ(BodyTemplateText(std::string("sig\0rest", 8)), "sig");
    EXPECT_EQ(BodyTemplateText(""), "");
}

}  // namespace
}  // namespace quorlet
