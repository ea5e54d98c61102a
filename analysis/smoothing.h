// Smoothing a row's flux: a boxcar or a median over N pixels, a Gaussian of
// a FWHM in Angstroms, or a Gaussian of a FWHM in km/s (a constant resolving
// power: the kernel is a Gaussian in ln lambda of FWHM v / c).
//
// The linear kernels (boxcar, Gaussians) make each smoothed pixel a weighted
// mean of its neighbours, y_i = sum_j w_ij x_j. Blank pixels take no weight
// and the others' weights are renormalised to sum to 1; a blank pixel stays
// blank. Sigma is carried through the kernel: sigma_y_i = sqrt(sum_j w_ij^2
// sigma_j^2). Neighbouring smoothed pixels are correlated: SmoothingWeights
// gives the w_ij of one pixel and SmoothedCovariance the covariance of two,
// for a measurement over several smoothed pixels.
//
// A boxcar of even N spans N + 1 pixels with half weight at both ends, so
// that it stays centred. The Gaussians reach 4 sigma either side. The median
// of an even N is taken over N + 1 pixels; its sigma is sqrt(pi / 2) times
// that of the mean of the same pixels (exact for Gaussian noise on many
// pixels), and it has no weights.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "analysis/spectrum_row.h"
#include "store/row_derivation.h"  // SmoothingKernel, Smoothing

namespace wendrel {

struct SmoothedRow {
    std::vector<double> Flux;   // NaN where the row's pixel is blank
    std::vector<double> Sigma;  // empty when the row has none
    std::string Refusal;        // why nothing was smoothed; empty on success
};

SmoothedRow Smooth(const SpectrumRow& row, const Smoothing& how);

// The weights of smoothed pixel `pixel` (0-based): y = sum_k Weights[k] *
// Flux[First + k], zero at blank pixels. Empty for the median, a blank pixel
// or a refused row.
struct PixelWeights {
    size_t First = 0;
    std::vector<double> Weights;
};
PixelWeights SmoothingWeights(const SpectrumRow& row, const Smoothing& how, size_t pixel);
// The weights of pixels first .. last (0-based, inclusive), the kernel planned once.
std::vector<PixelWeights> SmoothingWeights(const SpectrumRow& row, const Smoothing& how, size_t first, size_t last);

// Cov(y_a, y_b) = sum_j w_aj w_bj sigma_j^2; NaN without sigma or weights.
double SmoothedCovariance(const SpectrumRow& row, const Smoothing& how, size_t a, size_t b);

}  // namespace wendrel
