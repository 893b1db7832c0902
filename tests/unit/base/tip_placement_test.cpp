// Where the list-cell tip goes, and when a cell's text counts as seen whole.
#include "base/tip_placement.h"

#include <gtest/gtest.h>

namespace quorlet {
namespace {

TEST(TipPlacement, ACellTextIsSeenWholeOnlyWhenMoreThanTenPixelsNarrowerThanItsColumn) {
    EXPECT_TRUE(IsCellTextFullyVisible(89, 100));
    EXPECT_FALSE(IsCellTextFullyVisible(90, 100));
    EXPECT_FALSE(IsCellTextFullyVisible(140, 100));
}

TEST(TipPlacement, TheTipCoversTheTextAndStaysInsideTheMonitor) {
    const Box monitor{1920, 0, 3840, 1080};  // a second monitor, right of the first
    struct Case {
        const char* name;
        Box text;
        Box tip;
    };
    const Case cases[] = {
        {"inside", {2000, 100, 2100, 112}, {1997, 100, 2103, 117}},
        {"past the right edge", {3800, 100, 3900, 112}, {3734, 100, 3840, 117}},
        {"past the left edge", {1900, 100, 1950, 112}, {1920, 100, 1976, 117}},
        {"below the bottom", {2000, 1075, 2100, 1087}, {1997, 1063, 2103, 1080}},
        {"wider than the monitor", {1800, 10, 4000, 22}, {1920, 10, 4126, 27}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceTip(c.text, monitor), c.tip) << c.name;
    }
}

}  // namespace
}  // namespace quorlet
