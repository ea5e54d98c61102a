#include "plot/line_measure.h"

#include <algorithm>
#include <cmath>
#include <ranges>
#include <tuple>
#include <vector>

#include "plot/pixel_wavelengths.h"

namespace wendrel {

namespace {

// The first pixel p of 1 .. n whose end lies beyond `lambda` (strictly, or
// also on it), n + 1 when none does.
int64_t FirstEndingBeyond(const Slot& s, int64_t n, double lambda, bool strictly) {
    const auto pixels = std::views::iota(int64_t{1}, n + 1);
    const auto found = std::ranges::partition_point(pixels, [&](int64_t p) {
        const double end = PixelEndLambda(s, p);
        return strictly ? end <= lambda : end < lambda;
    });
    return 1 + (found - pixels.begin());
}

}  // namespace

LineMeasurement MeasureLine(const Slot& s, double left, double right) {
    LineMeasurement m;
    const int64_t n = std::ssize(s.Flux);
    m.Left = std::max(std::min(left, right), ShiftedStart(s));
    m.Right = std::min(std::max(left, right), ShiftedEnd(s));
    const std::string refused = "The span cannot be measured on " + s.FileName + ": ";
    if (n > 0 && m.Left < m.Right) {
        // An end on the edge between two pixels belongs to the pixel inside the span.
        m.FirstPixel = FirstEndingBeyond(s, n, m.Left, true);
        m.LastPixel = std::min(FirstEndingBeyond(s, n, m.Right, false), n);
    }
    if (m.LastPixel - m.FirstPixel + 1 < 3 || !(m.Left < m.Right)) {
        m.Refusal = refused + "it holds fewer than 3 pixels.";
        return m;
    }
    const auto flux = [&](int64_t p) { return s.Flux[static_cast<size_t>(p - 1)]; };
    const auto centre = [&](int64_t p) { return RestWavelength(s, ObservedPixelCentre(s, p)); };
    for (int64_t p = m.FirstPixel; p <= m.LastPixel; ++p) {
        if (!std::isfinite(flux(p))) {
            m.Refusal = refused + "it holds blank pixels.";
            return m;
        }
    }
    std::tie(m.FromLambda, m.FromFlux) = std::pair(centre(m.FirstPixel), flux(m.FirstPixel));
    std::tie(m.ToLambda, m.ToFlux) = std::pair(centre(m.LastPixel), flux(m.LastPixel));

    std::vector<double> above;  // F - Fc of each pixel, from FirstPixel on
    double moment = 0, ew = 0;
    bool continuumPositive = true;
    for (int64_t p = m.FirstPixel; p <= m.LastPixel; ++p) {
        const double width = std::min(m.Right, PixelEndLambda(s, p)) - std::max(m.Left, PixelEndLambda(s, p - 1));
        const double c = centre(p), fc = m.ContinuumAt(c);
        above.push_back(flux(p) - fc);
        m.Flux += above.back() * width;
        moment += c * above.back() * width;
        ew += (1 - flux(p) / fc) * width;
        continuumPositive = continuumPositive && fc > 0;
    }
    if (m.Flux != 0) m.Centroid = moment / m.Flux;
    if (continuumPositive) m.EquivalentWidth = ew;

    // Heights in the line's own direction, so that a trough is found as a peak.
    const double sign = m.Flux < 0 ? -1 : 1;
    for (double& a : above) a *= sign;
    const auto peak = std::ranges::max_element(above);
    m.Peak = sign * *peak;
    if (!(*peak > 0)) return m;
    const double half = *peak / 2;
    const auto lambdaOf = [&](auto it) { return centre(m.FirstPixel + (it - above.begin())); };
    // Between the last pixel above half the peak and the first one at or below it.
    const auto crossing = [&](auto inside, auto outside) {
        return lambdaOf(inside) + (lambdaOf(outside) - lambdaOf(inside)) * (*inside - half) / (*inside - *outside);
    };
    const auto rightOut = std::find_if(peak, above.end(), [&](double a) { return a <= half; });
    const auto leftOut = std::find_if(std::make_reverse_iterator(peak), above.rend(), [&](double a) { return a <= half; });
    if (rightOut == above.end() || leftOut == above.rend()) return m;
    const double from = crossing(leftOut.base(), leftOut.base() - 1), to = crossing(rightOut - 1, rightOut);
    if (from >= m.Left && to <= m.Right) m.Fwhm = to - from;
    return m;
}

}  // namespace wendrel
