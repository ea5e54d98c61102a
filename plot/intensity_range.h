// The range of the plot's intensity axis, in the shown scale
// (plot/intensity_scale.h), as the workspace's Intensity setting asks:
// Automatic, 0 to the highest curve; FitToView, the lowest to the highest
// value of the curves' pixels in the view with a margin of 5 % of that span
// each side (their +-1 sigma bands included when the view shows them);
// Fixed, IntensityLow .. IntensityHigh.
#pragma once

#include <cstdint>

#include "store/workspace.h"

namespace wendrel {

struct IntensityLimits {
    double low = 0, high = 0;
    bool operator==(const IntensityLimits&) const = default;
};

// A curve's value is its pixel's shown value minus its offset shift. With
// FitToView and no value in view, the Automatic range; a flat view gets the
// margins of 5 % of its value (1 at 0). Works from the slots' value blocks, so
// its time does not grow with the pixels in view.
IntensityLimits IntensityRangeFor(const Workspace& ws);

// Top of the Automatic range in percent: the largest PctMax - Offset of the
// loaded slots, and -9999 when none is loaded.
double FindYMax(const Workspace& ws);

// The pixels of the slot that the redraw draws in the view (1-based, first >
// last when none): those FindPixelsInView finds, limited to the slot's pixels.
struct DrawnPixels {
    int64_t first = 1, last = 0;
};
DrawnPixels DrawnPixelsOf(const Row& s, double plotLeft, double plotRight);

}  // namespace wendrel
