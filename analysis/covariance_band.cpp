#include "analysis/covariance_band.h"

#include <algorithm>
#include <cmath>

#include "analysis/smoothing.h"

namespace wendrel {

double CovarianceBand::At(size_t i, size_t j) const {
    const size_t low = std::min(i, j), d = std::max(i, j) - low;
    return d > Reach ? 0 : Band[low * (Reach + 1) + d];
}

std::vector<double> CovarianceBand::Times(std::span<const double> v) const {
    std::vector<double> out(Size, 0);
    const size_t width = Reach + 1;
    for (size_t i = 0; i < Size; ++i) {
        const double* row = Band.data() + i * width;
        out[i] += row[0] * v[i];
        for (size_t d = 1; d <= Reach && i + d < Size; ++d) {
            out[i] += row[d] * v[i + d];
            out[i + d] += row[d] * v[i];
        }
    }
    return out;
}

double CovarianceBand::Product(std::span<const double> u, std::span<const double> v) const {
    const std::vector<double> cv = Times(v);
    double sum = 0;
    for (size_t i = 0; i < Size; ++i) sum += u[i] * cv[i];
    return sum;
}

CovarianceBand DiagonalBand(size_t first, std::vector<double> variances) {
    const size_t size = variances.size();
    return {first, size, 0, std::move(variances)};
}

CovarianceBand SmoothedCovarianceBand(const SpectrumRow& row, const Smoothing& how, size_t first, size_t last) {
    if (row.Sigma.empty()) return {};
    const std::vector<PixelWeights> weights = SmoothingWeights(row, how, first, last);
    if (weights.empty()) return {};
    // Each pixel's weights scaled by the file's sigma, so that a covariance is a dot product.
    std::vector<PixelWeights> scaled = weights;
    size_t radius = 0;
    for (size_t i = 0; i < scaled.size(); ++i) {
        PixelWeights& w = scaled[i];
        for (size_t k = 0; k < w.Weights.size(); ++k)
            if (w.Weights[k] != 0) w.Weights[k] *= row.Sigma[w.First + k];
        if (w.Weights.empty()) continue;
        const size_t pixel = first + i;
        radius = std::max({radius, pixel - w.First, w.First + w.Weights.size() - 1 - pixel});
    }
    CovarianceBand c{first, weights.size(), 2 * radius, {}};
    c.Band.assign(c.Size * (c.Reach + 1), 0);
    for (size_t i = 0; i < c.Size; ++i) {
        const PixelWeights& a = scaled[i];
        for (size_t d = 0; d <= c.Reach && i + d < c.Size; ++d) {
            const PixelWeights& b = scaled[i + d];
            const size_t from = std::max(a.First, b.First);
            const size_t to = std::min(a.First + a.Weights.size(), b.First + b.Weights.size());
            double sum = 0;
            for (size_t j = from; j < to; ++j) sum += a.Weights[j - a.First] * b.Weights[j - b.First];
            c.Band[i * (c.Reach + 1) + d] = sum;
        }
    }
    return c;
}

}  // namespace wendrel
