// The marks of laboratory lines on the plot: a dashed line across the box
// for each line of the marked sets inside the view, and the names in rows
// above the box (plot/mark_name_rows.h), a name stacked above the lowest row
// or moved off its mark joined to it by a thin leader.
#pragma once

#include <vector>

#include "plot/mark_name_rows.h"
#include "plot/plot_surface.h"
#include "store/workspace.h"

namespace wendrel {

// Names this far apart in a row; the lowest row's baseline this far above the box.
constexpr double kMarkNameGap = 60;
constexpr double kMarkNameRaise = 60;

struct MarkNamePlan {
    std::vector<double> marks;  // the marks' x in twips, left to right
    MarkNameRows rows;
};

// The marks of the view between x0 (wavelength PlotLeft) and x0 + curveWidth
// (PlotRight), in the curves' mapping, and their names' rows.
MarkNamePlan PlanMarkNames(const Workspace& ws, double x0, double curveWidth, const PlotSurface& surface);

// The height of one row of names.
double MarkNameRowHeight(const PlotSurface& surface);

// Draws the dashed marks from boxTop to boxBottom and the names above boxTop.
void DrawMarkNames(const MarkNamePlan& plan, double boxTop, double boxBottom, PlotSurface& surface);

}  // namespace wendrel
