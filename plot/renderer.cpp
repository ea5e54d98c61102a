#include "plot/renderer.h"

#include <algorithm>
#include <cmath>

#include "plot/intensity_range.h"
#include "plot/intensity_scale.h"
#include "plot/line_marks.h"
#include "plot/measure_overlay.h"
#include "plot/number_format.h"
#include "plot/pixel_wavelengths.h"
#include "plot/plot_legend.h"
#include "plot/stepped_curve.h"
#include "plot/tick_rule.h"
#include "plot/uncertainty_band.h"
#include "plot/x_axis_mapping.h"

namespace wendrel {

namespace {

constexpr int kTickLength = 100;
// Height of the margin below the plot box that the labels and the window's
// bottom controls share.
constexpr int kBottomSpare = 1200;
// The names of marked lines stand in the margin above the box, their
// baseline this far above its top edge.
constexpr int kMarkNameRaise = 60;
// Intensity units per box height for curves when the intensity axis has no span.
constexpr double kFallbackIntensitySpan = 100;

// The plot box, its sizes and the view for one redraw; box in twips.
struct Box {
    int64_t x0, x1, y0, y1;
    int64_t w;       // x1 - x0: the grid's width
    int64_t wCurve;  // w + 1: the curves' width
    int64_t h;
    // The outer size the plot is laid out for (PlotArea).
    int64_t winWidth, winHeight;
    double span;        // PlotRight - PlotLeft
    double yMin, yMax;  // the intensity axis
};

void Place(PlotLayout& layout, PlotLabel label, double left, double top, std::string caption) {
    layout.labels[label] = PlacedLabel{left, top, std::move(caption)};
}

void DrawWavelengthAxis(const Workspace& ws, const Box& box, PlotSurface& surface, PlotLayout& layout) {
    const XAxisMapping axis(ws.View);
    const double axisLeft = axis.Axis(ws.View.PlotLeft), axisRight = axis.Axis(ws.View.PlotRight);
    const AxisTicks ticks = TicksFor(axisRight - axisLeft, axisLeft, axisRight);
    const double labelTop = box.winHeight - kBottomSpare - 800;
    if (!ticks.valid) {
        Place(layout, PlotLabel::WavelengthFirstTick, box.x0 - 200, labelTop, "");
        Place(layout, PlotLabel::WavelengthLastTick, box.x1 - 200, labelTop, "");
        return;
    }
    for (int64_t k = ticks.first; k <= ticks.last; ++k) {
        const double x = box.x0 + box.w * (axis.Wavelength(ticks.Value(k)) - ws.View.PlotLeft) / box.span;
        if (x < box.x0 || x > box.x1) continue;
        const auto xf = static_cast<float>(x);
        surface.SetForeColor(kGridColor);
        surface.Line(xf, box.y0, xf, box.y1);
        surface.SetForeColor(kBoxColor);
        surface.Line(xf, box.y0, xf, box.y0 + kTickLength);
        surface.Line(xf, box.y1 - kTickLength, xf, box.y1);
    }
    const auto labelLeft = [&](int64_t k) {
        return box.x0 + box.wCurve * (axis.Wavelength(ticks.Value(k)) - ws.View.PlotLeft) / box.span - 200;
    };
    Place(layout, PlotLabel::WavelengthFirstTick, labelLeft(ticks.first), labelTop, ticks.LabelText(ticks.first));
    Place(layout, PlotLabel::WavelengthLastTick, labelLeft(ticks.last), labelTop, ticks.LabelText(ticks.last));
}

// The tick labels: in flux three significant digits; in percent the
// automatic range's whole numbers, other ranges as many decimals as tell
// their ticks apart.
void DrawIntensityAxis(const Workspace& ws, const Box& box, PlotSurface& surface, PlotLayout& layout) {
    const double ySpan = box.yMax - box.yMin;
    const AxisTicks ticks = TicksFor(ySpan, box.yMin, box.yMax);
    const double stepLabelTop = 0.6 * box.h + box.y0;
    Place(layout, PlotLabel::IntensityTitle, 0, 0, ws.View.ScaleFlux ? FluxTitle(ws) : "");
    if (!ticks.valid) {
        Place(layout, PlotLabel::IntensityTopTick, 0, box.y0 - 100, "");
        Place(layout, PlotLabel::IntensityBottomTick, 0, box.y1 - 100, "");
        Place(layout, PlotLabel::IntensityStep, 0, stepLabelTop, "");
        return;
    }
    const auto yOf = [&](double v) { return box.y1 - box.h * (v - box.yMin) / ySpan; };
    for (int64_t j = ticks.first; j <= ticks.last; ++j) {
        const double y = yOf(ticks.Value(j));
        if (y < box.y0 || y > box.y1) continue;
        const auto yf = static_cast<float>(y);
        surface.SetForeColor(kGridColor);
        surface.Line(box.x0, yf, box.x1, yf);
        surface.SetForeColor(kBoxColor);
        surface.Line(box.x0, yf, box.x0 + kTickLength, yf);
        surface.Line(box.x1 - kTickLength, yf, box.x1, yf);
    }
    const auto tickText = [&](int64_t j) {
        if (ws.View.ScaleFlux) return SignificantText(ticks.Value(j));
        if (ws.View.Intensity == PlotView::IntensityRange::Automatic) return FormatNum(ticks.Value(j), 6, 0);
        return ticks.LabelText(j);
    };
    Place(layout, PlotLabel::IntensityTopTick, 0, yOf(ticks.Value(ticks.last)) - 100, tickText(ticks.last));
    Place(layout, PlotLabel::IntensityBottomTick, 0, yOf(ticks.Value(ticks.first)) - 100, tickText(ticks.first));
    Place(layout, PlotLabel::IntensityStep, 0, stepLabelTop,
          ws.View.ScaleFlux ? SignificantText(ticks.step) : PlainNumberText(ticks.step).substr(0, 6));
}

void DrawBox(const Box& box, PlotSurface& surface) {
    surface.SetForeColor(kBoxColor);
    surface.Line(box.x0, box.y0, box.x1, box.y0);
    surface.Line(box.x1, box.y0, box.x1, box.y1);
    surface.Line(box.x1, box.y1, box.x0, box.y1);
    surface.Line(box.x0, box.y1, box.x0, box.y0);
}

// A dashed line across the box for each line of the marked sets inside the
// view, with its name above the box. Drawn before the curves, so that the
// curves stay on top, and named in the margin, where no curve goes.
void DrawLineMarks(const Workspace& ws, const Box& box, PlotSurface& surface) {
    if (ws.View.LineMarkSets.empty() || !(box.span > 0) || !std::isfinite(box.span)) return;
    surface.SetForeColor(kLineMarkColor);
    for (const LineSet& set : LineSets()) {
        if (!ws.View.LineMarkSets.contains(std::string(set.Key))) continue;
        for (const MarkedLine& line : set.Lines) {
            const double wavelength = MarkWavelength(ws, line);
            if (wavelength < ws.View.PlotLeft || wavelength > ws.View.PlotRight) continue;
            // The curves' mapping, so that a mark meets a curve's tread at its wavelength.
            const auto x = static_cast<float>(box.x0 + box.wCurve * (wavelength - ws.View.PlotLeft) / box.span);
            surface.DashedLine(x, box.y0, x, box.y1);
            surface.CentredText(x, static_cast<float>(box.y0 - kMarkNameRaise), std::string(line.Name));
        }
    }
}

double CurveSpan(const Box& box) {
    const double ySpan = box.yMax - box.yMin;
    return ySpan > 0 && std::isfinite(ySpan) ? ySpan : kFallbackIntensitySpan;
}

CurvePlacement PlacementOf(const Workspace& ws, const Box& box) {
    return {static_cast<double>(box.x0), static_cast<double>(box.wCurve), ws.View.PlotLeft,
            box.span, static_cast<double>(box.y1), static_cast<double>(box.h),
            box.yMin, CurveSpan(box), static_cast<double>(box.x1), static_cast<double>(box.y0)};
}

// Each loaded slot's curve over the pixels in view, cut to the box, then its
// zero-level marker in the margin right of the box; slot 1 first.
void DrawCurves(const Workspace& ws, const Box& box, PlotSurface& surface, PlotLayout& layout) {
    const double curveSpan = CurveSpan(box);
    const bool wavelengthsShown = box.span > 0 && std::isfinite(box.span);
    const CurvePlacement place = PlacementOf(ws, box);
    const double largestFlux = LargestFluxMax(ws);
    const int numSlots = std::clamp(ws.NumSlots, 0, kMaxSlots);
    for (int i = 1; i <= numSlots; ++i) {
        const Row& slot = ws.slot(i);
        if (!slot.Loaded()) continue;
        surface.SetForeColor(slot.SlotColor);

        const CurveValues values{ws.View.ScaleFlux ? slot->Flux : slot->FluxPct,
                                 ws.View.ScaleFlux ? slot->FluxBlocks : slot->PctBlocks,
                                 OffsetShift(ws, slot, largestFlux)};
        const PixelsInView inView = FindPixelsInView(slot, ws.View.PlotLeft, ws.View.PlotRight);
        layout.pixels[static_cast<size_t>(i)] = {inView.first, inView.last};
        if (wavelengthsShown) {
            const DrawnPixels drawn = DrawnPixelsOf(slot, ws.View.PlotLeft, ws.View.PlotRight);
            DrawSteppedCurve(slot, values, drawn.first, drawn.last, inView.startLambda, place, surface);
        }

        // A zero level beyond a fitted or typed range would mark the controls below the box: it is left out.
        const auto y0 = static_cast<float>(box.y1 - box.h * ((0.0 - values.shift) - box.yMin) / curveSpan);
        if (ws.View.Intensity == PlotView::IntensityRange::Automatic || (y0 >= box.y0 && y0 <= box.y1))
            surface.Line(box.x1, y0, box.winWidth, y0);
    }
}

}  // namespace

PlotLayout RedrawPlot(const Workspace& ws, PlotSurface& surface, const PlotArea& area) {
    PlotLayout layout;
    if (!ws.DataReady) return layout;

    Box box{};
    box.span = ws.View.PlotRight - ws.View.PlotLeft;
    const IntensityLimits intensity = IntensityRangeFor(ws);
    box.yMin = intensity.low;
    box.yMax = intensity.high;
    box.winWidth = area.width;
    box.winHeight = area.height;
    box.x0 = 800;
    box.x1 = box.winWidth - 415;
    box.w = box.x1 - box.x0;
    box.wCurve = box.w + 1;
    box.y0 = 300;
    box.y1 = box.winHeight - 850 - kBottomSpare;
    box.h = box.y1 - box.y0;
    layout.x0 = static_cast<int>(box.x0);
    layout.x1 = static_cast<int>(box.x1);
    layout.y0 = static_cast<int>(box.y0);
    layout.y1 = static_cast<int>(box.y1);
    layout.yMin = box.yMin;
    layout.yMax = box.yMax;

    DrawWavelengthAxis(ws, box, surface, layout);
    Place(layout, PlotLabel::WavelengthTitle, area.titleWidth * 0.7, box.winHeight - kBottomSpare - 600,
          XAxisMapping(ws.View).Title());
    DrawIntensityAxis(ws, box, surface, layout);
    DrawBox(box, surface);
    DrawLineMarks(ws, box, surface);
    DrawUncertaintyBands(ws, PlacementOf(ws, box), surface);
    DrawCurves(ws, box, surface, layout);
    DrawMeasuredSpan(ws, layout, surface);
    DrawLegend(ws, layout.x0, layout.x1, layout.y0, surface, layout);
    return layout;
}

}  // namespace wendrel
