#include "plot/axis_every.h"

#include <algorithm>
#include <cmath>

#include "plot/intensity_scale.h"
#include "plot/number_format.h"
#include "plot/renderer.h"
#include "plot/x_axis_mapping.h"

namespace wendrel {

namespace {

constexpr double kMajorTick = 100, kMinorTick = 50;
// Room per major tick asked of LabelAxis, in twips of the axis.
constexpr double kWavelengthTickRoom = 700, kIntensityTickRoom = 400;

int MaxTicks(double axisTwips, double room) {
    return static_cast<int>(std::clamp(std::floor(axisTwips / room), 2.0, 1000.0));
}

}  // namespace

bool CurvesOffsetInFlux(const Workspace& ws) {
    if (!ws.View.ScaleFlux || !ws.View.Look.StackCurves) return false;
    for (int i = 1; i <= kMaxSlots; ++i)
        if (ws.slot(i).Loaded() && ws.slot(i).Offset != 0) return true;
    return false;
}

std::string WavelengthTitle(const Workspace& ws) {
    bool shifted = false;
    for (int i = 1; i <= kMaxSlots; ++i) shifted = shifted || (ws.slot(i).Loaded() && ws.slot(i).Velocity != 0);
    const std::string frame = shifted ? ", rest frame of each row" : "";
    if (ws.View.VelocityRestLambda > 0)
        return "Velocity (km/s) about " +
               (RestPerRow(ws.View) ? std::string("each row's line")
                                    : WithoutLeadingBlanks(PlainNumberText(ws.View.VelocityRestLambda)) + " Å") +
               frame;
    const std::string unit = ws.View.XUnit == WavelengthUnit::Angstrom ? "Å" : std::string(ShownUnitName(ws.View.XUnit));
    return "Wavelength (" + unit + ")" + frame;
}

std::string IntensityTitle(const Workspace& ws) {
    if (!ws.View.ScaleFlux) return "Percent of continuum";
    return FluxTitle(ws) + (CurvesOffsetInFlux(ws) ? ", curves offset" : "");
}

AxisLabelling IntensityLabelling(double yMin, double yMax, double boxHeight) {
    if (!(yMin < yMax) || !std::isfinite(yMax - yMin)) return {};
    return LabelAxis(yMin, yMax, MaxTicks(boxHeight, kIntensityTickRoom));
}

double WidestLabel(const AxisLabelling& axis, const PlotSurface& surface) {
    double widest = 0;
    for (const AxisTick& tick : axis.major) widest = std::max(widest, surface.TextWidth(tick.text));
    return widest;
}

double DrawEveryTickAxes(const Workspace& ws, const AxesFrame& f, const AxisLabelling& intensity, double titleLeft,
                         double titleBaseline, PlotSurface& surface) {
    const double ascent = surface.TextAscent(), descent = surface.TextDescent();
    const double w = f.x1 - f.x0, h = f.y1 - f.y0;
    // The wavelength axis is labelled in the view's unit or in velocities (plot/x_axis_mapping.h).
    const XAxisMapping mapping(ws.View);
    const double left = mapping.Axis(f.left), right = mapping.Axis(f.right);
    const double span = right - left, ySpan = f.yMax - f.yMin;
    const auto ticks = [&](bool vertical, double at, double length) {
        const auto a = static_cast<float>(at);
        if (vertical) {
            surface.Line(a, f.y0, a, f.y0 + length);
            surface.Line(a, f.y1 - length, a, f.y1);
        } else {
            surface.Line(f.x0, a, f.x0 + length, a);
            surface.Line(f.x1 - length, a, f.x1, a);
        }
    };

    // Wavelengths: grid at the major ticks, labels centred below them.
    AxisLabelling waves;
    if (span > 0 && std::isfinite(span)) waves = LabelAxis(left, right, MaxTicks(w, kWavelengthTickRoom));
    const double labelBaseline = f.y1 + std::max(kAxisLabelGap, (ascent + descent) / 2 + 20) + ascent;
    if (waves.valid) {
        const auto xOf = [&](double v) { return f.x0 + f.curveWidth * (v - left) / span; };
        const auto widthOf = [&surface](std::string_view t) { return surface.TextWidth(std::string(t)); };
        const int64_t stride = LabelStride(waves, left, right, f.curveWidth, widthOf, kAxisLabelGap);
        for (const AxisTick& tick : waves.major) {
            const double x = xOf(tick.value);
            surface.SetForeColor(kGridColor);
            surface.Line(static_cast<float>(x), f.y0, static_cast<float>(x), f.y1);
            surface.SetForeColor(kBoxColor);
            ticks(true, x, kMajorTick);
            if (tick.index % stride == 0)
                surface.CentredText(static_cast<float>(x), static_cast<float>(labelBaseline), tick.text);
        }
        for (double v : waves.minor) ticks(true, xOf(v), kMinorTick);
    }
    surface.SetForeColor(kBoxColor);
    const double titleY = labelBaseline + descent + kAxisLabelGap / 2 + ascent;
    surface.CentredText(static_cast<float>((f.x0 + f.x1) / 2), static_cast<float>(titleY),
                        WavelengthTitle(ws) + (waves.valid ? waves.titleSuffix : ""));

    // Intensities: labels right-aligned left of the box, centred on their ticks.
    if (intensity.valid && ySpan > 0) {
        const auto yOf = [&](double v) { return f.y1 - h * (v - f.yMin) / ySpan; };
        const double textHeight = ascent + descent;
        const auto heightOf = [textHeight](std::string_view) { return textHeight; };
        const int64_t stride = LabelStride(intensity, f.yMin, f.yMax, h, heightOf, kAxisLabelGap / 2);
        for (const AxisTick& tick : intensity.major) {
            const double y = yOf(tick.value);
            surface.SetForeColor(kGridColor);
            surface.Line(f.x0, static_cast<float>(y), f.x1, static_cast<float>(y));
            surface.SetForeColor(kBoxColor);
            ticks(false, y, kMajorTick);
            if (tick.index % stride != 0) continue;
            const double x = f.x0 - kAxisLabelGap - surface.TextWidth(tick.text) / 2;
            surface.CentredText(static_cast<float>(x), static_cast<float>(y + (ascent - descent) / 2), tick.text);
        }
        for (double v : intensity.minor) ticks(false, yOf(v), kMinorTick);
    }
    surface.SetForeColor(kBoxColor);
    const std::string title = IntensityTitle(ws) + (intensity.valid ? intensity.titleSuffix : "");
    surface.CentredText(static_cast<float>(titleLeft + surface.TextWidth(title) / 2), static_cast<float>(titleBaseline),
                        title);
    return titleY + descent;
}

}  // namespace wendrel
