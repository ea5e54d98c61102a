#include "analysis/rebinning.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace wendrel {

namespace {

// Slack for edges computed two ways from the same wavelengths.
constexpr double kEdgeTolerance = 1e-9;

}  // namespace

ResampledRow RebinOnto(const SpectrumRow& target, const SpectrumRow& source) {
    ResampledRow out;
    out.Refusal = RowFault(target, "spectrum rebinned onto", 1);
    if (out.Refusal.empty()) out.Refusal = RowFault(source, "spectrum to rebin", 1);
    if (!out.Refusal.empty()) return out;
    const std::vector<double> targetEdges = PixelEdgesOfCentres(target.Wavelength);
    const std::vector<double> sourceEdges = PixelEdgesOfCentres(
        WavelengthsInMedium(source.Wavelength, source.WavelengthMedium, target.WavelengthMedium));
    const size_t n = target.Wavelength.size(), m = source.Flux.size();
    const double slack = kEdgeTolerance * (targetEdges.back() - targetEdges.front());
    out.Flux.assign(n, NAN);
    if (!source.Sigma.empty()) out.Sigma.assign(n, NAN);
    size_t j = 0;  // first source pixel not wholly below the target pixel; rises with i
    for (size_t i = 0; i < n; ++i) {
        const double lo = targetEdges[i], hi = targetEdges[i + 1];
        if (lo < sourceEdges.front() - slack || hi > sourceEdges.back() + slack) continue;
        while (j < m && sourceEdges[j + 1] <= lo) ++j;
        double sum = 0, length = 0, variance = 0;
        for (size_t k = j; k < m && sourceEdges[k] < hi; ++k) {
            const double overlap = std::min(hi, sourceEdges[k + 1]) - std::max(lo, sourceEdges[k]);
            if (!(overlap > 0) || !std::isfinite(source.Flux[k])) continue;
            sum += overlap * source.Flux[k];
            length += overlap;
            if (!source.Sigma.empty()) variance += std::pow(overlap * source.Sigma[k], 2);
        }
        if (length == 0) continue;
        out.Flux[i] = sum / length;
        if (!source.Sigma.empty()) out.Sigma[i] = std::sqrt(variance) / length;
    }
    return out;
}

namespace {

template <class Combine>
ResampledRow CombineRows(const SpectrumRow& a, const SpectrumRow& b, Combine combine) {
    ResampledRow out = RebinOnto(a, b);
    if (!out.Refusal.empty()) return out;
    const bool withSigma = !a.Sigma.empty() || !b.Sigma.empty();
    std::vector<double> sigma(withSigma ? a.Flux.size() : 0);
    for (size_t i = 0; i < a.Flux.size(); ++i) {
        const double sa = a.Sigma.empty() ? 0 : a.Sigma[i];
        const double sb = out.Sigma.empty() ? 0 : out.Sigma[i];
        const auto [value, error] = combine(a.Flux[i], sa, out.Flux[i], sb);
        out.Flux[i] = value;
        if (withSigma) sigma[i] = error;
    }
    out.Sigma = std::move(sigma);
    return out;
}

}  // namespace

ResampledRow RatioOfRows(const SpectrumRow& a, const SpectrumRow& b) {
    return CombineRows(a, b, [](double fa, double sa, double fb, double sb) {
        if (fb == 0) return std::pair(double(NAN), double(NAN));
        const double r = fa / fb;
        return std::pair(r, std::sqrt(sa * sa + r * r * sb * sb) / std::abs(fb));
    });
}

ResampledRow DifferenceOfRows(const SpectrumRow& a, const SpectrumRow& b) {
    return CombineRows(a, b, [](double fa, double sa, double fb, double sb) {
        return std::pair(fa - fb, std::hypot(sa, sb));
    });
}

}  // namespace wendrel
