// The real mail servers of tests/fixtures/mail_servers.sh, seen from a test: where they listen,
// the users' maildirs (to put raw messages in, list and clear them) and what the SMTP sink
// received. Works natively and under Wine (the fixture's folders are on drive Z: there).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorlet::testing {

class MailFixture {
public:
    // Reads the fixture's environment; Available() tells whether it was there.
    MailFixture();

    bool Available() const { return m_pop3Port != 0; }
    static constexpr const char* kHost = "127.0.0.1";
    std::uint16_t Pop3Port() const { return m_pop3Port; }
    std::uint16_t SmtpPort() const { return m_smtpPort; }
    int Users() const { return m_users; }
    // "127.0.0.1:PORT", the server text an account holds.
    std::string Pop3Server() const;
    std::string SmtpServer() const;
    static std::string User(int k) { return "user" + std::to_string(k); }
    static std::string Password(int k) { return "pass" + std::to_string(k); }

    // Puts a raw message into user k's mailbox; messages are numbered in the order of delivery.
    void Deliver(int k, const std::string& raw);
    // The messages the mailbox holds now, in delivery order.
    std::vector<std::string> Messages(int k) const;
    void Clear(int k);

    struct Received {
        std::string helo;
        std::string mailFrom;
        std::vector<std::string> rcptTo;
        std::string text;      // the message text, dot-stuffing undone
        std::string tls;       // the TLS version it came over; empty: plain
        std::string authUser;  // the user that logged in; empty: none
    };
    // What the SMTP sink received, oldest first.
    std::vector<Received> ReceivedMessages() const;
    void ClearReceived();

    // The size POP3 reports for a raw message: its bytes with every line end made CR LF.
    static std::int64_t Pop3Size(const std::string& raw);

private:
    std::string Maildir(int k) const;

    std::uint16_t m_pop3Port = 0;
    std::uint16_t m_smtpPort = 0;
    int m_users = 0;
    std::string m_root;
    std::string m_spool;
};

}  // namespace quorlet::testing
