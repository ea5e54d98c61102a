#include "analysis/symmetric_convolution.h"

#include <algorithm>

namespace wendrel {

namespace {

// Outputs are summed a block at a time, so that the block and the input it
// reads stay in the cache while every tap passes over them.
constexpr size_t kBlock = 2048;

// Outputs begin .. end - 1, whose taps all fall inside x.
#if defined(__x86_64__) && defined(__GNUC__)
// A copy for processors with AVX2 and FMA, chosen when the program starts.
__attribute__((target_clones("arch=x86-64-v3", "default")))
#endif
void ConvolveInside(const double* __restrict x, size_t begin, size_t end, const double* __restrict taps,
                    size_t radius, double* __restrict out) {
    for (size_t start = begin; start < end; start += kBlock) {
        const size_t length = std::min(kBlock, end - start);
        const double* centre = x + start;
        double* acc = out + start;
        for (size_t b = 0; b < length; ++b) acc[b] = taps[0] * centre[b];
        for (size_t t = 1; t <= radius; ++t) {
            const double w = taps[t];
            const double* below = centre - t;
            const double* above = centre + t;
            for (size_t b = 0; b < length; ++b) acc[b] += w * (below[b] + above[b]);
        }
    }
}

double ConvolveAtEdge(std::span<const double> x, std::span<const double> taps, size_t i) {
    double sum = taps[0] * x[i];
    for (size_t t = 1; t < taps.size(); ++t) {
        if (t <= i) sum += taps[t] * x[i - t];
        if (i + t < x.size()) sum += taps[t] * x[i + t];
    }
    return sum;
}

}  // namespace

void SymmetricConvolution(std::span<const double> x, std::span<const double> taps, std::span<double> out) {
    if (x.empty() || taps.empty()) return;
    const size_t n = x.size(), radius = taps.size() - 1;
    const size_t insideBegin = std::min(radius, n), insideEnd = n > 2 * radius ? n - radius : insideBegin;
    for (size_t i = 0; i < insideBegin; ++i) out[i] = ConvolveAtEdge(x, taps, i);
    ConvolveInside(x.data(), insideBegin, insideEnd, taps.data(), radius, out.data());
    for (size_t i = insideEnd; i < n; ++i) out[i] = ConvolveAtEdge(x, taps, i);
}

}  // namespace wendrel
