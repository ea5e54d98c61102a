// One slot's spectrum as a stepped curve: pixel p is a horizontal tread over
// its wavelengths, joined to pixel p + 1 by a vertical riser. Blank pixels
// (not finite) leave a gap: their tread and the risers to and from them are
// not drawn. The curve is cut to the plot box.
#pragma once

#include <cstdint>
#include <span>

#include "plot/plot_surface.h"
#include "store/value_blocks.h"
#include "store/workspace.h"

namespace wendrel {

// The plot's mapping from wavelength and intensity to twips.
struct CurvePlacement {
    double boxLeft = 0;    // x of wavelength plotLeft
    double curveWidth = 0; // twips across the view (the box width + 1)
    double plotLeft = 0;
    double plotSpan = 0;
    double boxBottom = 0;  // y of intensity yMin
    double boxHeight = 0;
    double yMin = 0;
    double ySpan = 0;
    // The box the curve is cut to: boxLeft .. boxRight across, boxTop ..
    // boxBottom down.
    double boxRight = 0;
    double boxTop = 0;
};

// The values a slot's curve shows, their blocks (BlockExtentsOf) and how far
// down its offset moves it, in the same units.
struct CurveValues {
    std::span<const double> values;
    std::span<const ValueExtent> blocks;
    double shift = 0;
};

// Draws pixels first .. last of the slot (1-based, already limited to the
// slot's pixels), starting at wavelength startLambda, in the current colour.
// With surface.TwipsPerColumn() == 0 every tread and riser is drawn, tread
// before riser, pixel by pixel. Otherwise the pixels that share a device
// column are drawn as one vertical line over their extent, plus the treads
// that cross columns: the same cells, in time that grows with the pixels only
// through the values of each column's partial value blocks. A column that the
// box's left or right side crosses counts as two, one each side, so that the
// cut takes the same cells away either way.
void DrawSteppedCurve(const Row& slot, const CurveValues& values, int64_t first, int64_t last,
                      double startLambda, const CurvePlacement& place, PlotSurface& surface);

}  // namespace wendrel
