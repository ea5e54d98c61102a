#include "analysis/varying_gaussian.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace wendrel {

namespace {

// exp(-s / 2) for 0 <= s <= 16 (a reach of 4 sigma) as exp(-s / 32)^16: the
// Taylor series of exp about -1/4 to the 11th power, whose error at the range's
// ends is 1e-16, then four squarings. Within 4e-15 of std::exp, and written
// so that the vectoriser runs it on four pixels at once; the polynomial is
// summed in pairs of terms (Estrin's scheme), which lets neighbouring pixels'
// sums overlap where Horner's rule would wait on each step.
inline double GaussianOfSquare(double s) {
    constexpr double kCentre = 0.7788007830714049;  // exp(-1/4)
    constexpr double c[12] = {1, 1, 1.0 / 2, 1.0 / 6, 1.0 / 24, 1.0 / 120, 1.0 / 720, 1.0 / 5040, 1.0 / 40320,
                              1.0 / 362880, 1.0 / 3628800, 1.0 / 39916800};
    const double y = 0.25 - s * (1.0 / 32);
    const double y2 = y * y, y4 = y2 * y2, y8 = y4 * y4;
    const double low = (c[0] + c[1] * y) + (c[2] + c[3] * y) * y2 + ((c[4] + c[5] * y) + (c[6] + c[7] * y) * y2) * y4;
    const double high = (c[8] + c[9] * y) + (c[10] + c[11] * y) * y2;
    double e = kCentre * (low + high * y8);
    e *= e;
    e *= e;
    e *= e;
    return e * e;
}

struct WindowSums {
    double Weight = 0, WeightedFlux = 0, WeightedVariance = 0;
};

// A weight serves both pixels of its pair: pixel i's weights on i + 1 ..
// i + count (x, flux, sigma and the running sums start at i + 1) are summed
// into i's sums and added to those pixels' running sums (weight, weightedFlux
// and, with sigma, weightedVariance), which so gather all they take from the
// pixels below them. Pixel i is not blank; a blank pixel above it takes no
// weight in i's sums, and its own running sums are unused. (The running sums
// are parameters of their own, where the compiler is sure they overlap nothing.)
// v - v is 0 for a finite value and NaN otherwise; the quiet comparison lets the loops be vectorised.
inline bool IsFiniteValue(double v) { return v - v == 0; }

#if defined(__x86_64__) && defined(__GNUC__)
// A copy for processors with AVX2 and FMA, chosen when the program starts.
__attribute__((target_clones("arch=x86-64-v3", "default")))
#endif
WindowSums SumsAbove(const double* __restrict x, const double* __restrict flux, const double* __restrict sigma,
                     double* __restrict weightAbove, double* __restrict weightedFluxAbove,
                     double* __restrict weightedVarianceAbove, size_t count, double centre, double inverseSigma,
                     double ownFlux, double ownVariance) {
    double weight = 0, weightedFlux = 0, weightedVariance = 0;
    if (sigma) {
#pragma omp simd reduction(+ : weight, weightedFlux, weightedVariance)
        for (size_t k = 0; k < count; ++k) {
            const double t = (x[k] - centre) * inverseSigma;
            const double g = GaussianOfSquare(t * t);
            const double fk = flux[k], vk = sigma[k] * sigma[k];
            const bool live = IsFiniteValue(fk);
            const double w = live ? g : 0, f = live ? fk : 0, v = live ? vk : 0;
            weight += w;
            weightedFlux += w * f;
            weightedVariance += w * w * v;
            weightAbove[k] += g;
            weightedFluxAbove[k] += g * ownFlux;
            weightedVarianceAbove[k] += g * g * ownVariance;
        }
    } else {
#pragma omp simd reduction(+ : weight, weightedFlux)
        for (size_t k = 0; k < count; ++k) {
            const double t = (x[k] - centre) * inverseSigma;
            const double g = GaussianOfSquare(t * t);
            const double fk = flux[k];
            const bool live = IsFiniteValue(fk);
            const double w = live ? g : 0, f = live ? fk : 0;
            weight += w;
            weightedFlux += w * f;
            weightAbove[k] += g;
            weightedFluxAbove[k] += g * ownFlux;
        }
    }
    return {weight, weightedFlux, weightedVariance};
}

// Calls visit(i, first, last) with each pixel's window, whose ends only rise with i.
template <typename Visit>
void ForEachWindow(std::span<const double> x, double reachX, Visit&& visit) {
    const size_t n = x.size();
    size_t first = 0, last = 0;
    for (size_t i = 0; i < n; ++i) {
        while (x[i] - x[first] > reachX) ++first;
        last = std::max(last, i);
        while (last + 1 < n && x[last + 1] - x[i] <= reachX) ++last;
        visit(i, first, last);
    }
}

}  // namespace

void SmoothByVaryingGaussian(const VaryingGaussianInput& in, std::span<double> out, std::span<double> outSigma) {
    const double inverseSigma = 1 / in.SigmaX;
    const bool withSigma = !in.Sigma.empty();
    const size_t n = in.X.size();
    // The running sums start with each pixel's own weight, 1; out and
    // outSigma hold them until the pixel's turn comes.
    std::vector<double> weight(n, 1);
    std::copy(in.Flux.begin(), in.Flux.end(), out.begin());
    if (withSigma)
        for (size_t i = 0; i < n; ++i) outSigma[i] = in.Sigma[i] * in.Sigma[i];
    ForEachWindow(in.X, in.ReachX, [&](size_t i, size_t, size_t last) {
        if (!IsFiniteValue(in.Flux[i])) {
            out[i] = NAN;
            if (withSigma) outSigma[i] = NAN;
            return;
        }
        const size_t j = i + 1;
        const WindowSums s = SumsAbove(in.X.data() + j, in.Flux.data() + j, withSigma ? in.Sigma.data() + j : nullptr,
                                       weight.data() + j, out.data() + j, withSigma ? outSigma.data() + j : nullptr,
                                       last - i, in.X[i], inverseSigma, in.Flux[i],
                                       withSigma ? in.Sigma[i] * in.Sigma[i] : 0);
        const double total = weight[i] + s.Weight;
        out[i] = (out[i] + s.WeightedFlux) / total;
        if (withSigma) outSigma[i] = std::sqrt(outSigma[i] + s.WeightedVariance) / total;
    });
}

double VaryingGaussianPairs(std::span<const double> x, double reachX) {
    double pairs = 0;
    ForEachWindow(x, reachX, [&](size_t, size_t first, size_t last) { pairs += static_cast<double>(last - first + 1); });
    return pairs;
}

}  // namespace wendrel
