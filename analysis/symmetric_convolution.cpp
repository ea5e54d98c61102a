#include "analysis/symmetric_convolution.h"

#include <algorithm>
#include <vector>

namespace wendrel {

namespace {

// Outputs are summed a block at a time, so that the block and the input it
// reads stay in the cache while every tap passes over them.
constexpr size_t kBlock = 2048;

#if defined(__x86_64__) && defined(__GNUC__)
// A copy for processors with AVX2 and FMA, chosen when the program starts.
__attribute__((target_clones("arch=x86-64-v3", "default")))
#endif
void ConvolvePadded(const double* __restrict padded, size_t n, const double* __restrict taps, size_t radius,
                    double* __restrict out) {
    for (size_t start = 0; start < n; start += kBlock) {
        const size_t length = std::min(kBlock, n - start);
        const double* centre = padded + radius + start;
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

}  // namespace

void SymmetricConvolution(std::span<const double> x, std::span<const double> taps, std::span<double> out) {
    if (x.empty() || taps.empty()) return;
    const size_t radius = taps.size() - 1;
    std::vector<double> padded(x.size() + 2 * radius, 0.0);
    std::copy(x.begin(), x.end(), padded.begin() + static_cast<std::ptrdiff_t>(radius));
    ConvolvePadded(padded.data(), x.size(), taps.data(), radius, out.data());
}

}  // namespace wendrel
