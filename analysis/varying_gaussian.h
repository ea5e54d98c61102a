// The inner loop of a Gaussian smoothing where one set of taps does not serve
// every pixel (the grid's steps in X vary): for each pixel i the sums over
// its neighbours j with |X_j - X_i| <= reach of w, w f_j and w^2 v_j, where
// w = exp(-0.5 ((X_j - X_i) / sigma)^2), in one pass without allocation.
#pragma once

#include <cstddef>
#include <span>

namespace wendrel {

struct VaryingGaussianInput {
    std::span<const double> X;        // strictly rising
    std::span<const double> Live;     // 1 at a pixel that takes part, 0 at a blank one
    std::span<const double> Flux;     // 0 at a blank pixel
    std::span<const double> Variance; // 0 at a blank pixel; empty for no sigma
    double SigmaX = 0;
    double ReachX = 0;
};

// Out[i] = sum w f / sum w and, with a variance, OutSigma[i] = sqrt(sum w^2 v) / sum w,
// at every pixel whose Live is 1 (the others are left as they are).
void SmoothByVaryingGaussian(const VaryingGaussianInput& in, std::span<double> out, std::span<double> outSigma);

// How many pairs (i, j) with |X_j - X_i| <= reach there are: the work of a smoothing.
double VaryingGaussianPairs(std::span<const double> x, double reachX);

}  // namespace wendrel
