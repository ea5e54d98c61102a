#include "plot/renderer.h"

#include <algorithm>
#include <cmath>

#include "plot/axis_every.h"
#include "plot/curve_colour.h"
#include "plot/curve_columns.h"
#include "plot/intensity_range.h"
#include "plot/intensity_scale.h"
#include "plot/mark_names.h"
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
// The margins left of the box and right of it (where the zero-level markers go).
constexpr int kLeftMargin = 800, kRightMargin = 415;
// The top of the box without titles or more than one row of line names.
constexpr int kBoxTop = 300;
// The intensity title's top edge, and a window label's height.
constexpr int kTitleTop = 40, kLabelHeight = 240;
// The window's label controls may use a font somewhat larger than the surface's.
constexpr double kWindowLabelWidening = 1.1;
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
    int64_t markerEnd;  // right end of the zero-level markers
};

// A curve's offset in flux, as its zero-level marker names it.
std::string OffsetText(double shift) { return SignificantText(-shift); }

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

// The classic tick labels: in flux three significant digits; in percent the
// automatic range's whole numbers, other ranges as many decimals as tell
// their ticks apart.
std::string ClassicIntensityText(const Workspace& ws, const AxisTicks& ticks, int64_t j) {
    if (ws.View.ScaleFlux) return SignificantText(ticks.Value(j));
    if (ws.View.Intensity == PlotView::IntensityRange::Automatic) return FormatNum(ticks.Value(j), 6, 0);
    return ticks.LabelText(j);
}

// The widest of the classic intensity labels, so that the box keeps clear of them.
double WidestClassicLabel(const Workspace& ws, double yMin, double yMax, const PlotSurface& surface) {
    const AxisTicks ticks = TicksFor(yMax - yMin, yMin, yMax);
    if (!ticks.valid) return 0;
    return std::max(surface.TextWidth(ClassicIntensityText(ws, ticks, ticks.first)),
                    surface.TextWidth(ClassicIntensityText(ws, ticks, ticks.last)));
}

void DrawIntensityAxis(const Workspace& ws, const Box& box, PlotSurface& surface, PlotLayout& layout) {
    const double ySpan = box.yMax - box.yMin;
    const AxisTicks ticks = TicksFor(ySpan, box.yMin, box.yMax);
    const double stepLabelTop = 0.6 * box.h + box.y0;
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
    Place(layout, PlotLabel::IntensityTopTick, 0, yOf(ticks.Value(ticks.last)) - 100,
          ClassicIntensityText(ws, ticks, ticks.last));
    Place(layout, PlotLabel::IntensityBottomTick, 0, yOf(ticks.Value(ticks.first)) - 100,
          ClassicIntensityText(ws, ticks, ticks.first));
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
// zero-level marker in the margin right of the box, in flux with the
// offset's text when the curves are offset; slot 1 first.
void DrawCurves(const Workspace& ws, const Box& box, PlotSurface& surface, PlotLayout& layout) {
    const bool offsetTexts = CurvesOffsetInFlux(ws);
    const double curveSpan = CurveSpan(box);
    const bool wavelengthsShown = box.span > 0 && std::isfinite(box.span);
    const CurvePlacement place = PlacementOf(ws, box);
    const double largestFlux = LargestFluxMax(ws);
    const int numSlots = std::clamp(ws.NumSlots, 0, kMaxSlots);
    for (int i = 1; i <= numSlots; ++i) {
        const Row& slot = ws.slot(i);
        if (!slot.Loaded()) continue;
        surface.SetForeColor(CurveColour(ws, i));

        const CurveValues values{ws.View.ScaleFlux ? slot->Flux : slot->FluxPct,
                                 ws.View.ScaleFlux ? slot->FluxBlocks : slot->PctBlocks,
                                 OffsetShift(ws, slot, largestFlux)};
        const PixelsInView inView = FindPixelsInView(slot, ws.View.PlotLeft, ws.View.PlotRight);
        layout.pixels[static_cast<size_t>(i)] = {inView.first, inView.last};
        if (wavelengthsShown) {
            const DrawnPixels drawn = DrawnPixelsOf(slot, ws.View.PlotLeft, ws.View.PlotRight);
            surface.SetLineWidth(ws.View.Look.LineWidth);
            DrawSteppedCurve(slot, values, drawn.first, drawn.last, inView.startLambda, place, surface);
            surface.SetLineWidth(1);
        }

        // A zero level beyond a fitted or typed range would mark the controls below the box: it is left out.
        const auto y0 = static_cast<float>(box.y1 - box.h * ((0.0 - values.shift) - box.yMin) / curveSpan);
        if (ws.View.Intensity != PlotView::IntensityRange::Automatic && (y0 < box.y0 || y0 > box.y1)) continue;
        surface.Line(box.x1, y0, box.markerEnd, y0);
        if (offsetTexts && slot.Offset != 0) {
            const std::string text = OffsetText(values.shift);
            surface.CentredText(static_cast<float>(box.x1 + 60 + surface.TextWidth(text) / 2),
                                static_cast<float>(y0 - surface.TextDescent() - 20), text);
        }
    }
}

}  // namespace

PlotLayout RedrawPlot(const Workspace& ws, PlotSurface& surface, const PlotArea& area) {
    PlotLayout layout;
    if (!ws.DataReady) return layout;
    const bool every = ws.View.Look.AxisLabels == PlotLook::Axes::Every;

    Box box{};
    box.span = ws.View.PlotRight - ws.View.PlotLeft;
    const IntensityLimits intensity = IntensityRangeFor(ws);
    box.yMin = intensity.low;
    box.yMax = intensity.high;
    box.winWidth = area.width;
    box.winHeight = area.height;
    box.y1 = box.winHeight - 850 - kBottomSpare;

    // Left: room for the widest intensity label; right: for the zero-level
    // markers' offset texts and an outside legend.
    const AxisLabelling everyIntensity =
        every ? IntensityLabelling(box.yMin, box.yMax, static_cast<double>(box.y1 - kBoxTop)) : AxisLabelling{};
    const double widestLabel = every ? WidestLabel(everyIntensity, surface) + kAxisLabelGap
                                     : kWindowLabelWidening * WidestClassicLabel(ws, box.yMin, box.yMax, surface);
    box.x0 = std::max<int64_t>(kLeftMargin, static_cast<int64_t>(std::ceil(widestLabel + 60)));
    double rightMargin = kRightMargin;
    if (CurvesOffsetInFlux(ws))
        for (int i = 1; i <= kMaxSlots; ++i)
            if (ws.slot(i).Loaded() && ws.slot(i).Offset != 0)
                rightMargin = std::max(rightMargin, surface.TextWidth(OffsetText(ws.slot(i).Offset * LargestFluxMax(ws) / 100)) + 120);
    const LegendSize legendSize = MeasureLegend(ws, surface);
    const bool legendOutside = ws.View.Look.LegendOutside && legendSize.width > 0;
    box.x1 = box.winWidth - static_cast<int64_t>(std::ceil(rightMargin)) -
             (legendOutside ? static_cast<int64_t>(std::ceil(legendSize.width)) + 2 * kLegendOutsideGap : 0);
    box.x1 = std::max(box.x1, box.x0 + 1);
    box.markerEnd = legendOutside ? box.x1 + static_cast<int64_t>(rightMargin) : box.winWidth;
    box.w = box.x1 - box.x0;
    box.wCurve = box.w + 1;

    // Top: the intensity title's row, then the rows of line names.
    const std::string intensityTitle = every ? IntensityTitle(ws) : ws.View.ScaleFlux ? IntensityTitle(ws) : "";
    const MarkNamePlan marks = PlanMarkNames(ws, static_cast<double>(box.x0), static_cast<double>(box.wCurve), surface);
    const double rowHeight = MarkNameRowHeight(surface);
    double top = kBoxTop + rowHeight * std::max(0, marks.rows.rowsUsed - 1);
    if (!intensityTitle.empty()) top += kLabelHeight;
    box.y0 = static_cast<int64_t>(std::ceil(top));
    box.h = box.y1 - box.y0;
    layout.x0 = static_cast<int>(box.x0);
    layout.x1 = static_cast<int>(box.x1);
    layout.y0 = static_cast<int>(box.y0);
    layout.y1 = static_cast<int>(box.y1);
    layout.yMin = box.yMin;
    layout.yMax = box.yMax;

    if (every) {
        for (PlotLabel label : kPlotLabels) Place(layout, label, 0, 0, "");
        const AxesFrame frame{double(box.x0), double(box.x1),     double(box.y0),     double(box.y1), double(box.wCurve),
                              ws.View.PlotLeft, ws.View.PlotRight, box.yMin, box.yMax};
        layout.textBottom = DrawEveryTickAxes(ws, frame, everyIntensity, static_cast<double>(box.x0),
                                              kTitleTop + surface.TextAscent(), surface);
    } else {
        DrawWavelengthAxis(ws, box, surface, layout);
        Place(layout, PlotLabel::WavelengthTitle, area.titleWidth * 0.7, box.winHeight - kBottomSpare - 600,
              XAxisMapping(ws.View).Title());
        DrawIntensityAxis(ws, box, surface, layout);
        Place(layout, PlotLabel::IntensityTitle, intensityTitle.empty() ? 0 : static_cast<double>(box.x0),
              intensityTitle.empty() ? 0 : kTitleTop, intensityTitle);
    }
    DrawBox(box, surface);
    DrawMarkNames(marks, static_cast<double>(box.y0), static_cast<double>(box.y1), surface);
    const bool legendInCorner = legendSize.width > 0 && !ws.View.Look.LegendOutside && !ws.View.Look.LegendMoved;
    const double cell = surface.TwipsPerColumn() > 0 ? surface.TwipsPerColumn() : 15;
    CurveColumnRecorder recorder(surface, cell);
    DrawUncertaintyBands(ws, PlacementOf(ws, box), surface);
    DrawCurves(ws, box, legendInCorner ? static_cast<PlotSurface&>(recorder) : surface, layout);
    DrawMeasuredSpan(ws, layout, surface);
    if (legendSize.width > 0) {
        const double outsideLeft = static_cast<double>(box.x1) + rightMargin + kLegendOutsideGap;
        DrawLegend(ws, PlaceLegend(ws.View, legendSize, layout, outsideLeft, recorder.Columns(), cell), surface, layout);
    }
    return layout;
}

}  // namespace wendrel
