// The cross-correlation of two equal-length real arrays by FFT (KissFFT in
// double precision), zero-padded so that no lag wraps onto another.
#pragma once

#include <span>
#include <vector>

namespace wendrel {

// c[k] = sum_n object[n + k] templ[n] / sqrt(sum object^2 sum templ^2), for
// lags k = -(N - 1) .. N - 1 stored at index k mod c.size() (negative lags
// at the end); c.size() >= 2 N is a product of 2, 3 and 5. All zeros when
// either array is.
std::vector<double> FftCrossCorrelation(std::span<const double> object, std::span<const double> templ);

// The least product of powers of 2, 3 and 5 not below n.
size_t FastFftSize(size_t n);

}  // namespace wendrel
