// The covariance of a run of pixels whose noise is correlated only between
// near neighbours, as a smoothing kernel makes it. A measurement that is
// linear in the pixels, value = g'f, has the variance g'Cg. Independent
// pixels are held by their variances; smoothed pixels by their weights on
// the file's pixels times those pixels' sigma (rows of S, C = S S'), so that
// a product with C costs the weights' count, not the band's size times the
// kernel's width.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "analysis/smoothing.h"
#include "analysis/spectrum_row.h"
#include "store/row_derivation.h"  // Smoothing

namespace wendrel {

struct CovarianceBand {
    size_t First = 0;  // the row's pixel (0-based) of the band's first
    size_t Size = 0;   // pixels First .. First + Size - 1
    size_t Reach = 0;  // Cov(i, j) is 0 where |i - j| > Reach
    std::vector<double> Variances;    // independent pixels: Size values
    std::vector<PixelWeights> Spread;  // smoothed pixels: Size rows of S
    double Factor = 1;                 // every covariance is multiplied by it

    // Cov of band pixels i and j (0-based within the band).
    double At(size_t i, size_t j) const;
    // u'Cv for u and v over the band's pixels (Size values each).
    double Product(std::span<const double> u, std::span<const double> v) const;
    // Cv, Size values.
    std::vector<double> Times(std::span<const double> v) const;

private:
    // S'v over the file's pixels from the first any row of S reaches.
    std::vector<double> SpreadOf(std::span<const double> v) const;
    size_t SpreadFirst() const;
};

// Independent pixels of these variances (reach 0).
CovarianceBand DiagonalBand(size_t first, std::vector<double> variances);

// The most weights a smoothed band holds: about 160 MB, and a measurement's
// few products with it well under a second.
inline constexpr double kMaxCovarianceWeights = 2e7;

// Cov(y_a, y_b) = sum_j w_aj w_bj sigma_j^2 of the smoothed pixels first ..
// last (0-based, inclusive) of a linear kernel applied to `row`, whose
// sigma is the file's. Empty (Size 0) without sigma or weights, or when it
// would hold more than kMaxCovarianceWeights weights.
CovarianceBand SmoothedCovarianceBand(const SpectrumRow& row, const Smoothing& how, size_t first, size_t last);

}  // namespace wendrel
