// The cross-correlation of two equal-length real arrays by FFT (KissFFT in
// double precision), zero-padded so that the lags of interest take nothing
// wrapped round from others.
#pragma once

#include <span>
#include <vector>

namespace wendrel {

// c[k] = sum_n object[n + k] templ[n] / sqrt(sum object^2 sum templ^2),
// circular over c.size() >= N + lagReach (a product of 2, 3 and 5), stored
// at index k mod c.size() (negative lags at the end): exact for |k| <=
// lagReach. All zeros when either array is.
std::vector<double> FftCrossCorrelation(std::span<const double> object, std::span<const double> templ,
                                        size_t lagReach);

// The least product of powers of 2, 3 and 5 not below n.
size_t FastFftSize(size_t n);

}  // namespace wendrel
