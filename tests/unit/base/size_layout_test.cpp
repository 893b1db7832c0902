#include "base/size_layout.h"

#include <gtest/gtest.h>

namespace quorlet {
namespace {

// A dialog whose window is 400 x 300 with a 392 x 270 client area at first.
const Extent kInitialClient{392, 270};
const Extent kMinimum{400, 300};

Extent GrowthFor(int windowWidth, int windowHeight) {
    const Box window{100, 100, 100 + windowWidth, 100 + windowHeight};
    const Box client{0, 0, windowWidth - 8, windowHeight - 30};
    return LayoutGrowth(window, client, kInitialClient, kMinimum);
}

TEST(SizeLayout, ControlsMoveByTheirShareOfTheGrowth) {
    const Box button{300, 240, 380, 262};
    struct Case {
        EdgePercents percents;
        Extent growth;
        Box expected;
    };
    const Case cases[] = {
        // Buttons at 100,100,50,50: 40 right and 15 down (31 / 2 truncated), same size.
        {{100, 100, 50, 50}, {40, 31}, {340, 255, 420, 277}},
        // A list at 0,100,0,100 grows by exactly the window's growth.
        {{0, 100, 0, 100}, {40, 31}, {300, 240, 420, 293}},
        // Shrinking back toward the minimum truncates toward zero, not downward.
        {{50, 50, 50, 50}, {-3, -5}, {299, 238, 379, 260}},
        {{0, 0, 0, 0}, {40, 31}, button},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceControl(button, c.percents, c.growth), c.expected);
    }
    EXPECT_EQ(PercentsByMode(SizeMode::Stretch, SizeMode::Fixed), (EdgePercents{0, 100, 0, 0}));
    EXPECT_EQ(PercentsByMode(SizeMode::Centre, SizeMode::Follow), (EdgePercents{50, 50, 100, 100}));
    EXPECT_EQ(PercentsByMode(static_cast<SizeMode>(7), SizeMode::Fixed), (EdgePercents{}));
}

TEST(SizeLayout, GrowthNeverGoesBelowTheMinimum) {
    EXPECT_EQ(GrowthFor(400, 300), (Extent{0, 0}));
    EXPECT_EQ(GrowthFor(440, 331), (Extent{40, 31}));
    EXPECT_EQ(GrowthFor(380, 250), (Extent{0, 0}));  // laid out as at the minimum
    EXPECT_EQ(GrowthFor(380, 350), (Extent{0, 50}));
}

TEST(SizeLayout, LimitsAndFitting) {
    EXPECT_TRUE(ValidSizeLimits({400, 300}, {1280, 1000}));
    EXPECT_TRUE(ValidSizeLimits({400, 300}, {400, 300}));
    EXPECT_FALSE(ValidSizeLimits({400, 300}, {399, 1000}));
    EXPECT_FALSE(ValidSizeLimits({400, 300}, {1280, 299}));
    EXPECT_FALSE(ValidSizeLimits({0, 0}, {0, 10}));

    EXPECT_EQ(FitChange({500, 250}, {400, 300}, {450, 1000}), (Extent{-50, 50}));
    EXPECT_EQ(FitChange({420, 320}, {400, 300}, {450, 1000}), (Extent{0, 0}));

    const TrackingLimits both = TrackingLimitsFor({400, 300}, {1280, 1000}, 3);
    EXPECT_EQ(both.maximum, (Extent{1280, 1000}));
    const TrackingLimits heightOnly = TrackingLimitsFor({400, 300}, {1280, 1000}, 2);
    EXPECT_EQ(heightOnly.minimum, (Extent{400, 300}));
    EXPECT_EQ(heightOnly.maximum, (Extent{400, 1000}));
}

TEST(SizeLayout, StretchingKeepsTheCentre) {
    const Box window{100, 100, 500, 400};
    // +5: left out by 2, right out by 3.
    EXPECT_EQ(StretchBox(window, {5, 0}), (Box{98, 100, 503, 400}));
    // -5: both edges in by 2, so the window ends one pixel wider than asked; -4 is exact
    // at the top (2) and short by one at the bottom (-3 / 2 is -1).
    EXPECT_EQ(StretchBox(window, {-5, -4}), (Box{102, 102, 498, 399}));
    // Taking away the whole width leaves one pixel, for the same reason; one more empties it.
    EXPECT_EQ(StretchBox(window, {-400, 0}), (Box{300, 100, 301, 400}));
    EXPECT_EQ(StretchBox(window, {-401, 0}), std::nullopt);
    EXPECT_EQ(StretchBox(window, {0, -301}), std::nullopt);
    // Scaling by a tenth grows 400 x 300 by 40 x 30.
    EXPECT_EQ(ScaleChange({400, 300}, 10), (Extent{40, 30}));
    EXPECT_EQ(ScaleChange({405, 309}, 10), (Extent{40, 30}));
}

}  // namespace
}  // namespace quorlet
