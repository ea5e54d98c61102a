// The errors of a row's pixels as line measurements and fits take them: each
// pixel's own sigma and, for a row smoothed by a boxcar or a Gaussian, the
// covariance the kernel makes between neighbouring pixels, from the file's
// sigma and the kernel's weights (analysis/covariance_band.h). A median has
// no weights: after one, as where the file gives no sigma, the errors come
// from the scatter of the pixels.
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
    // The covariance of pixels first .. last (1-based, inclusive), whose
    // sigma is known: the smoothing kernel's band, else sigma^2 alone.
    CovarianceBand Among(int64_t first, int64_t last) const;

private:
    struct SmoothingSource;
    PixelSigma sigma_;
    std::shared_ptr<const SmoothingSource> smoothing_;
};

}  // namespace wendrel
