#include "plot/measure_overlay.h"

#include <algorithm>
#include <cmath>

#include "plot/intensity_scale.h"
#include "plot/renderer.h"
#include "store/rest_frame.h"

namespace wendrel {

namespace {

// Cuts the line (x1, y1) .. (x2, y2) to the box; false when none of it lies inside.
bool CutToBox(const PlotLayout& box, double& x1, double& y1, double& x2, double& y2) {
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x1 - box.x0, box.x1 - x1, y1 - box.y0, box.y1 - y1};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
    std::tie(x1, y1, x2, y2) = std::tuple(x1 + t0 * dx, y1 + t0 * dy, x1 + t1 * dx, y1 + t1 * dy);
    return true;
}

}  // namespace

void DrawMeasuredSpan(const Workspace& ws, const PlotLayout& layout, PlotSurface& surface) {
    const MeasuredSpan& measured = ws.View.Measured;
    if (measured.Slot < 1 || measured.Slot > kMaxSlots || !ws.slot(measured.Slot).Loaded()) return;
    const Row& s = ws.slot(measured.Slot);
    const double span = ws.View.PlotRight - ws.View.PlotLeft;
    if (!(span > 0) || !std::isfinite(span)) return;
    const double ySpan = layout.yMax - layout.yMin > 0 ? layout.yMax - layout.yMin : 100;
    const double shift = OffsetShift(ws, s, LargestFluxMax(ws));
    const auto x = [&](double observed) {
        return layout.x0 + (layout.x1 - layout.x0 + 1) * (RestWavelength(s, observed) - ws.View.PlotLeft) / span;
    };
    const auto y = [&](double flux) {
        const double shown = ws.View.ScaleFlux ? flux : 100 * flux / s->Level;
        return layout.y1 - (layout.y1 - layout.y0) * (shown - shift - layout.yMin) / ySpan;
    };

    surface.SetForeColor(s.SlotColor);
    for (const double end : {x(measured.Left), x(measured.Right)})
        if (end >= layout.x0 && end <= layout.x1)
            surface.DashedLine(static_cast<float>(end), layout.y0, static_cast<float>(end), layout.y1);
    // A line from (lambda1, flux1) to (lambda2, flux2), cut to the box.
    const auto line = [&](double lambda1, double flux1, double lambda2, double flux2) {
        double x1 = x(lambda1), y1 = y(flux1), x2 = x(lambda2), y2 = y(flux2);
        if (!std::isfinite(y1) || !std::isfinite(y2) || !CutToBox(layout, x1, y1, x2, y2)) return;
        surface.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2));
    };
    // The components first, so that the whole profile lies over them.
    for (size_t k = measured.FitCurves.size(); k-- > 0;) {
        surface.SetForeColor(k == 0 ? kBoxColor : kFitComponentColor);
        const std::vector<double>& curve = measured.FitCurves[k];
        for (size_t i = 1; i < curve.size() && i < measured.FitLambda.size(); ++i)
            line(measured.FitLambda[i - 1], curve[i - 1], measured.FitLambda[i], curve[i]);
    }
    surface.SetForeColor(kBoxColor);
    line(measured.Left, measured.LeftFlux, measured.Right, measured.RightFlux);
}

}  // namespace wendrel
