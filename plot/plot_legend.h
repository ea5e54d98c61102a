// The legend of the plot: on a white ground in a grey frame, one row per
// loaded slot (slot 1 first) with a short bar of the curve's colour and its
// name; inside the box's corner that hides the fewest curve cells, right of
// the box, or where it was dragged to (store/plot_look.h).
#pragma once

#include <span>
#include <string>

#include "plot/legend_corner.h"

#include "plot/plot_surface.h"
#include "plot/redraw_layout.h"
#include "store/workspace.h"

namespace wendrel {

// The name the legend gives a slot: its ObjectName without the blanks around
// it, or its FileName when that leaves nothing.
std::string LegendName(const Row& s);

// The legend's outer size in twips; 0 x 0 when ShowLegend is off or no slot
// is loaded.
struct LegendSize {
    double width = 0, height = 0;
};
LegendSize MeasureLegend(const Workspace& ws, const PlotSurface& surface);

// The space from the box's right edge to an outside legend's left edge.
constexpr int kLegendOutsideGap = 120;

// The legend's top-left corner: where it was dragged to; else, outside,
// `outsideLeft` at the box's top; else inside the box's quietest corner
// for the curve cells `columns` (cells `cell` twips square), 120 twips in
// from its edges.
struct LegendPlace {
    double left = 0, top = 0;
};
LegendPlace PlaceLegend(const PlotView& view, LegendSize size, const PlotLayout& box, double outsideLeft,
                        std::span<const CurveColumn> columns, double cell);

// Draws the legend of the loaded slots, its top-left corner at `place`, when
// ShowLegend is set, and adds each row's rectangle to layout.legend.
void DrawLegend(const Workspace& ws, LegendPlace place, PlotSurface& surface, PlotLayout& layout);

}  // namespace wendrel
