#include "base/size_layout.h"

#include <utility>

namespace quorlet {
namespace {

std::pair<std::uint8_t, std::uint8_t> AxisPercents(SizeMode mode) {
    switch (mode) {
        case SizeMode::Stretch:
            return {0, 100};
        case SizeMode::Follow:
            return {100, 100};
        case SizeMode::Centre:
            return {50, 50};
        default:
            return {0, 0};
    }
}

int Share(int growth, int percent) {
    return growth * percent / 100;
}

int AxisFit(int size, int minimum, int maximum) {
    if (size > maximum) {
        return maximum - size;
    }
    if (size < minimum) {
        return minimum - size;
    }
    return 0;
}

}  // namespace

EdgePercents PercentsByMode(SizeMode horizontal, SizeMode vertical) {
    const auto [left, right] = AxisPercents(horizontal);
    const auto [top, bottom] = AxisPercents(vertical);
    return {left, right, top, bottom};
}

Extent LayoutGrowth(const Box& window, const Box& client, Extent initialClient, Extent minimum) {
    int right = client.right;
    int bottom = client.bottom;
    if (window.Width() < minimum.width) {
        right += minimum.width - window.Width();
    }
    if (window.Height() < minimum.height) {
        bottom += minimum.height - window.Height();
    }
    return {right - client.left - initialClient.width, bottom - client.top - initialClient.height};
}

Box PlaceControl(const Box& initial, EdgePercents p, Extent growth) {
    return {initial.left + Share(growth.width, p.left), initial.top + Share(growth.height, p.top),
            initial.right + Share(growth.width, p.right),
            initial.bottom + Share(growth.height, p.bottom)};
}

bool ValidSizeLimits(Extent minimum, Extent maximum) {
    return maximum.width >= minimum.width && maximum.height >= minimum.height &&
           maximum.width != 0 && maximum.height != 0;
}

Extent FitChange(Extent window, Extent minimum, Extent maximum) {
    return {AxisFit(window.width, minimum.width, maximum.width),
            AxisFit(window.height, minimum.height, maximum.height)};
}

std::optional<Box> StretchBox(const Box& window, Extent change) {
    const Box stretched{window.left - change.width / 2, window.top - change.height / 2,
                        window.right + (change.width + 1) / 2,
                        window.bottom + (change.height + 1) / 2};
    if (stretched.left >= stretched.right || stretched.top >= stretched.bottom) {
        return std::nullopt;
    }
    return stretched;
}

Extent ScaleChange(Extent window, int percent) {
    return {window.width * percent / 100, window.height * percent / 100};
}

TrackingLimits TrackingLimitsFor(Extent minimum, Extent maximum, unsigned flags) {
    return {minimum,
            {(flags & 1U) != 0 ? maximum.width : minimum.width,
             (flags & 2U) != 0 ? maximum.height : minimum.height}};
}

}  // namespace quorlet
