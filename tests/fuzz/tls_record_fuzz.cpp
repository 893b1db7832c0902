// The buffering around the system's decrypt call (platform/tls_record_buffer.h) over any bytes
// a server sends, cut anywhere and read in any sizes, against the stand-in record layer of
// tests/support/fake_tls_records.h. The first five bytes choose the cuts and the read size;
// the rest is the wire. The plaintext handed out must be exactly what an independent walk over
// the records finds, and the reads must end the way that walk says.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/fake_tls_records.h"

namespace {

using quorlet::NetStream;

struct Expected {
    std::string plaintext;
    NetStream::Result end = NetStream::Result::Closed;
};

Expected Walk(const std::string& wire) {
    Expected e;
    std::size_t at = 0;
    // The length of the whole record at `at`, or 0 while it is incomplete.
    auto whole = [&wire](std::size_t from) -> std::size_t {
        if (wire.size() - from < 3) {
            return 0;
        }
        const std::size_t length = (static_cast<std::uint8_t>(wire[from + 1]) << 8) |
                                   static_cast<std::uint8_t>(wire[from + 2]);
        return wire.size() - from < 3 + length ? 0 : 3 + length;
    };
    for (;;) {
        const std::size_t n = whole(at);
        if (n == 0) {
            return e;  // the connection ends inside a record
        }
        const char type = wire[at];
        if (type == 'D') {
            for (std::size_t i = at + 3; i < at + n; ++i) {
                e.plaintext += static_cast<char>(wire[i] ^ 0x20);
            }
        } else if (type == 'R') {
            const std::size_t h = whole(at + n);
            if (h == 0) {
                return e;
            }
            if (wire[at + n] != 'H') {
                e.end = NetStream::Result::Failed;
                return e;
            }
            at += h;
        } else if (type == 'C') {
            return e;
        } else {
            e.end = NetStream::Result::Failed;
            return e;
        }
        at += n;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) {
        return 0;
    }
    const std::string wire(reinterpret_cast<const char*>(data) + 5, size - 5);
    std::deque<std::string> chunks;
    for (std::size_t at = 0, k = 0; at < wire.size(); ++k) {
        const std::size_t n = 1 + data[k % 4];
        chunks.push_back(wire.substr(at, n));
        at += n;
    }
    const std::size_t limit = 1 + (static_cast<std::size_t>(data[4]) * 37) % 5000;

    quorlet::TlsRecordBuffer records;
    quorlet::testing::ScriptedStream plain(chunks);
    quorlet::testing::FakeRecordLayer layer(records, plain);
    std::string out;
    NetStream::Result r;
    for (;;) {
        const std::size_t before = out.size();
        r = quorlet::ReceiveDecrypted(records, layer, plain, out, limit, std::chrono::seconds(1));
        if (r != NetStream::Result::Data) {
            break;
        }
        if (out.size() == before || out.size() - before > limit) {
            std::abort();
        }
    }
    const Expected expected = Walk(wire);
    if (out != expected.plaintext || r != expected.end) {
        std::abort();
    }
    return 0;
}
