// The covariance of a run of pixels whose noise is correlated only between
// near neighbours, as a smoothing kernel makes it: a symmetric band matrix.
// A measurement that is linear in the pixels, value = g'f, has the variance
// g'Cg; a band of reach 0 holds independent pixels.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "analysis/spectrum_row.h"
#include "store/row_derivation.h"  // Smoothing

namespace wendrel {

struct CovarianceBand {
    size_t First = 0;  // the row's pixel (0-based) of the band's first
    size_t Size = 0;   // pixels First .. First + Size - 1
    size_t Reach = 0;  // Cov(i, j) is 0 where |i - j| > Reach
    // Cov(First + i, First + i + d) at [i * (Reach + 1) + d], d = 0 .. Reach.
    std::vector<double> Band;

    // Cov of band pixels i and j (0-based within the band).
    double At(size_t i, size_t j) const;
    // u'Cv for u and v over the band's pixels (Size values each).
    double Product(std::span<const double> u, std::span<const double> v) const;
    // Cv, Size values.
    std::vector<double> Times(std::span<const double> v) const;
};

// Independent pixels of these variances (reach 0).
CovarianceBand DiagonalBand(size_t first, std::vector<double> variances);

// Cov(y_a, y_b) = sum_j w_aj w_bj sigma_j^2 of the smoothed pixels first ..
// last (0-based, inclusive) of a linear kernel applied to `row`, whose
// sigma is the file's. Empty (Size 0) without sigma or weights.
CovarianceBand SmoothedCovarianceBand(const SpectrumRow& row, const Smoothing& how, size_t first, size_t last);

}  // namespace wendrel
