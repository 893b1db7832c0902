#include "support/mail_fixture.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorlet::testing {
namespace {

namespace fs = std::filesystem;

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The fixture's folders are Linux paths; a Windows program reaches them on drive Z:.
fs::path HostPath(const std::string& path) {
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') {
        std::string windows = "Z:" + path;
        std::replace(windows.begin(), windows.end(), '/', '\\');
        return fs::path(windows);
    }
#endif
    return fs::path(path);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary);
    out << data;
}

// Files of a folder by name, hidden ones (the sink's temporary files) left out.
std::vector<fs::path> SortedFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

MailFixture::MailFixture()
    : m_pop3Port(static_cast<std::uint16_t>(std::atoi(Variable("QUORLET_POP3_PORT").c_str()))),
      m_smtpPort(static_cast<std::uint16_t>(std::atoi(Variable("QUORLET_SMTP_PORT").c_str()))),
      m_users(std::atoi(Variable("QUORLET_MAIL_USERS").c_str())),
      m_root(Variable("QUORLET_MAIL_ROOT")),
      m_spool(Variable("QUORLET_SMTP_SPOOL")) {}

std::string MailFixture::Pop3Server() const {
    return std::string(kHost) + ":" + std::to_string(m_pop3Port);
}

std::string MailFixture::SmtpServer() const {
    return std::string(kHost) + ":" + std::to_string(m_smtpPort);
}

std::string MailFixture::Maildir(int k) const {
    return m_root + "/home/" + User(k) + "/Maildir";
}

// Dovecot numbers new messages by the time stamp that starts a maildir file name, so every
// delivery gets a later one.
void MailFixture::Deliver(int k, const std::string& raw) {
    static std::atomic<long long> sequence{1000000000};
    const std::string name = std::to_string(sequence++) + ".M1P1Q1.quorlet";
    const fs::path tmp = HostPath(Maildir(k) + "/tmp/" + name);
    WriteFile(tmp, raw);
    fs::permissions(tmp, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                             ~fs::perms::others_exec);
    fs::rename(tmp, HostPath(Maildir(k) + "/new/" + name));
}

std::vector<std::string> MailFixture::Messages(int k) const {
    std::vector<fs::path> files = SortedFiles(HostPath(Maildir(k) + "/new"));
    for (const fs::path& f : SortedFiles(HostPath(Maildir(k) + "/cur"))) {
        files.push_back(f);
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    std::vector<std::string> messages;
    for (const fs::path& f : files) {
        messages.push_back(ReadFile(f));
    }
    return messages;
}

void MailFixture::Clear(int k) {
    for (const char* sub : {"/new", "/cur"}) {
        for (const fs::path& f : SortedFiles(HostPath(Maildir(k) + sub))) {
            fs::remove(f);
        }
    }
}

std::vector<MailFixture::Received> MailFixture::ReceivedMessages() const {
    std::vector<Received> received;
    for (const fs::path& f : SortedFiles(HostPath(m_spool))) {
        if (f.extension() != ".env") {
            continue;
        }
        Received r;
        std::istringstream lines(ReadFile(f));
        std::string line;
        while (std::getline(lines, line)) {
            const std::string key = line.substr(0, 5);
            const std::string value = line.size() > 5 ? line.substr(5) : "";
            if (key == "HELO ") {
                r.helo = value;
            } else if (key == "MAIL ") {
                r.mailFrom = value;
            } else if (key == "RCPT ") {
                r.rcptTo.push_back(value);
            } else if (line.rfind("TLS ", 0) == 0) {
                r.tls = line.substr(4);
            } else if (key == "AUTH ") {
                r.authUser = value;
            }
        }
        fs::path text = f;
        r.text = ReadFile(text.replace_extension(".eml"));
        received.push_back(r);
    }
    return received;
}

void MailFixture::ClearReceived() {
    for (const fs::path& f : SortedFiles(HostPath(m_spool))) {
        fs::remove(f);
    }
}

std::int64_t MailFixture::Pop3Size(const std::string& raw) {
    std::int64_t size = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) {
            ++size;
        }
        ++size;
    }
    return size;
}

}  // namespace quorlet::testing
