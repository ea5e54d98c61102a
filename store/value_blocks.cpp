#include "store/value_blocks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace wendrel {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The extent of kValueBlock values from `v`, as ScanExtent gives it: four
// pairs of running extremes and probes, each pair updated in one instruction
// on every x86-64, so that loads take little more than a pass over memory.
ValueExtent FullBlockExtent(const double* v) {
    using Pair = double __attribute__((vector_size(2 * sizeof(double))));
    Pair low[4], high[4], probe[4];
    for (int j = 0; j < 4; ++j) low[j] = Pair{kInf, kInf}, high[j] = Pair{-kInf, -kInf}, probe[j] = Pair{0, 0};
    for (int64_t i = 0; i < kValueBlock; i += 8)
        for (int j = 0; j < 4; ++j) {
            Pair x;
            std::memcpy(&x, v + i + 2 * j, sizeof x);
            low[j] = x < low[j] ? x : low[j];
            high[j] = x > high[j] ? x : high[j];
            probe[j] += x * 0;  // not a number exactly when x is not finite
        }
    ValueExtent extent;
    double probes = 0;
    for (int j = 0; j < 4; ++j)
        for (int k = 0; k < 2; ++k) {
            extent.low = std::min(extent.low, low[j][k]);
            extent.high = std::max(extent.high, high[j][k]);
            probes += probe[j][k];
        }
    // Infinities took part in the extremes; the rare block that holds one is read again.
    if (std::isnan(probes)) return ScanExtent(std::span(v, static_cast<size_t>(kValueBlock)), 0, kValueBlock);
    return extent;
}

}  // namespace

ValueExtent ScanExtent(std::span<const double> values, int64_t from, int64_t to) {
    // Four running extremes and probes keep the loop free of long dependency
    // chains; x * 0 is not a number exactly when x is not finite.
    double low[4] = {kInf, kInf, kInf, kInf};
    double high[4] = {-kInf, -kInf, -kInf, -kInf};
    double probe[4] = {0, 0, 0, 0};
    const double* v = values.data();
    int64_t k = from;
    for (; k + 4 <= to; k += 4) {
        for (int j = 0; j < 4; ++j) {
            const double x = v[k + j];
            low[j] = x < low[j] ? x : low[j];
            high[j] = x > high[j] ? x : high[j];
            probe[j] += x * 0;
        }
    }
    for (; k < to; ++k) {
        const double x = v[k];
        low[0] = x < low[0] ? x : low[0];
        high[0] = x > high[0] ? x : high[0];
        probe[0] += x * 0;
    }
    ValueExtent extent{std::min(std::min(low[0], low[1]), std::min(low[2], low[3])),
                       std::max(std::max(high[0], high[1]), std::max(high[2], high[3])),
                       std::isnan(probe[0] + probe[1] + probe[2] + probe[3])};
    if (extent.blank) {
        // Infinities took part above; the extremes count only finite values.
        extent.low = kInf;
        extent.high = -kInf;
        for (k = from; k < to; ++k)
            if (std::isfinite(v[k])) extent.low = std::min(extent.low, v[k]), extent.high = std::max(extent.high, v[k]);
    }
    return extent;
}

void AppendBlockExtents(std::span<const double> values, std::vector<ValueExtent>& blocks) {
    const auto count = static_cast<int64_t>(values.size());
    int64_t start = 0;
    for (; start + kValueBlock <= count; start += kValueBlock) blocks.push_back(FullBlockExtent(values.data() + start));
    if (start < count) blocks.push_back(ScanExtent(values, start, count));
}

std::vector<ValueExtent> BlockExtentsOf(std::span<const double> values) {
    std::vector<ValueExtent> blocks;
    blocks.reserve((values.size() + kValueBlock - 1) / kValueBlock);
    AppendBlockExtents(values, blocks);
    return blocks;
}

ValueExtent ExtentOf(std::span<const double> values, std::span<const ValueExtent> blocks, int64_t from, int64_t to) {
    const auto count = static_cast<int64_t>(values.size());
    const int64_t firstWhole = (from + kValueBlock - 1) / kValueBlock;
    const int64_t endWhole = to / kValueBlock;
    if (std::ssize(blocks) != (count + kValueBlock - 1) / kValueBlock || firstWhole >= endWhole)
        return ScanExtent(values, from, to);
    ValueExtent extent;
    for (int64_t b = firstWhole; b < endWhole; ++b) extent += blocks[static_cast<size_t>(b)];
    if (from < firstWhole * kValueBlock && !extent.Holds(blocks[static_cast<size_t>(firstWhole - 1)]))
        extent += ScanExtent(values, from, firstWhole * kValueBlock);
    if (endWhole * kValueBlock < to && !extent.Holds(blocks[static_cast<size_t>(endWhole)]))
        extent += ScanExtent(values, endWhole * kValueBlock, to);
    return extent;
}

}  // namespace wendrel
