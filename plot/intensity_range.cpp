#include "plot/intensity_range.h"

#include <algorithm>
#include <cmath>

#include "plot/intensity_scale.h"
#include "plot/pixel_wavelengths.h"
#include "store/band_blocks.h"
#include "store/rounding.h"

namespace wendrel {

namespace {

constexpr double kFitMargin = 0.05;

int LastSlot(const Workspace& ws) { return std::clamp(ws.NumSlots, 0, kMaxSlots); }

IntensityLimits AutomaticRange(const Workspace& ws) {
    if (!ws.View.ScaleFlux) return {0, FindYMax(ws)};
    const double largest = LargestFluxMax(ws);
    double top = -9999;
    for (int i = 1; i <= LastSlot(ws); ++i) {
        const Row& s = ws.slot(i);
        if (s.Loaded()) top = std::max(top, s->FluxMax - OffsetShift(ws, s, largest));
    }
    return {0, top};
}

}  // namespace

double FindYMax(const Workspace& ws) {
    double result = -9999;
    for (int i = 1; i <= LastSlot(ws); ++i) {
        const Row& slot = ws.slot(i);
        const int offset = ws.View.Look.StackCurves ? slot.Offset : 0;
        if (slot.Loaded() && result < slot->PctMax - offset) result = slot->PctMax - offset;
    }
    return result;
}

DrawnPixels DrawnPixelsOf(const Row& s, double plotLeft, double plotRight) {
    const PixelsInView inView = FindPixelsInView(s, plotLeft, plotRight);
    return {std::max<int64_t>(inView.first, 1), std::min(inView.last, RoundHalfEven(s->Naxis1))};
}

IntensityLimits IntensityRangeFor(const Workspace& ws) {
    if (ws.View.Intensity == PlotView::IntensityRange::Fixed) return {ws.View.IntensityLow, ws.View.IntensityHigh};
    if (ws.View.Intensity == PlotView::IntensityRange::Automatic || !(ws.View.PlotRight > ws.View.PlotLeft))
        return AutomaticRange(ws);
    const double largest = LargestFluxMax(ws);
    ValueExtent all;
    for (int i = 1; i <= LastSlot(ws); ++i) {
        const Row& s = ws.slot(i);
        if (!s.Loaded()) continue;
        const std::vector<double>& values = ws.View.ScaleFlux ? s->Flux : s->FluxPct;
        const DrawnPixels drawn = DrawnPixelsOf(s, ws.View.PlotLeft, ws.View.PlotRight);
        const int64_t last = std::min(drawn.last, std::ssize(values));
        if (drawn.first > last) continue;
        ValueExtent extent = ExtentOf(values, ws.View.ScaleFlux ? s->FluxBlocks : s->PctBlocks, drawn.first - 1, last);
        if (ws.View.ShowUncertainties)
            extent += BandExtentOf(BandValuesOf(s.spectrum(), ws.View.ScaleFlux), drawn.first - 1, last);
        const double shift = OffsetShift(ws, s, largest);
        extent.low -= shift;
        extent.high -= shift;
        all += extent;
    }
    if (!(all.low <= all.high)) return AutomaticRange(ws);
    const double span = all.high - all.low;
    const double margin = span > 0 ? kFitMargin * span : all.low != 0 ? kFitMargin * std::abs(all.low) : 1;
    return {all.low - margin, all.high + margin};
}

}  // namespace wendrel
