#include "plot/curve_columns.h"

#include <algorithm>
#include <cmath>

namespace wendrel {

void CurveColumnRecorder::Line(float x1, float y1, float x2, float y2) {
    target_.Line(x1, y1, x2, y2);
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;
    const double left = std::floor(std::min(x1, x2) / cell_), right = std::floor(std::max(x1, x2) / cell_);
    // A sloping line (none of the curves' treads and risers is one) counts as
    // its bounding run in each column.
    const double top = std::floor(std::min(y1, y2) / cell_), bottom = std::floor(std::max(y1, y2) / cell_);
    for (double x = left; x <= right; ++x) columns_.push_back({x, top, bottom});
}

}  // namespace wendrel
