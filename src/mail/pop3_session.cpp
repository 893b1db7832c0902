#include "mail/pop3_session.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "base/gbk_text.h"
#include "mail/header_fields.h"
#include "mail/mail_date.h"
#include "mail/pop3_replies.h"
#include "platform/file_system.h"

namespace quorlet {
namespace {

// The longest reply line kept; longer lines are read to their end and cut.
constexpr std::size_t kMaxReplyLine = 32768;

// A user name or password that would break the command line (CR, LF, NUL) or not fit the
// command buffer is refused before anything is sent.
bool FitsCommand(const std::string& argument, const std::string& command) {
    return argument.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos &&
           command.size() < kPop3CommandBuffer;
}

// A header block (TOP n 0) or a LIST reply beyond these sizes is not a real mailbox's: a server
// that sends more would otherwise fill the disk and hold the check as long as it keeps talking.
// A status line is a few dozen bytes; the cap of a one-line reply only ends one that never does.
// Every byte received counts, the part of a line too long to keep too.
constexpr std::size_t kMaxTopReply = std::size_t{16} << 20;
constexpr std::size_t kMaxListReply = std::size_t{64} << 20;
constexpr std::size_t kMaxLineReply = std::size_t{2} << 20;

class SpoolFile {
public:
    explicit SpoolFile(const std::string& name) : m_file(std::fopen(name.c_str(), "wb")) {}
    ~SpoolFile() { Close(); }
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    void Write(std::string_view data) {
        if (m_file != nullptr && std::fwrite(data.data(), 1, data.size(), m_file) != data.size()) {
            m_failed = true;
        }
    }
    // False when anything could not be written.
    bool Close() {
        if (m_file != nullptr) {
            m_failed = std::fclose(m_file) != 0 || m_failed;
            m_file = nullptr;
        }
        return !m_failed;
    }

private:
    std::FILE* m_file;
    bool m_failed = false;
};

}  // namespace

CPop3Session::CPop3Session(Net& net, const Clock& clock) : m_socket(net), m_clock(clock) {}

CPop3Session::~CPop3Session() {
    Close();
}

bool CPop3Session::Fail(const char* text) {
    m_strError = text;
    return false;
}

bool CPop3Session::Open(const std::string& server, int port, const std::string& user,
                        const std::string& password, MailSecurity security) {
    // A new mailbox: nothing of the one before may show through a reply that leaves them unset.
    m_nMessages = 0;
    m_nMailboxSize = 0;
    m_arrSizes.clear();
    m_tls = TlsReport{};
    const std::string userCommand = "USER " + user + "\r\n";
    const std::string passCommand = "PASS " + password + "\r\n";
    if (!FitsCommand(user, userCommand)) {
        return Fail("无效用户");
    }
    if (!FitsCommand(password, passCommand)) {
        return Fail("无效密码");
    }
    if (!m_socket.Create()) {
        return Fail("初始化失败");
    }
    std::string host;
    std::uint16_t hostPort = port > 0 && port <= 65535 ? static_cast<std::uint16_t>(port) : 0;
    if (!SplitHostPort(server, host, hostPort) || hostPort == 0 ||
        !m_socket.Connect(host, hostPort, m_connectLimit, kMaxReplyLine, m_replyLimit)) {
        return Fail("连接失败");
    }
    if (security == MailSecurity::Tls && !Secure(host)) {
        return false;
    }
    if (!ReadReply(Reply::Greeting)) {
        return false;
    }
    if (security == MailSecurity::StartTls && !StartTls(host)) {
        return false;
    }
    return Command(userCommand, Reply::User) && Command(passCommand, Reply::Pass);
}

bool CPop3Session::Secure(const std::string& host) {
    // The handshake is part of getting connected: it has the connect's limit.
    if (!m_socket.Secure(host, m_connectLimit, m_tls)) {
        return Fail(TlsFailureText(m_tls.failure));
    }
    return true;
}

bool CPop3Session::StartTls(const std::string& host) {
    // CAPA would only tell in advance what STLS's own reply tells: a server without it answers
    // -ERR, and the check fails then as it would on a missing capability.
    m_socket.BeginReply(kMaxLineReply, m_replyLimit);
    std::string line;
    if (!m_socket.Send("STLS\r\n") || m_socket.ReadLine(line) != LineReader::Status::Line ||
        !gbk::EqualsIgnoreAsciiCase(LineContent(line).substr(0, 3), "+OK") ||
        m_socket.HasUnread()) {
        // Bytes after the go-ahead came before any handshake: plain text that anyone on the way
        // could have put there, to be read as the first replies over TLS.
        Close();
        return Fail(kSecureConnectionFailed);
    }
    return Secure(host);
}

bool CPop3Session::Stat() {
    return Command("STAT \r\n", Reply::Stat);
}

bool CPop3Session::List() {
    m_arrSizes.clear();
    return Command("LIST \r\n", Reply::List);
}

bool CPop3Session::ListMessage(int message, std::int64_t& size) {
    m_nListedMessage = -1;
    if (!Command("LIST " + std::to_string(message) + "\r\n", Reply::ListOne)) {
        return false;
    }
    // "+OK n size": the scan line of the message asked for, and nothing else.
    if (m_nListedMessage != message || m_nListedSize < 0) {
        return Fail("Error occured during LIST");
    }
    size = m_nListedSize;
    return true;
}

bool CPop3Session::Top(int message, int lines) {
    return Command("TOP " + std::to_string(message) + " " + std::to_string(lines) + "\r\n",
                   Reply::Top);
}

bool CPop3Session::Dele(int message) {
    return Command("DELE " + std::to_string(message) + "\r\n", Reply::Dele);
}

bool CPop3Session::Quit() {
    if (!Command("QUIT \r\n", Reply::Quit)) {
        return false;
    }
    Close();
    return true;
}

void CPop3Session::Close() {
    m_socket.Close();
}

std::int64_t CPop3Session::GetMessageSize(int n) const {
    if (n < 1 || static_cast<std::size_t>(n) > m_arrSizes.size()) {
        return -1;
    }
    return m_arrSizes[static_cast<std::size_t>(n) - 1];
}

void CPop3Session::SetTempFileNames(const std::string& listFile, const std::string& topFile) {
    m_szListFile = listFile;
    m_szTopFile = topFile;
}

const char* CPop3Session::ErrorText(Reply kind) {
    static constexpr const char* kErrors[] = {
        "无效连接",                   // greeting
        "无效用户",                   // user
        "无效密码",                   // pass
        "Error occured during STAT",  // stat
        "Error occured during DELE",  // dele
        "Error occured during QUIT",  // quit
        "Error occured during LIST",  // list
        "服务器异常",                 // top
        "Error occured during LIST",  // list of one message
    };
    return kErrors[static_cast<int>(kind)];
}

bool CPop3Session::Command(const std::string& text, Reply kind) {
    // A broken connection fails the step at once, as its reply read would.
    if (!m_socket.Send(text)) {
        Close();
        return Fail(ErrorText(kind));
    }
    return ReadReply(kind);
}

bool CPop3Session::ReadReply(Reply kind) {
    const char* error = ErrorText(kind);
    switch (kind) {
        case Reply::List:
            m_socket.BeginReply(kMaxListReply, m_wholeReplyLimit);
            break;
        case Reply::Top:
            m_socket.BeginReply(kMaxTopReply, m_wholeReplyLimit);
            break;
        default:
            m_socket.BeginReply(kMaxLineReply, m_replyLimit);
            break;
    }
    std::string line;
    if (m_socket.ReadLine(line) != LineReader::Status::Line) {
        Close();
        return Fail(error);  // closed, broken, too long, too slow, or aborted
    }
    const std::string_view content = LineContent(line);
    if (gbk::EqualsIgnoreAsciiCase(content.substr(0, 4), "-ERR")) {
        return Fail(error);
    }
    switch (kind) {
        case Reply::Stat:
            ParseStatCounts(content, m_nMessages, m_nMailboxSize);
            return true;
        case Reply::ListOne:
            m_nListedSize = -1;
            ParseStatCounts(content, m_nListedMessage, m_nListedSize);
            return true;
        case Reply::List:
        case Reply::Top:
            return SpoolReply(line, kind);
        default:
            return true;
    }
}

bool CPop3Session::SpoolReply(const std::string& statusLine, Reply kind) {
    const std::string& name = kind == Reply::List ? m_szListFile : m_szTopFile;
    SpoolFile file(name);
    if (!file.IsOpen()) {
        Close();  // the reply is left unread
        return Fail("Error creating temp input file!");
    }
    // The status prefix goes; the rest of the status line stays at the top of the file.
    std::string_view first = statusLine;
    if (gbk::EqualsIgnoreAsciiCase(first.substr(0, 6), "+OK \r\n")) {
        first.remove_prefix(6);
    } else {
        first.remove_prefix(std::min<std::size_t>(4, first.size()));
    }
    file.Write(first);
    std::string line;
    do {
        if (m_socket.ReadLine(line) != LineReader::Status::Line) {
            file.Close();
            RemoveFile(name);
            Close();
            return Fail("Error reading from socket!");
        }
        file.Write(line);
    } while (LineContent(line) != ".");
    if (!file.Close()) {
        RemoveFile(name);
        return Fail("Error creating temp input file!");
    }
    if (kind == Reply::List) {
        return ParseListFile();
    }
    const bool parsed = ParseHeaderFile(name);
    RemoveFile(name);
    return parsed;
}

bool CPop3Session::ParseListFile() {
    std::ifstream in(m_szListFile, std::ios::binary);
    if (!in) {
        RemoveFile(m_szListFile);
        return Fail("cant open templist file");
    }
    ParseListLines(in, m_arrSizes,
                   std::min(static_cast<std::size_t>(std::max(m_nMessages, 0)), kMaxListedSizes));
    in.close();
    RemoveFile(m_szListFile);
    return true;
}

bool CPop3Session::ParseHeaderFile(const std::string& fileName) {
    m_strFrom.clear();
    m_strSubject.clear();
    m_strDate.clear();
    m_cEncoding = 0;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        return Fail("cant open message file");
    }
    HeaderFields fields = ExtractHeaderFields(in);
    m_strFrom = std::move(fields.from);
    m_strSubject = std::move(fields.subject);
    m_strDate = std::move(fields.date);
    m_cEncoding = fields.encoding == 'B' || fields.encoding == 'Q' ? fields.encoding : 0;
    m_bDateMissing = m_strDate.empty();
    if (m_bDateMissing) {
        m_strDate = FormatMailDate(m_clock.Now());
    }
    return true;
}

}  // namespace quorlet
