#include "analysis/covariance_band.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <numeric>

namespace wendrel {

size_t CovarianceBand::SpreadFirst() const {
    size_t first = std::numeric_limits<size_t>::max();
    for (const PixelWeights& w : Spread)
        if (!w.Weights.empty()) first = std::min(first, w.First);
    return first;
}

std::vector<double> CovarianceBand::SpreadOf(std::span<const double> v) const {
    const size_t base = SpreadFirst();
    std::vector<double> out;
    for (size_t i = 0; i < Size; ++i) {
        const PixelWeights& w = Spread[i];
        if (w.Weights.empty() || v[i] == 0) continue;
        const size_t end = w.First - base + w.Weights.size();
        if (out.size() < end) out.resize(end, 0);
        for (size_t k = 0; k < w.Weights.size(); ++k) out[w.First - base + k] += w.Weights[k] * v[i];
    }
    return out;
}

double CovarianceBand::At(size_t i, size_t j) const {
    if (Spread.empty()) return i == j ? Factor * Variances[i] : 0;
    const PixelWeights &a = Spread[i], &b = Spread[j];
    const size_t from = std::max(a.First, b.First);
    const size_t to = std::min(a.First + a.Weights.size(), b.First + b.Weights.size());
    double sum = 0;
    for (size_t k = from; k < to; ++k) sum += a.Weights[k - a.First] * b.Weights[k - b.First];
    return Factor * sum;
}

std::vector<double> CovarianceBand::Times(std::span<const double> v) const {
    std::vector<double> out(Size, 0);
    if (Spread.empty()) {
        for (size_t i = 0; i < Size; ++i) out[i] = Factor * Variances[i] * v[i];
        return out;
    }
    const std::vector<double> spread = SpreadOf(v);
    const size_t base = SpreadFirst();
    for (size_t i = 0; i < Size; ++i) {
        const PixelWeights& w = Spread[i];
        double sum = 0;
        for (size_t k = 0; k < w.Weights.size(); ++k) {
            const size_t at = w.First - base + k;
            if (at < spread.size()) sum += w.Weights[k] * spread[at];
        }
        out[i] = Factor * sum;
    }
    return out;
}

double CovarianceBand::Product(std::span<const double> u, std::span<const double> v) const {
    if (Spread.empty()) {
        double sum = 0;
        for (size_t i = 0; i < Size; ++i) sum += u[i] * Variances[i] * v[i];
        return Factor * sum;
    }
    std::vector<double> a = SpreadOf(u), b = SpreadOf(v);
    const size_t n = std::min(a.size(), b.size());
    return Factor * std::inner_product(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin(), 0.0);
}

CovarianceBand DiagonalBand(size_t first, std::vector<double> variances) {
    CovarianceBand band;
    std::tie(band.First, band.Size) = std::tuple(first, variances.size());
    band.Variances = std::move(variances);
    return band;
}

CovarianceBand SmoothedCovarianceBand(const SpectrumRow& row, const Smoothing& how, size_t first, size_t last) {
    if (row.Sigma.empty() || first > last) return {};
    // The kernel's width where the span's middle lies tells the weights' count before they are made.
    const PixelWeights middle = SmoothingWeights(row, how, first + (last - first) / 2);
    if (static_cast<double>(last - first + 1) * static_cast<double>(middle.Weights.size() + 1) > kMaxCovarianceWeights)
        return {};
    std::vector<PixelWeights> weights = SmoothingWeights(row, how, first, last);
    if (weights.empty()) return {};
    CovarianceBand c;
    size_t radius = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        PixelWeights& w = weights[i];
        for (size_t k = 0; k < w.Weights.size(); ++k)
            if (w.Weights[k] != 0) w.Weights[k] *= row.Sigma[w.First + k];
        if (w.Weights.empty()) continue;
        const size_t pixel = first + i;
        radius = std::max({radius, pixel - w.First, w.First + w.Weights.size() - 1 - pixel});
    }
    std::tie(c.First, c.Size, c.Reach) = std::tuple(first, weights.size(), 2 * radius);
    c.Spread = std::move(weights);
    return c;
}

}  // namespace wendrel
