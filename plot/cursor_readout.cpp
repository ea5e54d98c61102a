#include "plot/cursor_readout.h"

#include "plot/plot_legend.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "plot/intensity_scale.h"
#include "plot/number_format.h"
#include "plot/pixel_wavelengths.h"
#include "plot/readout_digits.h"
#include "plot/x_axis_mapping.h"

namespace wendrel {

namespace {

std::string Fixed(double value, int decimals) {
    char buf[400];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals).ptr;
    return {buf, end};
}

// The pixel of the slot that holds `wavelength` on the plot's axis (a pixel
// edge belongs to the pixel above it); 0 when none does.
int64_t PixelAt(const Row& s, int64_t n, double wavelength) {
    if (n < 1 || !(wavelength >= PixelEndLambda(s, 0))) return 0;
    const int64_t p = FirstPixelEndingAt(s, n, wavelength, true);
    return p > n ? 0 : p;
}

std::optional<CurvePoint> PointOf(const Workspace& ws, int slot, double wavelength) {
    const Row& s = ws.slot(slot);
    const int64_t n = std::min(std::ssize(ws.View.ScaleFlux ? s->Flux : s->FluxPct), static_cast<int64_t>(s->Naxis1));
    const int64_t p = PixelAt(s, n, wavelength);
    if (p == 0 || !std::isfinite(ShownValue(ws, s, static_cast<size_t>(p - 1)))) return std::nullopt;
    return CurvePoint{slot, p, RestWavelength(s, ObservedPixelCentre(s.spectrum(), p)), ShownValue(ws, s, static_cast<size_t>(p - 1))};
}

}  // namespace

double WavelengthAt(const Workspace& ws, const PlotLayout& layout, double x) {
    if (layout.x1 <= layout.x0) return ws.View.PlotLeft;
    const double inside = std::clamp<double>(x, layout.x0, layout.x1);
    return ws.View.PlotLeft + (ws.View.PlotRight - ws.View.PlotLeft) * (inside - layout.x0) / (layout.x1 - layout.x0);
}

double IntensityAt(const PlotLayout& layout, double y) {
    if (layout.y1 <= layout.y0) return layout.yMin;
    const double inside = std::clamp<double>(y, layout.y0, layout.y1);
    return layout.yMin + (layout.yMax - layout.yMin) * (layout.y1 - inside) / (layout.y1 - layout.y0);
}

CursorReadout ReadCursor(const Workspace& ws, const PlotLayout& layout, float x, float y, double twipsPerPixel) {
    CursorReadout r;
    if (x <= layout.x0 || x >= layout.x1 || y <= layout.y0 || y >= layout.y1) return r;
    r.Inside = true;
    r.Pointer = MousePointer::Cross;
    const double wavelength = WavelengthAt(ws, layout, x);
    const double intensity = IntensityAt(layout, y);
    r.Wavelength = static_cast<float>(wavelength);
    r.Intensity = static_cast<float>(intensity);
    // Narrow views are read from the 64-bit wavelength: 32 bits hold only about 7 digits.
    const XAxisMapping axis(ws.View);
    const double axisValue = axis.Axis(wavelength);
    const double span = std::abs(axis.Axis(ws.View.PlotRight) - axis.Axis(ws.View.PlotLeft));
    const double boxPixels = (layout.x1 - layout.x0) / twipsPerPixel;
    const int decimals = ReadoutDecimals(span, boxPixels);
    r.WavelengthCaption = WavelengthReadoutText(axisValue, span, boxPixels);
    r.IntensityCaption = ws.View.ScaleFlux ? SignificantText(intensity) : FormatNum(r.Intensity, 8, 0);
    if (const auto point = NearestCurve(ws, wavelength, intensity)) {
        r.CurveCaption = CurveCaption(ws, *point, std::max(decimals, 2));
        r.CurveName = LegendName(ws.slot(point->Slot));
        r.CurveSlot = point->Slot;
    }
    return r;
}

std::optional<CurvePoint> NearestCurve(const Workspace& ws, double wavelength, double intensity) {
    const int numSlots = std::clamp(ws.NumSlots, 0, kMaxSlots);
    if (ws.View.PickedSlot >= 1 && ws.View.PickedSlot <= numSlots && ws.slot(ws.View.PickedSlot).Loaded())
        return PointOf(ws, ws.View.PickedSlot, wavelength);
    const double largestFlux = LargestFluxMax(ws);
    std::optional<CurvePoint> nearest;
    double distance = INFINITY;
    for (int i = 1; i <= numSlots; ++i) {
        if (!ws.slot(i).Loaded()) continue;
        const auto point = PointOf(ws, i, wavelength);
        if (!point) continue;
        const double d = std::abs(point->Value - OffsetShift(ws, ws.slot(i), largestFlux) - intensity);
        if (!nearest || d < distance) std::tie(nearest, distance) = std::tuple(point, d);
    }
    return nearest;
}

std::string CurveCaption(const Workspace& ws, const CurvePoint& point, int decimals) {
    const std::string value = ws.View.ScaleFlux ? SignificantText(point.Value) : Fixed(point.Value, 1);
    return LegendName(ws.slot(point.Slot)) + "  " + Fixed(XAxisMapping(ws.View).Axis(point.Centre), decimals) + "  " + value;
}

int LegendSlotAt(const PlotLayout& layout, double x, double y) {
    for (const LegendEntry& e : layout.legend)
        if (x >= e.x0 && x <= e.x1 && y >= e.y0 && y <= e.y1) return e.slot;
    return 0;
}

}  // namespace wendrel
