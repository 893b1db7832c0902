// What the check cycle's tests against the servers in memory share: the servers, the mail table,
// an observer, a clock that stands still, and a cycle with short spool paths and 30 s limits
// (far longer than any test waits, so that only an abort can end a wait early).
#pragma once

#include <gtest/gtest.h>

#include "mail/check_cycle.h"
#include "support/check_support.h"
#include "support/memory_pop3.h"
#include "support/temp_dir.h"

namespace quorlet::testing {

class CheckCycleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        CheckOptions options;
        options.spoolFolder = dir.File("");
        options.connectLimit = std::chrono::seconds(30);
        options.replyLimit = std::chrono::seconds(30);
        cycle.SetOptions(options);
    }

    TempDir dir;
    MemoryPop3 net;
    MailTable mails;
    RecordingObserver observer;
    ManualClock clock{CivilTime{2002, 5, 6, 10, 20, 30}};
    AccountTable accounts;
    CCheckCycle cycle{net, mails, observer, clock,
                      SystemCharsets()};  // last: its threads end first
};

}  // namespace quorlet::testing
