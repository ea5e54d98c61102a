// The one redraw of the plot: grid, ticks, tick labels, box, one stepped curve
// per loaded slot and each slot's zero-level marker, and the legend when it is
// asked for, drawn from nothing onto the plot window's surface, from the
// workspace as it stands.
#pragma once

#include "plot/plot_surface.h"
#include "plot/redraw_layout.h"
#include "store/workspace.h"

namespace wendrel {

// Grid lines are light grey; box, ticks and labels black.
constexpr int32_t kGridColor = 192 + 256 * 192 + 65536 * 192;
constexpr int32_t kBoxColor = 0;
// Marks of laboratory lines: dashed, dark grey, under the curves.
constexpr int32_t kLineMarkColor = 96 + 256 * 96 + 65536 * 96;

// Draws nothing and returns an empty layout until a spectrum has been loaded
// (DataReady). Otherwise lays the plot box out in `area`, draws onto a
// surface the caller has cleared, and returns the layout, with the pixels of
// each loaded slot inside the view.
//
// The intensity axis runs over IntensityRangeFor(ws) (plot/intensity_range.h)
// in the shown scale; in flux its labels show three significant digits
// (SignificantText) and the title FluxTitle (plot/intensity_scale.h). The
// curves are cut to the box; the zero-level markers and the names of marked
// lines stand in the margins. The legend (plot/plot_legend.h), when ShowLegend
// asks for it, is drawn last, over the curves, and its rows go to
// layout.legend.
//
// An axis without a positive span (PlotRight <= PlotLeft, or an intensity
// range without one) gets no grid, ticks or tick labels (their labels are
// empty); the rest still draws. With no positive intensity span the curves
// and markers use 100 units per box height; with no positive wavelength span
// there is no curve to draw. Blank pixels are gaps in the curves.
//
// Each slot is drawn at its wavelengths in the rest frame of its Velocity
// (store/rest_frame.h). The lines of the sets named in LineMarkSets
// (plot/line_marks.h) that lie inside the view get a dashed mark across the
// box, drawn before the curves, and their name above the box.
//
// When surface.TwipsPerColumn() > 0 the curves are drawn as per-column
// envelopes (see plot/stepped_curve.h), which relies on the surface lighting
// exactly the device cells (plot/device_column.h) that a horizontal or
// vertical line meets.
PlotLayout RedrawPlot(const Workspace& ws, PlotSurface& surface, const PlotArea& area);

}  // namespace wendrel
