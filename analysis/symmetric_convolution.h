// The inner loop of the linear smoothing kernels: a convolution with a
// symmetric kernel of fixed taps, written for the compiler's vectoriser.
#pragma once

#include <span>

namespace wendrel {

// out[i] = taps[0] x[i] + sum_{t=1}^{R} taps[t] (x[i - t] + x[i + t]), with
// R = taps.size() - 1 and x taken as 0 outside 0 .. n - 1. out has x's size.
void SymmetricConvolution(std::span<const double> x, std::span<const double> taps, std::span<double> out);

}  // namespace wendrel
