// The check benchmark: the real check cycle over many Dovecot accounts reached through a loopback
// proxy that delays each direction, as distant servers would; then the same accounts checked by
// fetchmail --check for comparison. Run under tests/fixtures/mail_servers.sh (scripts/bench does).
//
//   check_bench [--accounts N] [--messages M] [--delay-ms D] [--runs R] [--no-fetchmail]
//               [--direct] [--tls]
//
// Prints the wall time, the lower bound that the protocol's round trips and three slots allow,
// the CPU time and the peak memory of each run. With --tls (under mail_servers.sh --tls) each
// run also checks the same accounts over TLS from the first byte, through a proxy of the same
// delay to Dovecot's pop3s port, right after the plain check.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mail/check_cycle.h"
#include "support/check_support.h"
#include "support/delay_proxy.h"
#include "support/mail_fixture.h"

namespace {

using namespace quorlet;
using namespace std::chrono_literals;
using testing::MailFixture;

struct Options {
    int accounts = 100;
    int messages = 5;
    int delayMs = 5;
    int runs = 1;
    bool fetchmail = true;
    bool direct = false;  // the check without the proxy: the servers' own cost
    bool tls = false;     // the check over TLS as well
};

struct Usage {
    double cpuSeconds;
    double peakMegabytes;
};

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

Usage UsageOf(const rusage& before, const rusage& after) {
    return {Seconds(after.ru_utime) - Seconds(before.ru_utime) + Seconds(after.ru_stime) -
                Seconds(before.ru_stime),
            static_cast<double>(after.ru_maxrss) / 1024.0};
}

// The proxy runs in a child process, so that its threads' CPU time is not counted as the
// program's. Returns its port; the child ends when the pipe to it closes.
int StartProxy(std::uint16_t target, int delayMs, pid_t& child, int& keepAlive) {
    int toParent[2], toChild[2];
    if (pipe(toParent) != 0 || pipe(toChild) != 0) {
        return 0;
    }
    std::fflush(stdout);
    child = fork();
    if (child == 0) {
        close(toParent[0]);
        close(toChild[1]);
        {
            testing::DelayProxy proxy(SystemNet(), MailFixture::kHost, target,
                                      std::chrono::milliseconds(delayMs));
            const int port = proxy.Port();
            if (write(toParent[1], &port, sizeof port) != sizeof port) {
                _exit(1);
            }
            char c;
            while (read(toChild[0], &c, 1) > 0) {
            }
        }
        _exit(0);
    }
    close(toParent[1]);
    close(toChild[0]);
    keepAlive = toChild[1];
    int port = 0;
    if (read(toParent[0], &port, sizeof port) != sizeof port) {
        port = 0;
    }
    close(toParent[0]);
    return port;
}

std::string Message(int k, int i) {
    std::string raw = "From: sender" + std::to_string(i) + "@example.com\r\nTo: user" +
                      std::to_string(k) + "@example.com\r\nSubject: Message " + std::to_string(i) +
                      " for user " + std::to_string(k) +
                      "\r\nDate: Tue, 07 May 2002 08:00:00 +0800\r\n\r\n";
    for (int line = 0; line < 30; ++line) {
        raw += std::string(70, static_cast<char>('a' + line % 26)) + "\r\n";
    }
    return raw;
}

// The accounts' server is `host`: the certificate of the TLS fixture is for "localhost".
void CheckRun(const Options& o, const std::string& host, int proxyPort, MailSecurity security,
              const std::string& spool) {
    AccountTable accounts;
    const std::string server = host + ":" + std::to_string(proxyPort);
    for (int k = 1; k <= o.accounts; ++k) {
        accounts.push_back({"Account " + std::to_string(k), server, MailFixture::User(k),
                            MailFixture::Password(k), true, security});
    }
    MailTable mails;
    testing::RecordingObserver observer;
    CCheckCycle cycle(SystemNet(), mails, observer, SystemClock(), SystemCharsets());
    CheckOptions options;
    options.spoolFolder = spool;
    cycle.SetOptions(options);

    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    if (cycle.StartCheck(accounts, {}) != CCheckCycle::Start::Started ||
        !observer.WaitChecks(1, std::chrono::seconds(600))) {
        std::printf("the check did not end\n");
        return;
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    getrusage(RUSAGE_SELF, &after);
    const Usage usage = UsageOf(before, after);
    int counted = 0;
    for (int row = 0; row < o.accounts; ++row) {
        counted += observer.Result(row).first == std::to_string(o.messages);
    }
    // Per account: the greeting (one way), then USER, PASS, STAT, LIST, a TOP per message and
    // QUIT (a round trip each); the busiest of the three slots checks ceil(N / 3) accounts.
    // A TLS 1.3 handshake adds one round trip before the greeting.
    const bool tls = security != MailSecurity::None;
    const int oneWays = 1 + 2 * (5 + o.messages) + (tls ? 2 : 0);
    const int perSlot = (o.accounts + 2) / 3;
    // Without the proxy nothing is delayed: no bound but the servers' own time.
    const int delayMs = o.direct ? 0 : o.delayMs;
    const double bound = perSlot * oneWays * delayMs / 1000.0;
    std::printf(
        "quorlet check cycle%s: wall %.2f s, lower bound %.2f s (%d accounts per slot x %d "
        "one-way delays), CPU %.2f s, peak memory %.1f MB, %zu records, %d of %d accounts "
        "counted %d\n",
        tls ? " over TLS" : "", wall, bound, perSlot, oneWays, usage.cpuSeconds,
        usage.peakMegabytes, mails.Count(), counted, o.accounts, o.messages);
}

void FetchmailRun(const Options& o, int proxyPort, const std::filesystem::path& home) {
    const std::filesystem::path rc = home / "fetchmailrc";
    {
        std::ofstream out(rc);
        out << "set no syslog\npoll 127.0.0.1 port " << proxyPort << " proto pop3\n";
        for (int k = 1; k <= o.accounts; ++k) {
            out << "  user \"" << MailFixture::User(k) << "\" password \""
                << MailFixture::Password(k) << "\" sslproto ''\n";
        }
    }
    std::filesystem::permissions(
        rc, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const std::filesystem::path log = home / "fetchmail.log";
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setenv("FETCHMAILHOME", home.c_str(), 1);
        if (std::freopen(log.c_str(), "w", stdout) == nullptr ||
            std::freopen(log.c_str(), "a", stderr) == nullptr) {
            _exit(127);
        }
        execlp("fetchmail", "fetchmail", "--check", "-f", rc.c_str(), "-i",
               (home / "fetchids").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        std::printf("fetchmail --check: not installed\n");
        return;
    }
    int reported = 0;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        reported += line.find(std::to_string(o.messages) + " messages for user") == 0;
    }
    const rusage zero{};
    const Usage u = UsageOf(zero, usage);
    std::printf(
        "fetchmail --check:   wall %.2f s, CPU %.2f s, peak memory %.1f MB, %d of %d accounts "
        "reported %d messages (exit status %d)\n",
        wall, u.cpuSeconds, u.peakMegabytes, reported, o.accounts, o.messages,
        WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto next = [&] { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
        if (a == "--accounts") {
            o.accounts = next();
        } else if (a == "--messages") {
            o.messages = next();
        } else if (a == "--delay-ms") {
            o.delayMs = next();
        } else if (a == "--runs") {
            o.runs = next();
        } else if (a == "--no-fetchmail") {
            o.fetchmail = false;
        } else if (a == "--direct") {
            o.direct = true;
        } else if (a == "--tls") {
            o.tls = true;
        } else {
            std::fprintf(stderr,
                         "usage: check_bench [--accounts N] [--messages M] [--delay-ms D] "
                         "[--runs R] [--no-fetchmail] [--direct] [--tls]\n");
            return 2;
        }
    }
    MailFixture servers;
    if (!servers.Available() || servers.Users() < o.accounts || o.accounts < 1 ||
        o.accounts > static_cast<int>(kMaxAccounts) || o.messages < 1 ||
        o.accounts * o.messages > static_cast<int>(MailTable::kCapacity)) {
        std::fprintf(stderr,
                     "run under tests/fixtures/mail_servers.sh --users N (N >= accounts, at "
                     "most 100 accounts and 512 messages in all)\n");
        return 2;
    }
    pid_t proxy = 0;
    int keepAlive = -1;
    const int port = StartProxy(servers.Pop3Port(), o.delayMs, proxy, keepAlive);
    if (port == 0) {
        std::fprintf(stderr, "the proxy did not start\n");
        return 1;
    }
    // The TLS check goes to Dovecot's pop3s port, trusting the fixture's test root the way
    // OpenSSL is told to by its environment.
    pid_t tlsProxy = 0;
    int tlsKeepAlive = -1;
    int tlsPort = 0;
    if (o.tls) {
        const char* pop3s = std::getenv("QUORLET_POP3S_PORT");
        const char* ca = std::getenv("QUORLET_TLS_CA");
        if (pop3s == nullptr || ca == nullptr) {
            std::fprintf(stderr, "--tls: run under tests/fixtures/mail_servers.sh --tls\n");
            return 2;
        }
        setenv("SSL_CERT_FILE", ca, 1);
        tlsPort = StartProxy(static_cast<std::uint16_t>(std::atoi(pop3s)), o.delayMs, tlsProxy,
                             tlsKeepAlive);
        if (tlsPort == 0) {
            std::fprintf(stderr, "the TLS proxy did not start\n");
            return 1;
        }
    }
    for (int k = 1; k <= o.accounts; ++k) {
        servers.Clear(k);
        for (int i = 1; i <= o.messages; ++i) {
            servers.Deliver(k, Message(k, i));
        }
    }
    const std::filesystem::path work =
        std::filesystem::temp_directory_path() / ("quorlet-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(work);
    std::printf("%d accounts x %d messages, 3 slots, each direction delayed %d ms\n", o.accounts,
                o.messages, o.delayMs);
    for (int run = 0; run < o.runs; ++run) {
        CheckRun(o, "127.0.0.1", o.direct ? servers.Pop3Port() : port, MailSecurity::None,
                 (work / "").string());
        if (o.tls) {
            CheckRun(o, "localhost",
                     o.direct ? std::atoi(std::getenv("QUORLET_POP3S_PORT")) : tlsPort,
                     MailSecurity::Tls, (work / "").string());
        }
        if (o.fetchmail) {
            FetchmailRun(o, port, work);
        }
    }
    // The TLS proxy, started second, holds a copy of the first one's pipe: it goes first.
    if (o.tls) {
        close(tlsKeepAlive);
        waitpid(tlsProxy, nullptr, 0);
    }
    close(keepAlive);
    waitpid(proxy, nullptr, 0);
    if (std::getenv("QUORLET_BENCH_KEEP") == nullptr) {
        std::filesystem::remove_all(work);
    } else {
        std::printf("kept %s\n", work.c_str());
    }
    return 0;
}
