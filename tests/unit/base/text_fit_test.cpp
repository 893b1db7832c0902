#include "base/text_fit.h"

#include <gtest/gtest.h>

namespace quorlet {
namespace {

TEST(TextFit, ShrinksTheBoxByAlignment) {
    const Box label{10, 20, 110, 40};  // 100 x 20
    struct Case {
        HorizontalAlign align;
        bool centreVertically;
        int width, height;
        Box expected;
    };
    const Case cases[] = {
        {HorizontalAlign::Left, false, 60, 12, {10, 20, 70, 32}},
        {HorizontalAlign::Right, false, 60, 12, {50, 20, 110, 32}},
        {HorizontalAlign::Centre, false, 60, 12, {30, 20, 90, 32}},
        {HorizontalAlign::Left, true, 60, 12, {10, 24, 70, 36}},
        {HorizontalAlign::Centre, true, 61, 13, {29, 23, 90, 36}},  // odd cuts round down
        // A text larger than the box grows it the same way.
        {HorizontalAlign::Centre, true, 120, 30, {0, 15, 120, 45}},
        {HorizontalAlign::Right, false, 120, 30, {-10, 20, 110, 50}},
    };
    for (const Case& c : cases) {
        const Box fitted = FitBoxToText(label, c.width, c.height, c.align, c.centreVertically);
        EXPECT_EQ(fitted, c.expected) << static_cast<int>(c.align) << " " << c.centreVertically
                                      << " " << c.width << "x" << c.height;
    }
}

}  // namespace
}  // namespace quorlet
