#include "plot/pixel_errors.h"

#include <utility>
#include <vector>

#include "analysis/spectrum_row.h"

namespace wendrel {

// The file's pixels the row was smoothed from, and the kernel.
struct PixelErrors::SmoothingSource {
    SmoothingSource(std::shared_ptr<const Spectrum> file, const Smoothing& how)
        : File(std::move(file)), Pixels(*File), How(how) {}
    std::shared_ptr<const Spectrum> File;
    RowData Pixels;
    Smoothing How;
};

PixelErrors PixelErrors::Of(const Row& s) {
    if (!s.Loaded()) return {};
    PixelErrors errors(s->Sigma);
    if (!s.Smoothed || !s.Unsmoothed) return errors;
    if (s.Smoothed->Kernel == SmoothingKernel::Median || s->Sigma.empty()) return {};
    errors.smoothing_ = std::make_shared<const SmoothingSource>(s.Unsmoothed, *s.Smoothed);
    return errors;
}

CovarianceBand PixelErrors::Among(int64_t first, int64_t last) const {
    const size_t from = static_cast<size_t>(first - 1), to = static_cast<size_t>(last - 1);
    if (smoothing_) return SmoothedCovarianceBand(smoothing_->Pixels.Row, smoothing_->How, from, to);
    std::vector<double> variances;
    for (size_t i = from; i <= to; ++i) variances.push_back(sigma_[i] * sigma_[i]);
    return DiagonalBand(from, std::move(variances));
}

}  // namespace wendrel
