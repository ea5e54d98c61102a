#include "analysis/varying_gaussian.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

namespace wendrel {

namespace {

// exp(-s / 2) for 0 <= s <= 16 (a reach of 4 sigma) as exp(-s / 32)^16, of
// y = 1/4 - s / 32 (given): exp(-1/4) times the Taylor series of exp(y) to the
// 11th power, whose error at the range's ends is 1e-16, then four squarings.
// Within 4e-15 of std::exp, and written so that the vectoriser runs it on four
// pixels at once; the polynomial is summed in pairs of terms (Estrin's
// scheme), which lets neighbouring pixels' sums overlap where Horner's rule
// would wait on each step.
inline double GaussianOfReduced(double y) {
    constexpr double kCentre = 0.7788007830714049;  // exp(-1/4)
    constexpr double c[12] = {kCentre,          kCentre,           kCentre / 2,        kCentre / 6,
                              kCentre / 24,     kCentre / 120,     kCentre / 720,      kCentre / 5040,
                              kCentre / 40320,  kCentre / 362880,  kCentre / 3628800,  kCentre / 39916800};
    const double y2 = y * y, y4 = y2 * y2, y8 = y4 * y4;
    const double low = (c[0] + c[1] * y) + (c[2] + c[3] * y) * y2 + ((c[4] + c[5] * y) + (c[6] + c[7] * y) * y2) * y4;
    const double high = (c[8] + c[9] * y) + (c[10] + c[11] * y) * y2;
    double e = low + high * y8;
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
    const double reduction = inverseSigma * inverseSigma / 32;
    double weight = 0, weightedFlux = 0, weightedVariance = 0;
    if (sigma) {
#pragma omp simd reduction(+ : weight, weightedFlux, weightedVariance)
        for (size_t k = 0; k < count; ++k) {
            const double d = x[k] - centre;
            const double g = GaussianOfReduced(0.25 - d * d * reduction);
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
            const double d = x[k] - centre;
            const double g = GaussianOfReduced(0.25 - d * d * reduction);
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

// Calls visit(i, first, last) with the windows of pixels from .. to - 1, whose ends only rise with i.
template <typename Visit>
void ForEachWindow(std::span<const double> x, double reachX, size_t from, size_t to, Visit&& visit) {
    const size_t n = x.size();
    size_t first = 0, last = from;
    for (size_t i = from; i < to; ++i) {
        while (x[i] - x[first] > reachX) ++first;
        last = std::max(last, i);
        while (last + 1 < n && x[last + 1] - x[i] <= reachX) ++last;
        visit(i, first, last);
    }
}

// The running weights of the pixels that windows reach, slid along the row
// (a row's worth would be a long array to allocate): those of pixels base ..
// filled - 1, each starting at 1, the pixel's own weight.
class SlidingWeights {
public:
    explicit SlidingWeights(size_t from) : base_(from), filled_(from) {}

    // Pixel i's running weight, followed by those of i + 1 .. last; valid until the next call.
    double* At(size_t i, size_t last) {
        if (filled_ < i) base_ = filled_ = i;  // the pixels skipped were blank
        if (last - base_ >= values_.size()) {
            std::copy(values_.begin() + static_cast<std::ptrdiff_t>(i - base_),
                      values_.begin() + static_cast<std::ptrdiff_t>(filled_ - base_), values_.begin());
            base_ = i;
            if (last - base_ >= values_.size()) values_.resize(2 * (last - base_ + 1));
        }
        for (; filled_ <= last; ++filled_) values_[filled_ - base_] = 1;
        return values_.data() + (i - base_);
    }

private:
    std::vector<double> values_;
    size_t base_, filled_;
};

// Running sums of pixels from Begin on (indexed j - Begin) that pixels below
// them have added to.
struct RunningSums {
    size_t Begin = 0;
    double* Weight = nullptr;
    double* Flux = nullptr;
    double* Variance = nullptr;  // null without sigma
};

// Pixels from .. to - 1 in turn add their weights on the pixels above them
// to those pixels' running sums: below `split` to their own (the weights
// slid along, flux and variance in out and outSigma, which start with each
// pixel's own), from there on to `beyond`. From `finalFrom` on a pixel then
// has all its sums, and its smoothed value and sigma replace them in out and
// outSigma; a pixel below finalFrom is left for the caller to finish, its
// weight in finalWeight[i - from].
void SmoothPixels(const VaryingGaussianInput& in, size_t from, size_t to, std::span<double> out,
                  std::span<double> outSigma, RunningSums beyond, size_t split, size_t finalFrom, double* finalWeight) {
    const double inverseSigma = 1 / in.SigmaX;
    const bool withSigma = !in.Sigma.empty();
    SlidingWeights weights(from);
    ForEachWindow(in.X, in.ReachX, from, to, [&](size_t i, size_t, size_t last) {
        if (!IsFiniteValue(in.Flux[i])) {
            out[i] = NAN;
            if (withSigma) outSigma[i] = NAN;
            return;
        }
        double* weight = weights.At(i, std::min(last, split - 1));
        const double ownVariance = withSigma ? in.Sigma[i] * in.Sigma[i] : 0;
        const auto addAbove = [&](size_t j, size_t end, double* weightAbove, double* fluxAbove, double* varianceAbove) {
            if (j >= end) return;
            const WindowSums s = SumsAbove(in.X.data() + j, in.Flux.data() + j, withSigma ? in.Sigma.data() + j : nullptr,
                                           weightAbove, fluxAbove, varianceAbove, end - j, in.X[i], inverseSigma,
                                           in.Flux[i], ownVariance);
            *weight += s.Weight, out[i] += s.WeightedFlux;
            if (withSigma) outSigma[i] += s.WeightedVariance;
        };
        const size_t ownEnd = std::min(last + 1, split);
        addAbove(i + 1, ownEnd, weight + 1, out.data() + i + 1, withSigma ? outSigma.data() + i + 1 : nullptr);
        if (last >= split) {
            const size_t j = std::max(i + 1, split), at = j - beyond.Begin;
            addAbove(j, last + 1, beyond.Weight + at, beyond.Flux + at, withSigma ? beyond.Variance + at : nullptr);
        }
        if (i < finalFrom) {
            finalWeight[i - from] = *weight;
            return;
        }
        out[i] /= *weight;
        if (withSigma) outSigma[i] = std::sqrt(outSigma[i]) / *weight;
    });
}

// The first pixel of the row's high half, where half of the pairs (i, j > i) within reach lie below.
size_t PairsMiddle(std::span<const double> x, double reachX) {
    double pairs = 0;
    ForEachWindow(x, reachX, 0, x.size(), [&](size_t i, size_t, size_t last) { pairs += static_cast<double>(last - i); });
    double below = 0;
    size_t middle = 0;
    ForEachWindow(x, reachX, 0, x.size(), [&](size_t i, size_t, size_t last) {
        if (below < pairs / 2) middle = i + 1;
        below += static_cast<double>(last - i);
    });
    return middle;
}

// Two threads are started only for this much work (pixel pairs), a few tenths of a millisecond.
constexpr size_t kPairsWorthAThread = size_t{1} << 18;

}  // namespace

void SmoothByVaryingGaussian(const VaryingGaussianInput& in, std::span<double> out, std::span<double> outSigma) {
    const bool withSigma = !in.Sigma.empty();
    const size_t n = in.X.size();
    std::copy(in.Flux.begin(), in.Flux.end(), out.begin());
    if (withSigma)
        for (size_t i = 0; i < n; ++i) outSigma[i] = in.Sigma[i] * in.Sigma[i];
    // The row's halves run at once: the low half keeps its weights on the high
    // half's first pixels apart, and those pixels are finished when both are done.
    // The halves hold equal numbers of pairs, as a kernel's width in pixels varies.
    const size_t middle = PairsMiddle(in.X, in.ReachX);
    size_t reached = middle;  // the first pixel beyond the low half's reach
    while (middle > 0 && reached < n && in.X[reached] - in.X[middle - 1] <= in.ReachX) ++reached;
    if (middle == 0 || n * (2 * (reached - middle) + 1) < kPairsWorthAThread || std::thread::hardware_concurrency() < 2) {
        SmoothPixels(in, 0, n, out, outSigma, {}, n, 0, nullptr);
        return;
    }
    const size_t shared = reached - middle;
    std::vector<double> sharedWeight(shared, 0), sharedFlux(shared, 0), sharedVariance(withSigma ? shared : 0, 0);
    std::vector<double> highWeight(shared);
    const RunningSums lowOnHigh{middle, sharedWeight.data(), sharedFlux.data(), withSigma ? sharedVariance.data() : nullptr};
    std::thread low([&] { SmoothPixels(in, 0, middle, out, outSigma, lowOnHigh, middle, 0, nullptr); });
    SmoothPixels(in, middle, n, out, outSigma, {}, n, reached, highWeight.data());
    low.join();
    for (size_t i = middle; i < reached; ++i) {
        if (!IsFiniteValue(in.Flux[i])) continue;
        const size_t k = i - middle;
        const double total = highWeight[k] + sharedWeight[k];
        out[i] = (out[i] + sharedFlux[k]) / total;
        if (withSigma) outSigma[i] = std::sqrt(outSigma[i] + sharedVariance[k]) / total;
    }
}

double VaryingGaussianPairs(std::span<const double> x, double reachX) {
    double pairs = 0;
    ForEachWindow(x, reachX, 0, x.size(), [&](size_t, size_t first, size_t last) { pairs += static_cast<double>(last - first + 1); });
    return pairs;
}

}  // namespace wendrel
