#include "plot/stepped_curve.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/device_column.h"
#include "plot/pixel_wavelengths.h"

namespace wendrel {

namespace {

constexpr float kBlank = std::numeric_limits<float>::quiet_NaN();

// Wavelength and intensity to twips for one slot, with the arithmetic of the
// plot's mapping so that every path of drawing lands on the same coordinates.
class CurveMap {
public:
    CurveMap(const Row& slot, const CurveValues& values, const CurvePlacement& place)
        : slot_(slot), values_(values), place_(place), restFactor_(DrawnFactor(slot)) {}

    float X(double lambda) const {
        return static_cast<float>(place_.boxLeft + place_.curveWidth * (lambda - place_.plotLeft) / place_.plotSpan);
    }
    // x of the right end of pixel p (PixelEndLambda, with the slot's drawn
    // factor computed once).
    float PixelEndX(int64_t p) const { return X(ObservedPixelEnd(slot_.spectrum(), p) / restFactor_); }

    float Level(double value) const {
        return static_cast<float>(place_.boxBottom -
                                  place_.boxHeight * ((value - values_.shift) - place_.yMin) / place_.ySpan);
    }
    // Not finite for a blank pixel or one the slot does not hold.
    double Value(int64_t p) const {
        return p >= 1 && p <= std::ssize(values_.values) ? values_.values[static_cast<size_t>(p - 1)]
                                                         : std::numeric_limits<double>::quiet_NaN();
    }
    float PixelLevel(int64_t p) const {
        const double v = Value(p);
        return std::isfinite(v) ? Level(v) : kBlank;
    }

private:
    const Row& slot_;
    const CurveValues& values_;
    const CurvePlacement& place_;
    double restFactor_;
};

// Cuts the curve's lines, all horizontal or vertical, to the plot box.
class BoxCut {
public:
    explicit BoxCut(const CurvePlacement& place)
        : left_(static_cast<float>(place.boxLeft)), right_(static_cast<float>(place.boxRight)),
          top_(static_cast<float>(place.boxTop)), bottom_(static_cast<float>(place.boxBottom)) {}

    // 0 left of the box, 1 across it, 2 right of it.
    int Side(float x) const { return x < left_ ? 0 : x > right_ ? 2 : 1; }

    void Line(PlotSurface& surface, float xa, float ya, float xb, float yb) const {
        if (ya == yb) {
            if (!(ya >= top_ && ya <= bottom_ && std::max(xa, xb) >= left_ && std::min(xa, xb) <= right_)) return;
            surface.Line(std::clamp(xa, left_, right_), ya, std::clamp(xb, left_, right_), yb);
        } else if (xa == xb) {
            if (!(xa >= left_ && xa <= right_ && std::max(ya, yb) >= top_ && std::min(ya, yb) <= bottom_)) return;
            surface.Line(xa, std::clamp(ya, top_, bottom_), xb, std::clamp(yb, top_, bottom_));
        }
    }

private:
    float left_, right_, top_, bottom_;
};

// The device column of x, a column the box's side crosses split in two, as
// one whole number that grows with x.
int64_t ColumnKey(float x, double columnWidth, const BoxCut& cut) {
    return 3 * DeviceColumn(x, columnWidth) + cut.Side(x);
}

// Draws every segment as it comes.
class DirectSink {
public:
    DirectSink(PlotSurface& surface, const BoxCut& cut) : surface_(surface), cut_(cut) {}
    void Segment(float xa, float ya, float xb, float yb) { cut_.Line(surface_, xa, ya, xb, yb); }
    void Break() {}
    void Finish() {}

private:
    PlotSurface& surface_;
    const BoxCut& cut_;
};

// Collects consecutive, connected horizontal and vertical segments that lie in
// one device column and draws them as a single vertical line over their extent;
// a horizontal segment that crosses columns is drawn as it is. On a surface that
// lights exactly the cells a horizontal or vertical line meets, the picture is
// the one that drawing every segment gives. Break() marks where the chain of
// segments is interrupted (a gap), so nothing is joined across it.
class EnvelopeSink {
public:
    EnvelopeSink(PlotSurface& surface, double twipsPerColumn, const BoxCut& cut)
        : surface_(surface), columnWidth_(twipsPerColumn), cut_(cut) {}

    void Segment(float xa, float ya, float xb, float yb) {
        if (std::isnan(xa) || std::isnan(ya) || std::isnan(xb) || std::isnan(yb)) {
            Break();
            return;
        }
        const int64_t ca = ColumnKey(xa, columnWidth_, cut_);
        const int64_t cb = ColumnKey(xb, columnWidth_, cut_);
        const bool horizontal = ya == yb;
        if (ca == cb && (horizontal || xa == xb)) {
            Add(ca, xa, std::min(ya, yb), std::max(ya, yb), false);
            return;
        }
        if (horizontal) Add(ca, xa, ya, ya, true);
        Flush();
        cut_.Line(surface_, xa, ya, xb, yb);
        if (horizontal) Add(cb, xb, yb, yb, true);
    }
    void Break() { Flush(); }
    void Finish() { Flush(); }

private:
    // `drawn`: the piece lies on a line already drawn.
    void Add(int64_t column, float x, float low, float high, bool drawn) {
        if (!active_ || column != column_) {
            Flush();
            active_ = true;
            column_ = column;
            x_ = x;
            low_ = low;
            high_ = high;
            needsDrawing_ = !drawn;
            return;
        }
        low_ = std::min(low_, low);
        high_ = std::max(high_, high);
        needsDrawing_ = needsDrawing_ || !drawn;
    }
    void Flush() {
        if (active_ && needsDrawing_) cut_.Line(surface_, x_, low_, x_, high_);
        active_ = false;
    }

    PlotSurface& surface_;
    double columnWidth_;
    const BoxCut& cut_;
    bool active_ = false;
    bool needsDrawing_ = false;
    int64_t column_ = 0;
    float x_ = 0, low_ = 0, high_ = 0;
};

// Pixel by pixel, tread then riser; xPrev and yPrev carry the pen from one
// call to the next.
template <class Sink>
void DrawPixels(const CurveMap& map, int64_t from, int64_t to, int64_t pixelCount, float& xPrev, float& yPrev,
                Sink& sink) {
    for (int64_t p = from; p <= to; ++p) {
        const float x = map.PixelEndX(p);
        if (std::isnan(yPrev))
            sink.Break();
        else
            sink.Segment(xPrev, yPrev, x, yPrev);
        xPrev = x;
        if (p == pixelCount) return;
        const float yNext = map.PixelLevel(p + 1);
        if (std::isnan(yPrev) || std::isnan(yNext))
            sink.Break();
        else
            sink.Segment(x, yPrev, x, yNext);
        yPrev = yNext;
    }
}

// The envelope drawing for a curve whose x grows with the pixel number: finds
// where each device column's run of pixels ends by probing near the expected
// run length, so only a few x positions per column are computed, and takes
// each run's extremes from its value blocks.
void DrawByColumns(const CurveMap& map, const Row& slot, const CurveValues& values, const CurvePlacement& place,
                   const BoxCut& cut, int64_t first, int64_t last, int64_t pixelCount, float xStart,
                   double columnWidth, EnvelopeSink& sink) {
    const auto columnOf = [&](int64_t p) { return ColumnKey(map.PixelEndX(p), columnWidth, cut); };
    // On a scale that is not linear DLambda is the mean step, so this is only
    // a first guess; the probes below find each run's true end.
    const double pixelsPerColumn = columnWidth * place.plotSpan / (place.curveWidth * slot->DLambda);
    const auto expectedRun = static_cast<int64_t>(std::clamp(pixelsPerColumn, 1.0, 0x1p40));
    const auto storedPixels = std::ssize(values.values);
    float xPrev = xStart;
    int64_t a = first;
    while (a <= last) {
        // Bracket the run's last pixel b: inColumn <= b < beyond.
        const int64_t column = columnOf(a);
        int64_t inColumn = a;
        int64_t beyond = last + 1;
        const int64_t guess = std::min(a + expectedRun - 1, last);
        if (guess > a) (columnOf(guess) == column ? inColumn : beyond) = guess;
        if (inColumn == guess) {
            for (int64_t stride = 1; inColumn + stride < beyond; stride *= 2) {
                if (columnOf(inColumn + stride) != column) {
                    beyond = inColumn + stride;
                    break;
                }
                inColumn += stride;
            }
        } else {
            for (int64_t stride = 1; beyond - stride > inColumn; stride *= 2) {
                if (columnOf(beyond - stride) == column) {
                    inColumn = beyond - stride;
                    break;
                }
                beyond -= stride;
            }
        }
        while (beyond - inColumn > 1) {
            const int64_t mid = inColumn + (beyond - inColumn) / 2;
            (columnOf(mid) == column ? inColumn : beyond) = mid;
        }
        const int64_t b = inColumn;
        // The values read at the ends of runs lie far apart; asking for those
        // a few runs ahead early hides most of the wait for them.
        if (const int64_t ahead = b + 4 * expectedRun; ahead < storedPixels)
            __builtin_prefetch(values.values.data() + ahead);

        // The run's treads and the risers after each of its pixels reach the
        // levels of pixels a .. b + 1 (a .. b when b is the slot's last pixel).
        const int64_t reach = b == pixelCount ? b : b + 1;
        const ValueExtent extent = reach <= storedPixels ? ExtentOf(values.values, values.blocks, a - 1, reach)
                                                         : ValueExtent{0, 0, true};
        if (extent.blank) {
            float yPrev = map.PixelLevel(a);
            DrawPixels(map, a, b, pixelCount, xPrev, yPrev, sink);
        } else {
            const float xa = map.PixelEndX(a);
            const float ya = map.Level(map.Value(a));
            sink.Segment(xPrev, ya, xa, ya);
            // The level mapping is monotonic, so the extreme values give the extreme levels.
            const float y1 = map.Level(extent.low);
            const float y2 = map.Level(extent.high);
            sink.Segment(xa, std::min(y1, y2), xa, std::max(y1, y2));
            xPrev = map.PixelEndX(b);
        }
        a = b + 1;
    }
}

}  // namespace

void DrawSteppedCurve(const Row& slot, const CurveValues& values, int64_t first, int64_t last,
                      double startLambda, const CurvePlacement& place, PlotSurface& surface) {
    if (first > last) return;
    const CurveMap map(slot, values, place);
    const BoxCut cut(place);
    const auto pixelCount = static_cast<int64_t>(slot->Naxis1);
    float xPrev = map.X(startLambda);
    float yPrev = map.PixelLevel(first);

    const double columnWidth = surface.TwipsPerColumn();
    if (!(columnWidth > 0)) {
        DirectSink sink(surface, cut);
        DrawPixels(map, first, last, pixelCount, xPrev, yPrev, sink);
        return;
    }
    EnvelopeSink sink(surface, columnWidth, cut);
    // Pixel edges run strictly one way, so a positive (mean) step means they rise.
    const bool xGrowsWithPixel = slot->DLambda > 0 && std::isfinite(slot->DLambda) &&
                                 std::isfinite(slot->LambdaStart) && place.curveWidth > 0 &&
                                 place.plotSpan > 0 && std::isfinite(place.plotSpan) &&
                                 std::isfinite(place.plotLeft) && std::isfinite(columnWidth);
    if (xGrowsWithPixel)
        DrawByColumns(map, slot, values, place, cut, first, last, pixelCount, xPrev, columnWidth, sink);
    else
        DrawPixels(map, first, last, pixelCount, xPrev, yPrev, sink);
    sink.Finish();
}

}  // namespace wendrel
