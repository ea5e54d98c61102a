#include "plot/pixel_wavelengths.h"

#include "store/rounding.h"

namespace wendrel {

namespace {

// 0 at the start of pixel 1, n at the end of pixel n; in proportion inside a
// pixel, and beyond the edges by the width of the end pixel.
double EdgePosition(const std::vector<double>& edges, double lambda) {
    const auto after = std::upper_bound(edges.begin(), edges.end(), lambda);
    const auto k = std::clamp<std::ptrdiff_t>(after - edges.begin() - 1, 0, std::ssize(edges) - 2);
    const auto i = static_cast<size_t>(k);
    return static_cast<double>(k) + (lambda - edges[i]) / (edges[i + 1] - edges[i]);
}

}  // namespace

PixelsInView FindPixelsInView(const Row& s, double plotLeft, double plotRight) {
    PixelsInView v;
    const double n = s->Naxis1;
    const double start = ShiftedStart(s), end = ShiftedEnd(s);
    v.startLambda = start;
    if (s->PixelEdge.size() < 2) {
        const double d = end - start;
        if (plotLeft > start) {
            v.first = RoundHalfEven(1 + n * (plotLeft - start) / d);
            v.startLambda = plotLeft;
        }
        v.last = plotRight < end ? RoundHalfEven((plotRight - start) / d * n) : RoundHalfEven(n);
        return v;
    }
    // The edges are the file's wavelengths: the view is taken back to them.
    if (plotLeft > start) {
        v.first = RoundHalfEven(1 + EdgePosition(s->PixelEdge, ObservedWavelength(s, plotLeft)));
        v.startLambda = plotLeft;
    }
    v.last = plotRight < end ? RoundHalfEven(EdgePosition(s->PixelEdge, ObservedWavelength(s, plotRight)))
                             : RoundHalfEven(n);
    return v;
}

}  // namespace wendrel
