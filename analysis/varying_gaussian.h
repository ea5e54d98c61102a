// The inner loop of a Gaussian smoothing where one set of taps does not serve
// every pixel (the grid's steps in X vary): for each pixel i the sums over
// its neighbours j with |X_j - X_i| <= reach of w, w f_j and w^2 sigma_j^2, where
// w = exp(-0.5 ((X_j - X_i) / sigma)^2), in one pass without allocation per pixel.
#pragma once

#include <cstddef>
#include <span>

namespace wendrel {

struct VaryingGaussianInput {
    std::span<const double> X;      // strictly rising
    std::span<const double> Flux;   // not finite at a blank pixel, which takes no weight
    std::span<const double> Sigma;  // empty for none
    double SigmaX = 0;
    double ReachX = 0;
};

// out[i] = sum w f / sum w and, with sigma, outSigma[i] = sqrt(sum w^2 sigma^2) / sum w,
// over the pixels that are not blank; NaN at a blank pixel.
void SmoothByVaryingGaussian(const VaryingGaussianInput& in, std::span<double> out, std::span<double> outSigma);

// How many pairs (i, j) with |X_j - X_i| <= reach there are: the work of a smoothing.
double VaryingGaussianPairs(std::span<const double> x, double reachX);

}  // namespace wendrel
