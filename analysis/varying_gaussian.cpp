#include "analysis/varying_gaussian.h"

#include <algorithm>
#include <cmath>

namespace wendrel {

namespace {

// exp(-s / 2) for 0 <= s <= 16 (a reach of 4 sigma) as exp(-s / 32)^16: the
// Taylor series of exp about -1/4 to the 11th power, whose error at the range's
// ends is 1e-16, then four squarings. Within 4e-15 of std::exp, and written
// so that the vectoriser runs it on four pixels at once.
inline double GaussianOfSquare(double s) {
    constexpr double kCentre = 0.7788007830714049;  // exp(-1/4)
    const double y = 0.25 - s * (1.0 / 32);
    double p = 1.0 / 39916800;  // 1 / 11!
    p = p * y + 1.0 / 3628800;
    p = p * y + 1.0 / 362880;
    p = p * y + 1.0 / 40320;
    p = p * y + 1.0 / 5040;
    p = p * y + 1.0 / 720;
    p = p * y + 1.0 / 120;
    p = p * y + 1.0 / 24;
    p = p * y + 1.0 / 6;
    p = p * y + 0.5;
    p = p * y + 1;
    p = p * y + 1;
    double e = kCentre * p;
    e *= e;
    e *= e;
    e *= e;
    return e * e;
}

struct WindowSums {
    double Weight = 0, WeightedFlux = 0, WeightedVariance = 0;
};

#if defined(__x86_64__) && defined(__GNUC__)
// A copy for processors with AVX2 and FMA, chosen when the program starts.
__attribute__((target_clones("arch=x86-64-v3", "default")))
#endif
WindowSums SumsOverWindow(const double* __restrict x, const double* __restrict live, const double* __restrict flux,
                          const double* __restrict variance, size_t count, double centre, double inverseSigma) {
    double weight = 0, weightedFlux = 0, weightedVariance = 0;
    if (variance) {
#pragma omp simd reduction(+ : weight, weightedFlux, weightedVariance)
        for (size_t k = 0; k < count; ++k) {
            const double t = (x[k] - centre) * inverseSigma;
            const double w = GaussianOfSquare(t * t) * live[k];
            weight += w;
            weightedFlux += w * flux[k];
            weightedVariance += w * w * variance[k];
        }
    } else {
#pragma omp simd reduction(+ : weight, weightedFlux)
        for (size_t k = 0; k < count; ++k) {
            const double t = (x[k] - centre) * inverseSigma;
            const double w = GaussianOfSquare(t * t) * live[k];
            weight += w;
            weightedFlux += w * flux[k];
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
    const bool withSigma = !in.Variance.empty();
    ForEachWindow(in.X, in.ReachX, [&](size_t i, size_t first, size_t last) {
        if (in.Live[i] == 0) return;
        const WindowSums s = SumsOverWindow(in.X.data() + first, in.Live.data() + first, in.Flux.data() + first,
                                            withSigma ? in.Variance.data() + first : nullptr, last - first + 1,
                                            in.X[i], inverseSigma);
        out[i] = s.WeightedFlux / s.Weight;
        if (withSigma) outSigma[i] = std::sqrt(s.WeightedVariance) / s.Weight;
    });
}

double VaryingGaussianPairs(std::span<const double> x, double reachX) {
    double pairs = 0;
    ForEachWindow(x, reachX, [&](size_t, size_t first, size_t last) { pairs += static_cast<double>(last - first + 1); });
    return pairs;
}

}  // namespace wendrel
