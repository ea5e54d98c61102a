// One spectrum on another's pixels, and their ratio and difference there.
//
// Rebinning conserves flux: each target pixel takes the mean of the source
// over the pixel's extent, each source pixel weighted by the length it
// overlaps (so sum(value * pixel width) is the source's integral), and
// sigma = sqrt(sum (overlap_j sigma_j)^2) / sum overlap_j. Pixel extents run
// halfway to the neighbouring centres (PixelEdgesOfCentres). A target pixel
// that the source does not cover entirely is NaN; blank source pixels take
// no weight, and a target pixel covered only by blanks is NaN. The source's
// wavelengths are first taken to the target's medium when both are known.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "analysis/spectrum_row.h"

namespace wendrel {

struct ResampledRow {
    std::vector<double> Flux;   // one value per target pixel
    std::vector<double> Sigma;  // empty when no sigma is known
    std::string Refusal;        // why nothing was computed; empty on success
};

// `source` on the pixels of `target` (its fluxes are not used).
ResampledRow RebinOnto(const SpectrumRow& target, const SpectrumRow& source);

// a / b and a - b on a's pixels, b rebinned onto them. Sigma propagates as
// sigma_r = |r| sqrt((sA / A)^2 + (sB / B)^2) and sigma_d = sqrt(sA^2 + sB^2),
// a missing sigma counting as 0; empty when neither row has one. The ratio
// is NaN where b is 0.
ResampledRow RatioOfRows(const SpectrumRow& a, const SpectrumRow& b);
ResampledRow DifferenceOfRows(const SpectrumRow& a, const SpectrumRow& b);

}  // namespace wendrel
