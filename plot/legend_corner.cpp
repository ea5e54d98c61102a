#include "plot/legend_corner.h"

#include <algorithm>

namespace wendrel {

CellRect LegendRect(const CellRect& box, double width, double height, LegendCorner corner, double inset) {
    const bool right = corner == LegendCorner::TopRight || corner == LegendCorner::BottomRight;
    const bool top = corner == LegendCorner::TopRight || corner == LegendCorner::TopLeft;
    const double left = right ? box.right - inset - width + 1 : box.left + inset;
    const double upper = top ? box.top + inset : box.bottom - inset - height + 1;
    return {left, upper, left + width - 1, upper + height - 1};
}

double CellsInside(std::span<const CurveColumn> columns, const CellRect& rect) {
    double cells = 0;
    for (const CurveColumn& c : columns)
        if (c.x >= rect.left && c.x <= rect.right)
            cells += std::max(0.0, std::min(c.yMax, rect.bottom) - std::max(c.yMin, rect.top) + 1);
    return cells;
}

LegendCorner QuietestCorner(const CellRect& box, double width, double height, double inset,
                            const std::function<double(const CellRect&)>& cellsInside) {
    LegendCorner best = LegendCorner::TopRight;
    double fewest = cellsInside(LegendRect(box, width, height, best, inset));
    for (const LegendCorner corner : {LegendCorner::TopLeft, LegendCorner::BottomRight, LegendCorner::BottomLeft}) {
        const double cells = cellsInside(LegendRect(box, width, height, corner, inset));
        if (cells < fewest) {
            fewest = cells;
            best = corner;
        }
    }
    return best;
}

LegendCorner QuietestCorner(const CellRect& box, double width, double height, double inset,
                            std::span<const CurveColumn> columns) {
    return QuietestCorner(box, width, height, inset, [columns](const CellRect& r) { return CellsInside(columns, r); });
}

}  // namespace wendrel
