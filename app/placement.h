// Keeping a window where the user can see it when its saved place is off
// every screen (a screen since removed, a changed desktop layout).
#pragma once

#include <vector>

namespace wendrel {

// A rectangle in any one unit (twips, pixels), y growing downward.
struct ScreenRect {
    double left = 0, top = 0, width = 0, height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

struct ScreenPoint {
    double left = 0, top = 0;

    bool operator==(const ScreenPoint&) const = default;
};

// The top-left corner at which to open a window. A window that shares some
// area with a screen keeps its place. One that lies entirely off every screen
// (touching an edge counts as off) moves onto the screen nearest to it, as far
// as needed for all of it to show, or its top-left corner when it is larger
// than that screen. With no screens the place is kept.
ScreenPoint PlaceOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& screens);

}  // namespace wendrel
