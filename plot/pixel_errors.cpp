#include "plot/pixel_errors.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "analysis/spectrum_row.h"
#include "plot/pixel_wavelengths.h"

namespace wendrel {

// The file's pixels the row was smoothed from, and the kernel.
struct PixelErrors::SmoothingSource {
    std::shared_ptr<const Spectrum> File;
    Smoothing How;

    // The band of pixels from .. to (0-based), taken from a window of the
    // file's pixels about them, so that a span of a long row costs no pass
    // over the row; the window grows until no pixel's kernel reaches its ends.
    CovarianceBand Among(size_t from, size_t to) const {
        const size_t n = File->Flux.size();
        for (size_t margin = 64;; margin *= 4) {
            const size_t a = from - std::min(from, margin), b = std::min(n - 1, to + margin);
            std::vector<double> centres;
            for (size_t i = a; i <= b; ++i) centres.push_back(ObservedPixelCentre(*File, static_cast<int64_t>(i + 1)));
            const auto part = [&](const std::vector<double>& values) {
                return values.empty() ? std::span<const double>() : std::span(values).subspan(a, b - a + 1);
            };
            // A file without sigma: pixels of sigma 1, the band to be scaled by the scatter.
            const std::vector<double> ones(File->Sigma.empty() ? b - a + 1 : 0, 1.0);
            const std::span<const double> sigma = File->Sigma.empty() ? std::span<const double>(ones) : part(File->Sigma);
            const SpectrumRow window{centres, part(File->Flux), sigma, MediumOfText(File->Medium)};
            CovarianceBand band = SmoothedCovarianceBand(window, How, from - a, to - a);
            const size_t radius = band.Reach / 2;
            if (band.Size == 0 || ((a == 0 || radius < from - a) && (b == n - 1 || radius < b - to))) {
                band.First += a;
                return band;
            }
        }
    }
};

PixelErrors PixelErrors::Of(const Row& s) {
    if (!s.Loaded()) return {};
    PixelErrors errors(s->Sigma);
    if (!s.Smoothed || !s.Unsmoothed) return errors;
    if (s.Smoothed->Kernel == SmoothingKernel::Median) return {};
    errors.smoothing_ = std::make_shared<const SmoothingSource>(SmoothingSource{s.Unsmoothed, *s.Smoothed});
    return errors;
}

CovarianceBand PixelErrors::Among(int64_t first, int64_t last) const {
    const size_t from = static_cast<size_t>(first - 1), to = static_cast<size_t>(last - 1);
    if (smoothing_) return smoothing_->Among(from, to);
    std::vector<double> variances;
    for (size_t i = from; i <= to; ++i) variances.push_back(sigma_[i] * sigma_[i]);
    return DiagonalBand(from, std::move(variances));
}

}  // namespace wendrel
