// Which corner of the plot box the legend takes: the one where it hides the
// fewest cells of the drawn curves. The curves are given as the renderer
// draws them at the device's resolution, one vertical run of cells per
// device column and curve (plot/device_column.h, plot/stepped_curve.h).
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace wendrel {

// A rectangle in device cells, y growing downwards; both edges included.
struct CellRect {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// The cells yMin .. yMax (both included) a curve covers in device column x.
struct CurveColumn {
    double x = 0;
    double yMin = 0, yMax = 0;
};

// In the order that breaks ties: top right first.
enum class LegendCorner { TopRight, TopLeft, BottomRight, BottomLeft };

// The legend's rectangle of width x height cells in that corner of the box,
// `inset` cells inside its edges.
CellRect LegendRect(const CellRect& box, double width, double height, LegendCorner corner, double inset = 0);

// The cells of the columns inside the rectangle.
double CellsInside(std::span<const CurveColumn> columns, const CellRect& rect);

// The corner whose legend rectangle covers the fewest curve cells, counted
// by cellsInside; on a tie the earlier corner of LegendCorner.
LegendCorner QuietestCorner(const CellRect& box, double width, double height, double inset,
                            const std::function<double(const CellRect&)>& cellsInside);
LegendCorner QuietestCorner(const CellRect& box, double width, double height, double inset,
                            std::span<const CurveColumn> columns);

}  // namespace wendrel
