// The legend of the plot: inside the box's top right corner, on a white
// ground in a grey frame, one row per loaded slot (slot 1 first) with a short
// bar of the slot's colour and its name.
#pragma once

#include <string>

#include "plot/plot_surface.h"
#include "plot/redraw_layout.h"
#include "store/workspace.h"

namespace wendrel {

// The name the legend gives a slot: its ObjectName without the blanks around
// it, or its FileName when that leaves nothing.
std::string LegendName(const Row& s);

// Draws the legend of the loaded slots when ShowLegend is set, below the box's
// top edge `boxTop` and left of its right edge `boxRight`, but not left of
// `boxLeft`, and adds each row's rectangle to layout.legend.
void DrawLegend(const Workspace& ws, int boxLeft, int boxRight, int boxTop, PlotSurface& surface, PlotLayout& layout);

}  // namespace wendrel
