#include "plot/uncertainty_band.h"

#include <algorithm>
#include <cmath>

#include "plot/device_column.h"
#include "plot/intensity_scale.h"
#include "plot/pixel_wavelengths.h"
#include "store/rounding.h"

namespace wendrel {

namespace {

// Intensity and wavelength to twips, as the curves map them.
struct BandMap {
    const CurvePlacement& place;
    double shift;
    double Y(double value) const {
        return place.boxBottom - place.boxHeight * ((value - shift) - place.yMin) / place.ySpan;
    }
    double X(double lambda) const { return place.boxLeft + place.curveWidth * (lambda - place.plotLeft) / place.plotSpan; }
    double Lambda(double x) const { return place.plotLeft + (x - place.boxLeft) * place.plotSpan / place.curveWidth; }
};

// Fills x1 .. x2 across between the band's extent, cut to the box.
void FillExtent(const BandMap& map, const ValueExtent& extent, double x1, double x2, PlotSurface& surface) {
    if (!(extent.low <= extent.high)) return;
    const CurvePlacement& p = map.place;
    const double top = std::max(map.Y(extent.high), p.boxTop), bottom = std::min(map.Y(extent.low), p.boxBottom);
    const double left = std::max(x1, p.boxLeft), right = std::min(x2, p.boxRight);
    if (!(top <= bottom) || !(left <= right)) return;
    surface.FillRect(static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
                     static_cast<float>(bottom));
}

void DrawByPixels(const Row& slot, const BandValues& band, const BandMap& map, int64_t pixels, PlotSurface& surface) {
    const CurvePlacement& p = map.place;
    const int64_t first = FirstPixelEndingAt(slot, pixels, map.Lambda(p.boxLeft), true);
    for (int64_t k = first; k <= pixels; ++k) {
        const double x1 = map.X(PixelEndLambda(slot, k - 1));
        if (x1 > p.boxRight) break;
        FillExtent(map, BandExtentOf(band, k - 1, k), x1, map.X(PixelEndLambda(slot, k)), surface);
    }
}

// FirstPixelEndingAt(slot, n, lambda, true) when pixels before `from` all end
// at or before lambda: bracketed by steps that double out from `guess`, then
// halved, so that a good guess costs only a few pixel ends.
int64_t FirstPixelEndingAfter(const Row& slot, int64_t n, double lambda, int64_t from, int64_t guess) {
    const auto before = [&](int64_t q) { return PixelEndLambda(slot, q) <= lambda; };
    int64_t known = from - 1, beyond = n + 1;  // known ends at or before lambda; beyond does not (or is past n)
    guess = std::clamp(guess, from, n);
    if (before(guess)) {
        known = guess;
        for (int64_t step = 1; known + step < beyond; step *= 2) {
            if (!before(known + step)) {
                beyond = known + step;
                break;
            }
            known += step;
        }
    } else {
        beyond = guess;
        for (int64_t step = 1; beyond - step > known; step *= 2) {
            if (before(beyond - step)) {
                known = beyond - step;
                break;
            }
            beyond -= step;
        }
    }
    while (beyond - known > 1) {
        const int64_t middle = known + (beyond - known) / 2;
        (before(middle) ? known : beyond) = middle;
    }
    return beyond;
}

// Column j covers j * width .. (j + 1) * width; the pixels it meets are those
// from the first ending after its left edge to the first ending at or past
// its right edge. Each column's boundary pixel is found once, near where the
// mean pixel step puts it.
void DrawByColumns(const Row& slot, const BandValues& band, const BandMap& map, int64_t pixels, double width,
                   PlotSurface& surface) {
    const CurvePlacement& p = map.place;
    const double perColumn = width * p.plotSpan / (p.curveWidth * std::abs(slot->DLambda));
    const auto run = static_cast<int64_t>(std::isfinite(perColumn) ? std::clamp(perColumn, 0.0, 0x1p40) : 0.0);
    const int64_t firstColumn = DeviceColumn(static_cast<float>(p.boxLeft), width);
    const int64_t lastColumn = DeviceColumn(static_cast<float>(p.boxRight), width);
    const double slotStart = map.X(PixelEndLambda(slot, 0)), slotEnd = map.X(PixelEndLambda(slot, pixels));
    int64_t from = FirstPixelEndingAt(slot, pixels, map.Lambda(static_cast<double>(firstColumn) * width), true);
    for (int64_t j = firstColumn; j <= lastColumn && from <= pixels; ++j) {
        const double left = static_cast<double>(j) * width, right = left + width;
        const int64_t next = FirstPixelEndingAfter(slot, pixels, map.Lambda(right), from, from + run);
        if (right > slotStart && left < slotEnd) {
            const double middle = std::clamp(left + width / 2, p.boxLeft, p.boxRight);
            FillExtent(map, BandExtentOf(band, from - 1, std::min(next, pixels)), middle, middle, surface);
        }
        from = next;
    }
}

}  // namespace

int32_t BandTint(int32_t color) {
    int32_t tint = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int channel = (color >> shift) & 255;
        tint |= ((3 * channel + 7 * 255 + 5) / 10) << shift;
    }
    return tint;
}

void DrawUncertaintyBand(const Row& slot, const BandValues& band, double shift, const CurvePlacement& place,
                         PlotSurface& surface) {
    const auto pixels = std::min<int64_t>(RoundHalfEven(slot->Naxis1), std::ssize(band.flux));
    if (pixels < 1 || band.sigma.empty() || !(place.plotSpan > 0) || !std::isfinite(place.plotSpan) ||
        !(place.curveWidth > 0) || !(place.ySpan > 0) || !std::isfinite(place.ySpan))
        return;
    const BandMap map{place, shift};
    const double width = surface.TwipsPerColumn();
    if (width > 0 && std::isfinite(width))
        DrawByColumns(slot, band, map, pixels, width, surface);
    else
        DrawByPixels(slot, band, map, pixels, surface);
}

void DrawUncertaintyBands(const Workspace& ws, const CurvePlacement& place, PlotSurface& surface) {
    if (!ws.View.ShowUncertainties) return;
    const double largestFlux = LargestFluxMax(ws);
    for (int i = 1; i <= std::clamp(ws.NumSlots, 0, kMaxSlots); ++i) {
        const Row& slot = ws.slot(i);
        if (!slot.Loaded() || slot->Sigma.empty()) continue;
        surface.SetForeColor(BandTint(slot.SlotColor));
        DrawUncertaintyBand(slot, BandValuesOf(slot.spectrum(), ws.View.ScaleFlux), OffsetShift(ws, slot, largestFlux),
                            place, surface);
    }
}

}  // namespace wendrel
