// The system's remote-access service as the program calls it (W functions, structures of the
// first RAS release, checked by static assertions where they are declared). Wine has no phone
// book and no dial-up line, which is exactly what the program must then cope with.
#include <gtest/gtest.h>

#include "dialup/dial_state.h"
#include "platform/remote_access.h"

namespace quorlet {
namespace {

TEST(Win32RemoteAccess, AnEmptySystemGivesNoEntriesAndNoLine) {
    const auto ras = MakeSystemRemoteAccess();
    const auto entries = ras->EnumEntries();
    ASSERT_TRUE(entries.has_value());
    EXPECT_TRUE(entries->empty());
    const auto connections = ras->EnumConnections();
    ASSERT_TRUE(connections.has_value());
    EXPECT_TRUE(connections->empty());
    std::string name = "kept";
    EXPECT_FALSE(IsLineConnected(*ras, name));
    EXPECT_EQ(name, "kept");
}

TEST(Win32RemoteAccess, DiallingAnUnknownEntryFailsAndHangingUpNothingIsHarmless) {
    const auto ras = MakeSystemRemoteAccess();
    int reports = 0;
    RasHandle handle = 0;
    const unsigned result = ras->Dial(
        "没有的连接", "user", "pw", [&](unsigned, unsigned) { ++reports; }, handle);
    EXPECT_NE(result, 0u);
    if (handle != 0) {
        ras->HangUp(handle);
    }
    DialState state;
    state.bOnline = true;
    HangUpOwnConnection(*ras, state);
    EXPECT_FALSE(state.bOnline);
    EXPECT_EQ(reports, 0);
}

}  // namespace
}  // namespace quorlet
