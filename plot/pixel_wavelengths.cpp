#include "plot/pixel_wavelengths.h"

#include <functional>

#include "store/rounding.h"

namespace wendrel {

namespace {

// 0 at the start of pixel 1, n at the end of pixel n; in proportion inside a
// pixel, and beyond the edges by the width of the end pixel.
double EdgePosition(const std::vector<double>& edges, double lambda) {
    const auto after = edges.back() > edges.front()
                           ? std::upper_bound(edges.begin(), edges.end(), lambda)
                           : std::upper_bound(edges.begin(), edges.end(), lambda, std::greater<>());
    const auto k = std::clamp<std::ptrdiff_t>(after - edges.begin() - 1, 0, std::ssize(edges) - 2);
    const auto i = static_cast<size_t>(k);
    return static_cast<double>(k) + (lambda - edges[i]) / (edges[i + 1] - edges[i]);
}

}  // namespace

PixelsInView FindPixelsInView(const Slot& s, double plotLeft, double plotRight) {
    PixelsInView v;
    const double n = s.Naxis1;
    v.startLambda = s.LambdaStart;
    if (s.PixelEdge.size() < 2) {
        const double d = s.LambdaEnd - s.LambdaStart;
        if (plotLeft > s.LambdaStart) {
            v.first = RoundHalfEven(1 + n * (plotLeft - s.LambdaStart) / d);
            v.startLambda = plotLeft;
        }
        v.last = plotRight < s.LambdaEnd ? RoundHalfEven((plotRight - s.LambdaStart) / d * n) : RoundHalfEven(n);
        return v;
    }
    if (plotLeft > s.LambdaStart) {
        v.first = RoundHalfEven(1 + EdgePosition(s.PixelEdge, plotLeft));
        v.startLambda = plotLeft;
    }
    v.last = plotRight < s.LambdaEnd ? RoundHalfEven(EdgePosition(s.PixelEdge, plotRight)) : RoundHalfEven(n);
    return v;
}

}  // namespace wendrel
