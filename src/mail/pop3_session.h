// The blocking POP3 client every mailbox operation goes through: the check slots run connect,
// login, STAT, LIST, TOP and QUIT on it for one account after another; the deletions run login,
// DELE and QUIT. POP3 (RFC 1939) without APOP or UIDL, in plain text as it always was, or, when
// the account asks for it, over TLS from the first byte or after STLS (RFC 2595).
//
// LIST and TOP replies are spooled to the session's own files in the current directory and read
// back from there; the files are deleted after they are read. Every failure leaves its text in
// m_strError, which callers show unchanged; a successful step never clears it.
//
// A reply that could not be read whole (cut off by a time limit, a size cap, the abort flag or a
// broken connection, or left unread because its spool file could not be made) closes the
// connection: the rest of it may still come, and the next command would take it for its own.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "mail/mail_tls.h"
#include "mail/pop3_socket.h"
#include "platform/clock.h"
#include "platform/net.h"
#include "settings/mail_security.h"

namespace quorlet {

class CPop3Session {
public:
    CPop3Session(Net& net, const Clock& clock);
    ~CPop3Session();
    CPop3Session(const CPop3Session&) = delete;
    CPop3Session& operator=(const CPop3Session&) = delete;

    // Connects to server (which may end in ":port", or be "[IPv6 address]:port"; otherwise
    // `port` is used), reads the greeting and logs in with USER and PASS. The counts of STAT
    // and LIST start from zero for every login.
    //
    // With MailSecurity::Tls the handshake follows the connect; with StartTls the greeting is
    // followed by "STLS", and anything but "+OK", or any byte after it before the handshake,
    // fails with kSecureConnectionFailed. A failed handshake fails with TlsFailureText. Either
    // way the connection is closed before USER, never going on in plain text.
    bool Open(const std::string& server, int port, const std::string& user,
              const std::string& password, MailSecurity security = MailSecurity::None);
    bool Stat();  // fills m_nMessages and m_nMailboxSize
    // Fills m_arrSizes with the sizes of the messages STAT counted, at most kMaxListedSizes:
    // no more can be used, whatever the server lists.
    bool List();
    // "LIST n": the size of one message; false when the server has no such message.
    bool ListMessage(int message, std::int64_t& size);
    bool Top(int message, int lines);  // fills m_strFrom, m_strSubject, m_strDate, m_cEncoding
    bool Dele(int message);
    bool Quit();   // closes the socket when the server agreed
    void Close();  // closes the socket without a command

    // The LIST size of message n (1-based); -1 when LIST gave no entry for it.
    std::int64_t GetMessageSize(int n) const;

    // The names of this session's LIST and TOP spool files (the check slots' "QlList0.p3" and
    // "QlTop0.p3" ...), relative to the current directory.
    void SetTempFileNames(const std::string& listFile, const std::string& topFile);

    // Reads the TOP spool file into the header fields; false (with "cant open message file")
    // when it cannot be opened.
    bool ParseHeaderFile(const std::string& fileName);
    // Reads the LIST spool file into m_arrSizes and deletes it.
    bool ParseListFile();

    // The connect limit and the time one reply line may take (60 seconds each), and the time a
    // whole LIST or TOP reply may take (kWholeReplyLimit), unless a test shortens them.
    void SetWaitLimits(std::chrono::milliseconds connect, std::chrono::milliseconds line,
                       std::chrono::milliseconds wholeReply = kWholeReplyLimit) {
        m_connectLimit = connect;
        m_replyLimit = line;
        m_wholeReplyLimit = wholeReply;
    }

    std::vector<std::int64_t> m_arrSizes;
    std::string m_strFrom;
    std::string m_strSubject;
    std::string m_strDate;
    bool m_bDateMissing = false;  // the message had no Date line: m_strDate is the time of reading
    std::string m_strError;
    char m_cEncoding = 0;
    CPop3Socket m_socket;
    std::int64_t m_nMailboxSize = 0;
    int m_nMessages = 0;
    std::string m_szListFile;
    std::string m_szTopFile;
    TlsReport m_tls;  // the handshake of the last Open, if it made one

private:
    enum class Reply { Greeting, User, Pass, Stat, Dele, Quit, List, Top, ListOne };

    static const char* ErrorText(Reply kind);
    bool Command(const std::string& text, Reply kind);
    bool ReadReply(Reply kind);
    bool SpoolReply(const std::string& statusLine, Reply kind);
    bool Fail(const char* text);
    bool Secure(const std::string& host);
    bool StartTls(const std::string& host);

    const Clock& m_clock;
    int m_nListedMessage = -1;  // the scan line of the last "LIST n"
    std::int64_t m_nListedSize = -1;
    std::chrono::milliseconds m_connectLimit = kNetWaitLimit;
    std::chrono::milliseconds m_replyLimit = kNetWaitLimit;
    std::chrono::milliseconds m_wholeReplyLimit = kWholeReplyLimit;
};

// Commands are formatted into a buffer of this size; a longer one is refused.
inline constexpr std::size_t kPop3CommandBuffer = 512;

// The most LIST sizes kept: the messages the mail table can hold.
inline constexpr std::size_t kMaxListedSizes = 512;

}  // namespace quorlet
