#include "fits/spectrum_finish.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "fits/continuum_level.h"
#include "fits/large_pages.h"
#include "fits/percent_values.h"
#include "store/band_blocks.h"

namespace wendrel {

namespace {

constexpr size_t kPercentPass = 8000;  // values per pass: small enough to stay in the cache
static_assert(kPercentPass % kValueBlock == 0, "each pass takes whole value blocks");

// The blocks of the percent values from those of the flux: 100 * flux / level
// rises with the flux, rounding included, so each block's extremes are the
// percent values of the flux's. Only where a percent value overflowed to
// infinity (and was made blank) would they differ.
std::vector<ValueExtent> PercentBlocks(const std::vector<ValueExtent>& fluxBlocks, double level) {
    std::vector<ValueExtent> blocks;
    blocks.reserve(fluxBlocks.size());
    for (const ValueExtent& b : fluxBlocks) blocks.push_back({b.low * 100 / level, b.high * 100 / level, b.blank});
    return blocks;
}

}  // namespace

std::string TakeLevelAndPercent(Spectrum& s, std::vector<double>& blockMax) {
    s.Level = MedianOf(blockMax);  // what FindLevel(s) gives
    if (!(s.Level > 0)) {
        const bool anyValue = std::any_of(s.Flux.begin(), s.Flux.end(), [](double v) { return !std::isnan(v); });
        if (!anyValue) return "holds only blank pixels (NaN or infinite values).";
        return "has no positive pixel value in any block of 50 pixels, so its continuum level is 0 "
               "and it cannot be shown in percent of that level.";
    }
    const std::vector<double>& flux = s.Flux;
    std::vector<double>& pct = s.FluxPct;
    pct.clear();
    ReserveOnLargePages(pct, flux.size());
    double largest = -9999;
    bool anyInfinite = false;
    const size_t perPass = std::min(kPercentPass, flux.size());
    const auto values = std::make_unique_for_overwrite<double[]>(perPass);  // written before it is read
    s.FluxBlocks.clear();
    s.FluxBlocks.reserve((flux.size() + kValueBlock - 1) / kValueBlock);
    for (size_t start = 0; start < flux.size(); start += perPass) {
        const std::span<double> chunk(values.get(), std::min(perPass, flux.size() - start));
        const std::span<const double> fluxChunk = std::span(flux).subspan(start, chunk.size());
        anyInfinite |= PercentOfLevel(fluxChunk, s.Level, chunk);
        largest = LargestOf(chunk, largest);
        AppendBlockExtents(fluxChunk, s.FluxBlocks);
        pct.insert(pct.end(), chunk.begin(), chunk.end());
    }
    if (anyInfinite) {
        // A percent value beyond the double range is blank too.
        std::replace_if(pct.begin(), pct.end(), [](double v) { return std::isinf(v); },
                        std::numeric_limits<double>::quiet_NaN());
        largest = LargestOf(pct, -9999);
    }
    s.PctBlocks = anyInfinite ? BlockExtentsOf(pct) : PercentBlocks(s.FluxBlocks, s.Level);
    s.PctMax = largest;
    s.FluxMax = LargestOf(flux, -std::numeric_limits<double>::max());
    TakeBandBlocks(s);
    return {};
}

void MakeWavelengthsRise(Spectrum& s) {
    if (!(s.LambdaEnd < s.LambdaStart)) return;
    std::reverse(s.Flux.begin(), s.Flux.end());
    std::reverse(s.Sigma.begin(), s.Sigma.end());
    std::reverse(s.FluxPct.begin(), s.FluxPct.end());
    std::reverse(s.PixelCentre.begin(), s.PixelCentre.end());
    std::reverse(s.PixelEdge.begin(), s.PixelEdge.end());
    s.FluxBlocks = BlockExtentsOf(s.Flux);
    s.PctBlocks = BlockExtentsOf(s.FluxPct);
    TakeBandBlocks(s);
    std::swap(s.LambdaStart, s.LambdaEnd);
    s.DLambda = -s.DLambda;
    s.Lambda0 = s.PixelCentre.empty() ? s.LambdaStart + s.DLambda / 2 : s.PixelCentre.front();
}

std::string TakePixelCentres(Spectrum& s, std::vector<double> centres) {
    const size_t n = centres.size();
    for (size_t k = 0; k < n; ++k)
        if (!std::isfinite(centres[k]))
            return "the wavelength of pixel " + std::to_string(k + 1) + " is not a finite number.";
    if (n < 2) return "fewer than two wavelengths were found, so its pixels have no width.";
    const bool rising = centres[1] > centres[0];
    for (size_t k = 0; k + 1 < n; ++k)
        if (rising ? !(centres[k + 1] > centres[k]) : !(centres[k + 1] < centres[k]))
            return "the wavelengths neither rise nor fall (pixels " + std::to_string(k + 1) + " and " +
                   std::to_string(k + 2) + " break the order).";
    std::vector<double> edges;
    ReserveOnLargePages(edges, n + 1);
    edges.resize(n + 1);
    for (size_t k = 1; k < n; ++k) edges[k] = (centres[k - 1] + centres[k]) / 2;
    edges[0] = centres[0] - (edges[1] - centres[0]);
    edges[n] = centres[n - 1] + (centres[n - 1] - edges[n - 1]);
    s.Dispersion = kTabulatedScale;
    s.Lambda0 = centres.front();
    s.LambdaStart = edges.front();
    s.LambdaEnd = edges.back();
    s.DLambda = (s.LambdaEnd - s.LambdaStart) / static_cast<double>(n);
    s.PixelCentre = std::move(centres);
    s.PixelEdge = std::move(edges);
    return {};
}

}  // namespace wendrel
