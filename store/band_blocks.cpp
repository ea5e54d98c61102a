#include "store/band_blocks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wendrel {

namespace {

// The pixel-by-pixel extent, skipping pixels whose band is not finite.
ValueExtent ScanBandSkipping(std::span<const double> flux, std::span<const double> sigma, double factor,
                             int64_t from, int64_t to) {
    ValueExtent extent;
    for (int64_t k = from; k < to; ++k) {
        const double low = factor * (flux[static_cast<size_t>(k)] - sigma[static_cast<size_t>(k)]);
        const double high = factor * (flux[static_cast<size_t>(k)] + sigma[static_cast<size_t>(k)]);
        if (!std::isfinite(low) || !std::isfinite(high)) {
            extent.blank = true;
            continue;
        }
        extent.low = std::min(extent.low, low);
        extent.high = std::max(extent.high, high);
    }
    return extent;
}

// The same without a branch per pixel, in four independent running extremes
// and probes so that the loop has no long dependency chain: x * 0 is not a
// number exactly when x is not finite, and the rare run that holds such a
// pixel is read again.
ValueExtent ScanBand(std::span<const double> flux, std::span<const double> sigma, double factor, int64_t from,
                     int64_t to) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    double low[4] = {kInf, kInf, kInf, kInf}, high[4] = {-kInf, -kInf, -kInf, -kInf}, probe[4] = {0, 0, 0, 0};
    const double* f = flux.data();
    const double* s = sigma.data();
    int64_t k = from;
    for (; k + 4 <= to; k += 4)
        for (int j = 0; j < 4; ++j) {
            const double a = factor * (f[k + j] - s[k + j]), b = factor * (f[k + j] + s[k + j]);
            low[j] = a < low[j] ? a : low[j];
            high[j] = b > high[j] ? b : high[j];
            probe[j] += a * 0 + b * 0;
        }
    for (; k < to; ++k) {
        const double a = factor * (f[k] - s[k]), b = factor * (f[k] + s[k]);
        low[0] = a < low[0] ? a : low[0];
        high[0] = b > high[0] ? b : high[0];
        probe[0] += a * 0 + b * 0;
    }
    if (std::isnan(probe[0] + probe[1] + probe[2] + probe[3])) return ScanBandSkipping(flux, sigma, factor, from, to);
    return {std::min(std::min(low[0], low[1]), std::min(low[2], low[3])),
            std::max(std::max(high[0], high[1]), std::max(high[2], high[3])), false};
}

}  // namespace

std::vector<ValueExtent> BandBlocksOf(std::span<const double> flux, std::span<const double> sigma, double factor) {
    const auto count = static_cast<int64_t>(std::min(flux.size(), sigma.size()));
    std::vector<ValueExtent> blocks;
    blocks.reserve(static_cast<size_t>((count + kValueBlock - 1) / kValueBlock));
    for (int64_t start = 0; start < count; start += kValueBlock)
        blocks.push_back(ScanBand(flux, sigma, factor, start, std::min(start + kValueBlock, count)));
    return blocks;
}

void TakeBandBlocks(Spectrum& s) {
    s.FluxBandBlocks.clear();
    s.PctBandBlocks.clear();
    if (s.Sigma.size() != s.Flux.size()) return;
    s.FluxBandBlocks = BandBlocksOf(s.Flux, s.Sigma, 1);
    // 100 / Level > 0 keeps the order of the values, so the percent blocks
    // are the flux blocks' extremes scaled.
    const double factor = 100 / s.Level;
    s.PctBandBlocks.reserve(s.FluxBandBlocks.size());
    for (const ValueExtent& b : s.FluxBandBlocks)
        s.PctBandBlocks.push_back(b.low <= b.high ? ValueExtent{factor * b.low, factor * b.high, b.blank} : b);
}

BandValues BandValuesOf(const Spectrum& s, bool inFlux) {
    if (s.Sigma.size() != s.Flux.size()) return {};
    if (inFlux) return {s.Flux, s.Sigma, 1, s.FluxBandBlocks};
    return {s.Flux, s.Sigma, 100 / s.Level, s.PctBandBlocks};
}

ValueExtent BandExtentOf(const BandValues& band, int64_t from, int64_t to) {
    const auto count = static_cast<int64_t>(std::min(band.flux.size(), band.sigma.size()));
    from = std::max<int64_t>(from, 0);
    to = std::min(to, count);
    if (from >= to) return {};
    const int64_t firstWhole = (from + kValueBlock - 1) / kValueBlock;
    const int64_t endWhole = to / kValueBlock;
    if (std::ssize(band.blocks) != (count + kValueBlock - 1) / kValueBlock || firstWhole >= endWhole)
        return ScanBand(band.flux, band.sigma, band.factor, from, to);
    ValueExtent extent;
    for (int64_t b = firstWhole; b < endWhole; ++b) extent += band.blocks[static_cast<size_t>(b)];
    if (from < firstWhole * kValueBlock && !extent.Holds(band.blocks[static_cast<size_t>(firstWhole - 1)]))
        extent += ScanBand(band.flux, band.sigma, band.factor, from, firstWhole * kValueBlock);
    if (endWhole * kValueBlock < to && !extent.Holds(band.blocks[static_cast<size_t>(endWhole)]))
        extent += ScanBand(band.flux, band.sigma, band.factor, endWhole * kValueBlock, to);
    return extent;
}

}  // namespace wendrel
