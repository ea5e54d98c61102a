#include "app/placement.h"

#include <algorithm>

namespace wendrel {

namespace {

bool Overlaps(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

// Squared length of the gap between two rectangles; 0 when they touch or overlap.
double GapSquared(const ScreenRect& a, const ScreenRect& b) {
    const double dx = std::max({0.0, b.left - a.right(), a.left - b.right()});
    const double dy = std::max({0.0, b.top - a.bottom(), a.top - b.bottom()});
    return dx * dx + dy * dy;
}

// The start of a span of length size moved into [low, low + room] as far as it fits.
double MoveInto(double start, double size, double low, double room) {
    return std::max(low, std::min(start, low + room - size));
}

}  // namespace

ScreenPoint PlaceOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& screens) {
    if (screens.empty() || std::any_of(screens.begin(), screens.end(),
                                       [&](const ScreenRect& s) { return Overlaps(window, s); }))
        return {window.left, window.top};
    const ScreenRect& nearest = *std::min_element(
        screens.begin(), screens.end(),
        [&](const ScreenRect& a, const ScreenRect& b) { return GapSquared(window, a) < GapSquared(window, b); });
    return {MoveInto(window.left, window.width, nearest.left, nearest.width),
            MoveInto(window.top, window.height, nearest.top, nearest.height)};
}

}  // namespace wendrel
