#include "plot/plot_drag.h"

#include <algorithm>

namespace wendrel {

TwipsBand DragBand(const PlotLayout& layout, DragKind kind, double startX, double startY, double x, double y) {
    const auto across = [](double a, double b, int lo, int hi) {
        return std::pair(std::clamp<double>(std::min(a, b), lo, hi), std::clamp<double>(std::max(a, b), lo, hi));
    };
    if (kind == DragKind::IntensityRange) {
        const auto [top, bottom] = across(startY, y, layout.y0, layout.y1);
        return {double(layout.x0), top, double(layout.x1), bottom};
    }
    const auto [left, right] = across(startX, x, layout.x0, layout.x1);
    return {left, double(layout.y0), right, double(layout.y1)};
}

}  // namespace wendrel
