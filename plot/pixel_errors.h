// The errors of a row's pixels as line measurements and fits take them: each
// pixel's own sigma and, for a row smoothed by a boxcar or a Gaussian, the
// covariance the kernel makes between neighbouring pixels, from the file's
// sigma and the kernel's weights (analysis/covariance_band.h). Where the file
// gives no sigma, the errors come from the scatter of the pixels; on a row
// smoothed by a boxcar or a Gaussian that scatter is taken as the file's
// pixels', alike for each pixel, carried through the kernel's covariance. A
// median has no weights: after one the smoothed pixels' scatter is taken as
// if they were independent.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "analysis/covariance_band.h"
#include "store/workspace.h"

namespace wendrel {

// The pixels' 1-sigma errors in the slot's flux units, one per pixel (pixel
// p at [p - 1]); empty when unknown.
using PixelSigma = std::span<const double>;

// Why a measurement or fit of a smoothed row is refused when Among gives no band.
inline constexpr const char* kSmoothedCovarianceRefusal =
    "the covariance of its smoothed pixels cannot be reckoned over so many pixels of so wide a kernel; "
    "measure a narrower span, or smooth the row less.";

class PixelErrors {
public:
    // Unknown: every pixel is taken to scatter as the pixels scatter about the model.
    PixelErrors() = default;
    // Independent pixels of these errors.
    PixelErrors(PixelSigma sigma) : sigma_(sigma) {}
    // The errors of the row's shown pixels; the row must outlive them.
    static PixelErrors Of(const Row& s);

    PixelSigma Sigma() const { return sigma_; }
    bool Correlated() const { return smoothing_ != nullptr; }
    // The covariance of pixels first .. last (1-based, inclusive): the
    // smoothing kernel's band, else sigma^2 alone. Where the file gives no
    // sigma, the band of a smoothing of file pixels of sigma 1, to be scaled
    // by their variance as the scatter gives it (UnitScatterDof).
    CovarianceBand Among(int64_t first, int64_t last) const;

private:
    struct SmoothingSource;
    PixelSigma sigma_;
    std::shared_ptr<const SmoothingSource> smoothing_;
};

}  // namespace wendrel
