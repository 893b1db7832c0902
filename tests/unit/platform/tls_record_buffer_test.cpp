// The buffering around the system's decrypt call, against a stand-in record layer with
// SChannel's contract (tests/support/fake_tls_records.h).
#include "platform/tls_record_buffer.h"

#include <gtest/gtest.h>

#include "support/fake_tls_records.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::FakeRecord;
using testing::FakeRecordLayer;
using testing::ScriptedStream;
using Result = NetStream::Result;

struct Reader {
    explicit Reader(std::deque<std::string> chunks, Result end = Result::Closed)
        : plain(std::move(chunks), end), layer(records, plain) {}

    Result Read(std::string& out, std::size_t maxBytes) {
        return ReceiveDecrypted(records, layer, plain, out, maxBytes, 1s);
    }

    // Reads until anything but Data; the plaintext, and that result in `end`.
    std::string ReadAll(std::size_t maxBytes, Result& end) {
        std::string out;
        for (int i = 0; i < 100000; ++i) {
            const std::size_t before = out.size();
            end = Read(out, maxBytes);
            if (end != Result::Data) {
                return out;
            }
            EXPECT_GT(out.size(), before) << "Data without any plaintext";
            EXPECT_LE(out.size() - before, maxBytes);
        }
        ADD_FAILURE() << "the reads did not end";
        return out;
    }

    TlsRecordBuffer records;
    ScriptedStream plain;
    FakeRecordLayer layer;
};

std::deque<std::string> Cut(const std::string& wire, std::size_t every) {
    std::deque<std::string> chunks;
    for (std::size_t i = 0; i < wire.size(); i += every) {
        chunks.push_back(wire.substr(i, every));
    }
    return chunks;
}

struct StreamCase {
    const char* what;
    std::string wire;
    std::string plaintext;
    Result end;
    int renegotiations;
};

// Every case cut at every chunk size and read with several limits: the plaintext and the end
// must not depend on where the network or the caller cut the bytes.
TEST(TlsRecordBuffer, PlaintextDoesNotDependOnWhereTheBytesAreCut) {
    const std::string big(5000, 'q');
    const StreamCase cases[] = {
        {"two records", FakeRecord('D', "hello ") + FakeRecord('D', "world"), "hello world",
         Result::Closed, 0},
        {"an empty record between",
         FakeRecord('D', "ab") + FakeRecord('D', "") + FakeRecord('D', "cd"), "abcd",
         Result::Closed, 0},
        {"close alert, then bytes that are never read",
         FakeRecord('D', "last") + FakeRecord('C', "") + FakeRecord('D', "after"), "last",
         Result::Closed, 0},
        {"renegotiation with its handshake behind it",
         FakeRecord('D', "one") + FakeRecord('R', "") + FakeRecord('H', "ticket") +
             FakeRecord('D', "two"),
         "onetwo", Result::Closed, 1},
        {"two renegotiations in a row",
         FakeRecord('R', "") + FakeRecord('H', "t1") + FakeRecord('R', "") + FakeRecord('H', "t2") +
             FakeRecord('D', "x"),
         "x", Result::Closed, 2},
        {"a large record", FakeRecord('D', big) + FakeRecord('C', ""), big, Result::Closed, 0},
        {"a record the layer rejects", FakeRecord('D', "ok") + FakeRecord('Z', "bad"), "ok",
         Result::Failed, 0},
        {"a record cut off by the end of the connection",
         FakeRecord('D', "ok") + FakeRecord('D', "cut").substr(0, 4), "ok", Result::Closed, 0},
    };
    const std::size_t limits[] = {1, 2, 7, 4096};
    for (const StreamCase& c : cases) {
        for (std::size_t every = 1; every <= c.wire.size(); every += (every < 20 ? 1 : 97)) {
            for (std::size_t limit : limits) {
                SCOPED_TRACE(::testing::Message()
                             << c.what << ", chunks of " << every << ", reads of " << limit);
                Reader reader(Cut(c.wire, every));
                Result end = Result::Data;
                EXPECT_EQ(reader.ReadAll(limit, end), c.plaintext);
                EXPECT_EQ(end, c.end);
                EXPECT_EQ(reader.layer.renegotiations, c.renegotiations);
            }
        }
    }
}

TEST(TlsRecordBuffer, WaitingPlaintextIsHandedOutWithoutReadingTheNetwork) {
    Reader reader({FakeRecord('D', "abcdef") + FakeRecord('D', "gh")});
    std::string out;
    ASSERT_EQ(reader.Read(out, 4), Result::Data);
    EXPECT_EQ(out, "abcd");
    EXPECT_EQ(reader.plain.reads, 1);
    ASSERT_EQ(reader.Read(out, 4), Result::Data);
    ASSERT_EQ(reader.Read(out, 4), Result::Data);
    EXPECT_EQ(out, "abcdefgh");
    EXPECT_EQ(reader.plain.reads, 1);
}

TEST(TlsRecordBuffer, TheCloseAlertStaysClosed) {
    Reader reader({FakeRecord('C', "") + FakeRecord('D', "late")}, Result::TimedOut);
    std::string out;
    EXPECT_EQ(reader.Read(out, 100), Result::Closed);
    EXPECT_EQ(reader.Read(out, 100), Result::Closed);
    EXPECT_EQ(out, "");
    EXPECT_EQ(reader.plain.reads, 1);
}

// While no whole record is there, the plain stream's own answer is the answer.
TEST(TlsRecordBuffer, ThePlainStreamsEndIsPassedOn) {
    for (Result end : {Result::TimedOut, Result::Aborted, Result::Failed, Result::Closed}) {
        Reader reader({FakeRecord('D', "partial").substr(0, 5)}, end);
        std::string out;
        EXPECT_EQ(reader.Read(out, 100), end);
        EXPECT_EQ(out, "");
    }
}

// What the system reports is checked before it is used.
class ScriptedLayer final : public TlsRecordLayer {
public:
    explicit ScriptedLayer(TlsDecryptStep step) : m_step(step) {}
    TlsDecryptStep Decrypt(char*, std::size_t) override { return m_step; }
    Result Renegotiate(std::chrono::steady_clock::time_point) override { return Result::Data; }

private:
    TlsDecryptStep m_step;
};

// A peer that sends bytes which never make a whole record does not fill the memory.
TEST(TlsRecordBuffer, CiphertextThatNeverMakesARecordFails) {
    std::deque<std::string> chunks(100, std::string(16384, 'x'));
    TlsRecordBuffer records;
    ScriptedStream plain(chunks);
    ScriptedLayer layer({TlsDecryptStep::Status::NeedMore, 0, 0, 0});
    std::string out;
    EXPECT_EQ(ReceiveDecrypted(records, layer, plain, out, 100, 1s), Result::Failed);
    EXPECT_EQ(plain.reads, static_cast<int>(kTlsMaxPendingCipher / 16384));
}

TEST(TlsRecordBuffer, ImpossibleDecryptResultsFail) {
    using Status = TlsDecryptStep::Status;
    const struct {
        const char* what;
        TlsDecryptStep step;
    } cases[] = {
        {"nothing consumed", {Status::Plaintext, 0, 0, 10}},
        {"more unconsumed than given", {Status::Plaintext, 0, 1, 11}},
        {"plaintext in the unconsumed part", {Status::Plaintext, 4, 4, 4}},
        {"plaintext beyond the data", {Status::Plaintext, 9, 5, 0}},
        {"offset wrapped around", {Status::Plaintext, ~std::size_t{0}, 2, 0}},
        {"renegotiation leaving more than given", {Status::Renegotiate, 0, 0, 11}},
        {"failure", {Status::Failed, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TlsRecordBuffer records;
        ScriptedStream plain({"0123456789"});
        ScriptedLayer layer(c.step);
        std::string out;
        EXPECT_EQ(ReceiveDecrypted(records, layer, plain, out, 100, 1s), Result::Failed);
        EXPECT_EQ(out, "");
        EXPECT_EQ(records.CipherSize(), 10u);
    }
}

TEST(TlsRecordBuffer, TheStartOfATlsRecordIsRecognised) {
    for (const char* bytes : {"", "\x16", "\x16\x03\x03", "\x15\x03\x01", "\x17\x03", "\x18\x03"}) {
        EXPECT_TRUE(StartsLikeTlsRecord(bytes)) << ::testing::PrintToString(bytes);
    }
    for (const char* bytes :
         {"\x13", "\x19\x03", "\x16\x02\x00", "+OK POP3 ready\r\n", "220 smtp ready\r\n"}) {
        EXPECT_FALSE(StartsLikeTlsRecord(bytes)) << ::testing::PrintToString(bytes);
    }
}

}  // namespace
}  // namespace quorlet
