// The dial-up window's rules without the window: whose report counts, what it means, and the
// start of a dial.
#include "dialup/dial_progress.h"

#include <gtest/gtest.h>

#include "platform/simulated_remote_access.h"  // the error codes

namespace quorlet {
namespace {

using Outcome = DialProgress::Outcome;

TEST(DialProgress, ReportsOfTheCurrentDialByStateAndError) {
    struct Case {
        unsigned state;
        unsigned error;
        Outcome outcome;
    };
    const Case cases[] = {
        {RasState::kOpenPort, 0, Outcome::Progress},
        {RasState::kAuthenticate, 0, Outcome::Progress},
        {0x1003, 0, Outcome::Progress},
        {RasState::kConnected, 0, Outcome::Connected},
        // Only "connected" is a connection: a line reported down without an error failed.
        {RasState::kDisconnected, 0, Outcome::Failed},
        {RasState::kConnectDevice, RasError::kNoAnswer, Outcome::Failed},
        {RasState::kConnected, RasError::kAuthenticationFailure, Outcome::Failed},
    };
    for (const Case& c : cases) {
        DialProgress progress;
        const unsigned dial = progress.Begin();
        EXPECT_EQ(progress.OnReport(PackDialReport(dial, c.state), c.error), c.outcome)
            << c.state << " " << c.error;
        EXPECT_EQ(progress.Dialing(), c.outcome == Outcome::Progress) << c.state;
        EXPECT_EQ(ReportedState(PackDialReport(dial, c.state)), c.state);
    }
}

TEST(DialProgress, ReportsOfAHungUpOrReplacedDialGoNowhere) {
    DialProgress progress;
    const unsigned first = progress.Begin();
    EXPECT_EQ(progress.OnReport(PackDialReport(first, RasState::kOpenPort), 0), Outcome::Progress);
    progress.End();
    EXPECT_FALSE(progress.Dialing());
    // The report the system still sends for the hung-up dial, before and after the next dial.
    EXPECT_EQ(progress.OnReport(PackDialReport(first, RasState::kConnected), 0), Outcome::Ignore);
    const unsigned second = progress.Begin();
    EXPECT_NE(second, first);
    EXPECT_EQ(progress.OnReport(PackDialReport(first, RasState::kDisconnected), 0),
              Outcome::Ignore);
    // The new dial's first report is its own, not swallowed by the earlier hang-up.
    EXPECT_EQ(progress.OnReport(PackDialReport(second, RasState::kOpenPort), 0), Outcome::Progress);
    // A redial replaces a dial without a hang-up report in between.
    const unsigned third = progress.Begin();
    EXPECT_EQ(progress.OnReport(PackDialReport(second, RasState::kConnected), 0), Outcome::Ignore);
    EXPECT_EQ(progress.OnReport(PackDialReport(third, RasState::kConnected), 0),
              Outcome::Connected);
    // Once a dial has ended, even its own later reports do nothing.
    EXPECT_EQ(progress.OnReport(PackDialReport(third, RasState::kDisconnected), 0),
              Outcome::Ignore);
}

TEST(DialProgress, CloseDuringADialEndsAtItsNextReportAndNumbersSurviveReopening) {
    DialProgress progress;
    const unsigned dial = progress.Begin();
    progress.RequestClose();
    EXPECT_EQ(progress.OnReport(PackDialReport(dial, RasState::kConnected), 0), Outcome::Close);
    EXPECT_FALSE(progress.Dialing());

    progress.Reset();
    EXPECT_FALSE(progress.CloseRequested());
    const unsigned next = progress.Begin();
    EXPECT_NE(next, dial);
    EXPECT_EQ(progress.OnReport(PackDialReport(dial, RasState::kConnected), 0), Outcome::Ignore);

    // The numbers wrap within what a report carries and never give 0.
    for (int i = 0; i < 0x10000; ++i) {
        ASSERT_NE(progress.Begin(), 0u);
    }
}

TEST(DialProgress, RedialTime) {
    EXPECT_EQ(RedialMilliseconds("30"), 30000u);
    EXPECT_EQ(RedialMilliseconds("0"), 0u);
    EXPECT_EQ(RedialMilliseconds(""), 0u);
    EXPECT_EQ(RedialMilliseconds("-5"), 0u);
    EXPECT_EQ(RedialMilliseconds("7x"), 7000u);
    EXPECT_EQ(RedialMilliseconds("99999999999"), 2147483000u);  // a stored value, not typed
}

// A service whose dial fails at once yet leaves a connection handle, as rasapi32 may.
class HandleLeavingAccess final : public RemoteAccess {
public:
    std::vector<RasHandle> hungUp;
    std::optional<std::vector<std::string>> EnumEntries() override { return {}; }
    unsigned Dial(const std::string&, const std::string&, const std::string&, DialNotifier,
                  RasHandle& handle) override {
        handle = 77;
        return 633;  // the port is in use
    }
    std::optional<std::string> ErrorString(unsigned) override { return std::nullopt; }
    unsigned HangUp(RasHandle handle) override {
        hungUp.push_back(handle);
        return 0;
    }
    std::optional<std::vector<Connection>> EnumConnections() override { return {}; }
    std::optional<unsigned> ConnectState(RasHandle) override { return std::nullopt; }
};

TEST(StartDial, AnImmediateFailureHangsUpTheHandleItLeft) {
    HandleLeavingAccess leaving;
    DialSettings settings;
    RasHandle handle = 5;
    EXPECT_EQ(StartDial(leaving, "163", settings, nullptr, handle), 633u);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(leaving.hungUp, std::vector<RasHandle>{77});
}

}  // namespace
}  // namespace quorlet
