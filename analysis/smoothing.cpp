#include "analysis/smoothing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <utility>

#include "analysis/smoothing_budget.h"
#include "analysis/symmetric_convolution.h"
#include "analysis/varying_gaussian.h"
#include "analysis/velocity_axis.h"

namespace wendrel {

namespace {

constexpr double kFwhmPerSigma = 2.3548200450309493;  // 2 sqrt(2 ln 2)
constexpr double kGaussianReach = 4;                  // kernel radius in sigmas
// Steps equal to this fraction count as one grid, where one set of taps serves every pixel.
constexpr double kUniformStepTolerance = 1e-6;

bool IsLinear(SmoothingKernel k) { return k != SmoothingKernel::Median; }

// N of a boxcar or median, at most what covers the whole row either side.
long PixelCount(const Smoothing& how, size_t n) {
    return std::lround(std::min(how.Width, 2.0 * static_cast<double>(n) + 1));
}

// How the weights of a linear kernel are found: one set of taps for every
// pixel (Taps[t] at t pixels from the centre), or a Gaussian of SigmaX in
// X (lambda or ln lambda) computed per pixel where the steps in X vary.
struct KernelPlan {
    std::vector<double> Taps;
    std::vector<double> X;
    double SigmaX = 0;
    double Step = 0;  // of X, with taps
};

double SigmaXOf(SmoothingKernel kernel, double fwhm) {
    return (kernel == SmoothingKernel::GaussianVelocity ? fwhm / kSpeedOfLightKms : fwhm) / kFwhmPerSigma;
}

std::vector<double> BoxcarTaps(long n) {
    std::vector<double> taps(static_cast<size_t>(n / 2 + 1), 1.0);
    if (n % 2 == 0) taps.back() = 0.5;
    return taps;
}

KernelPlan PlanOf(const SpectrumRow& row, const Smoothing& how) {
    if (how.Kernel == SmoothingKernel::Boxcar) return {BoxcarTaps(PixelCount(how, row.Flux.size())), {}, 0};
    KernelPlan plan;
    const bool inVelocity = how.Kernel == SmoothingKernel::GaussianVelocity;
    plan.SigmaX = SigmaXOf(how.Kernel, how.Width);
    const auto xOf = [&](size_t i) { return inVelocity ? std::log(row.Wavelength[i]) : row.Wavelength[i]; };
    // X is kept only where the steps vary: a long row's copy costs more than the taps' whole convolution.
    const size_t n = row.Wavelength.size();
    const double step = (xOf(n - 1) - xOf(0)) / static_cast<double>(n - 1);
    double previous = xOf(0);
    for (size_t i = 1; i < n; ++i) {
        const double x = xOf(i);
        if (std::abs(x - std::exchange(previous, x) - step) <= kUniformStepTolerance * step) continue;
        plan.X.reserve(n);
        for (size_t j = 0; j < n; ++j) plan.X.push_back(xOf(j));
        return plan;
    }
    const size_t radius = std::min(n, static_cast<size_t>(kGaussianReach * plan.SigmaX / step));
    for (size_t t = 0; t <= radius; ++t) plan.Taps.push_back(std::exp(-0.5 * std::pow(t * step / plan.SigmaX, 2)));
    plan.Step = step;
    return plan;
}

// Weights of pixel i before blanks are taken out.
PixelWeights RawWeights(const KernelPlan& plan, size_t n, size_t i) {
    PixelWeights w;
    if (!plan.Taps.empty()) {
        const size_t radius = plan.Taps.size() - 1;
        w.First = i - std::min(i, radius);
        const size_t last = std::min(n - 1, i + radius);
        for (size_t j = w.First; j <= last; ++j) w.Weights.push_back(plan.Taps[j > i ? j - i : i - j]);
        return w;
    }
    const double reach = kGaussianReach * plan.SigmaX;
    size_t first = i, last = i;
    while (first > 0 && plan.X[i] - plan.X[first - 1] <= reach) --first;
    while (last + 1 < n && plan.X[last + 1] - plan.X[i] <= reach) ++last;
    w.First = first;
    for (size_t j = first; j <= last; ++j) w.Weights.push_back(std::exp(-0.5 * std::pow((plan.X[j] - plan.X[i]) / plan.SigmaX, 2)));
    return w;
}

// Weights over the finite pixels, summing to 1; none for a blank pixel.
PixelWeights FiniteWeights(const KernelPlan& plan, const SpectrumRow& row, size_t i) {
    if (!std::isfinite(row.Flux[i])) return {};
    PixelWeights w = RawWeights(plan, row.Flux.size(), i);
    double total = 0;
    for (size_t k = 0; k < w.Weights.size(); ++k) {
        if (!std::isfinite(row.Flux[w.First + k])) w.Weights[k] = 0;
        total += w.Weights[k];
    }
    for (double& weight : w.Weights) weight /= total;
    return w;
}

std::string SmoothingFault(const SpectrumRow& row, const Smoothing& how) {
    if (std::string fault = RowFault(row, "spectrum to smooth"); !fault.empty()) return fault;
    if (!(how.Width > 0) || !std::isfinite(how.Width)) return "The smoothing width must be a positive number.";
    if (!IsLinear(how.Kernel) || how.Kernel == SmoothingKernel::Boxcar)
        if (PixelCount(how, row.Flux.size()) < 1) return "The smoothing width must be at least one pixel.";
    return {};
}

// With one set of taps: the sums of weights times flux, weights and squared
// weights times variance are each one convolution over the row; without
// blanks the weights' sum is known from the distance to the ends.
void SmoothWithTaps(const std::vector<double>& taps, const SpectrumRow& row, SmoothedRow& out) {
    const size_t n = row.Flux.size();
    const bool anyBlank = !std::all_of(row.Flux.begin(), row.Flux.end(), [](double f) { return std::isfinite(f); });
    std::vector<double> weightSum, scratch;
    if (anyBlank) {
        std::vector<double> finiteFlux(n);
        scratch.resize(n);
        for (size_t i = 0; i < n; ++i) {
            const bool finite = std::isfinite(row.Flux[i]);
            finiteFlux[i] = finite ? row.Flux[i] : 0;
            scratch[i] = finite ? 1 : 0;
        }
        weightSum.resize(n);
        SymmetricConvolution(scratch, taps, weightSum);
        SymmetricConvolution(finiteFlux, taps, out.Flux);
    } else {
        SymmetricConvolution(row.Flux, taps, out.Flux);
    }
    std::vector<double> reach(taps.size());  // sum of taps[0 .. t]
    std::partial_sum(taps.begin(), taps.end(), reach.begin());
    const size_t radius = taps.size() - 1;
    const auto totalWeight = [&](size_t i) {
        if (anyBlank) return weightSum[i];
        return reach[std::min(radius, i)] + reach[std::min(radius, n - 1 - i)] - taps[0];
    };
    for (size_t i = 0; i < n; ++i) out.Flux[i] = std::isfinite(row.Flux[i]) ? out.Flux[i] / totalWeight(i) : NAN;
    if (row.Sigma.empty()) return;
    std::vector<double> squaredTaps(taps);
    for (double& t : squaredTaps) t *= t;
    scratch.resize(n);
    for (size_t i = 0; i < n; ++i) scratch[i] = std::isfinite(row.Flux[i]) ? row.Sigma[i] * row.Sigma[i] : 0;
    SymmetricConvolution(scratch, squaredTaps, out.Sigma);
    for (size_t i = 0; i < n; ++i)
        out.Sigma[i] = std::isfinite(row.Flux[i]) ? std::sqrt(out.Sigma[i]) / totalWeight(i) : NAN;
}

void SmoothByMedian(const SpectrumRow& row, size_t half, SmoothedRow& out) {
    const size_t n = row.Flux.size();
    std::vector<double> window;
    for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(row.Flux[i])) continue;
        window.clear();
        double variance = 0;
        for (size_t j = i - std::min(i, half); j <= std::min(n - 1, i + half); ++j) {
            if (!std::isfinite(row.Flux[j])) continue;
            window.push_back(row.Flux[j]);
            if (!row.Sigma.empty()) variance += row.Sigma[j] * row.Sigma[j];
        }
        const size_t m = window.size();
        const auto middle = window.begin() + static_cast<std::ptrdiff_t>(m / 2);
        std::nth_element(window.begin(), middle, window.end());
        out.Flux[i] = m % 2 ? *middle : 0.5 * (*middle + *std::max_element(window.begin(), middle));
        if (!row.Sigma.empty())
            out.Sigma[i] = std::sqrt(std::numbers::pi / 2) * std::sqrt(variance) / static_cast<double>(m);
    }
}

// Refused when the pixel pairs it would weigh take more than a few seconds.
std::string SmoothingTooSlowFor(const KernelPlan& plan, const SpectrumRow& row, const Smoothing& how) {
    const size_t n = row.Flux.size();
    const double pixels = static_cast<double>(n);
    if (how.Kernel == SmoothingKernel::Boxcar || how.Kernel == SmoothingKernel::Median) {
        const auto pairs = [&](double width) {
            return pixels * static_cast<double>(PixelCount({how.Kernel, width}, n) / 2 * 2 + 1);
        };
        return SmoothingTooSlow(how, n, how.Kernel == SmoothingKernel::Median ? SmoothingPath::Median : SmoothingPath::Taps, pairs);
    }
    if (!plan.Taps.empty()) {
        const auto pairs = [&](double width) {
            const double radius = std::min(pixels, std::floor(kGaussianReach * SigmaXOf(how.Kernel, width) / plan.Step));
            return pixels * (2 * radius + 1);
        };
        return SmoothingTooSlow(how, n, SmoothingPath::Taps, pairs);
    }
    const auto pairs = [&](double width) {
        return VaryingGaussianPairs(plan.X, kGaussianReach * SigmaXOf(how.Kernel, width));
    };
    return SmoothingTooSlow(how, n, SmoothingPath::VaryingGaussian, pairs);
}

}  // namespace

SmoothedRow Smooth(const SpectrumRow& row, const Smoothing& how) {
    SmoothedRow out;
    out.Refusal = SmoothingFault(row, how);
    if (!out.Refusal.empty()) return out;
    const KernelPlan plan = how.Kernel == SmoothingKernel::Median ? KernelPlan{} : PlanOf(row, how);
    out.Refusal = SmoothingTooSlowFor(plan, row, how);
    if (!out.Refusal.empty()) return out;
    out.Flux.assign(row.Flux.size(), NAN);
    if (!row.Sigma.empty()) out.Sigma.assign(row.Flux.size(), NAN);
    if (how.Kernel == SmoothingKernel::Median) {
        SmoothByMedian(row, static_cast<size_t>(PixelCount(how, row.Flux.size()) / 2), out);
        return out;
    }
    if (plan.Taps.empty())
        SmoothByVaryingGaussian({plan.X, row.Flux, row.Sigma, plan.SigmaX, kGaussianReach * plan.SigmaX}, out.Flux, out.Sigma);
    else
        SmoothWithTaps(plan.Taps, row, out);
    return out;
}

PixelWeights SmoothingWeights(const SpectrumRow& row, const Smoothing& how, size_t pixel) {
    std::vector<PixelWeights> one = SmoothingWeights(row, how, pixel, pixel);
    return one.empty() ? PixelWeights{} : std::move(one.front());
}

std::vector<PixelWeights> SmoothingWeights(const SpectrumRow& row, const Smoothing& how, size_t first, size_t last) {
    if (!IsLinear(how.Kernel) || !SmoothingFault(row, how).empty() || first > last || last >= row.Flux.size()) return {};
    // Only the pixels within the kernel's reach of first .. last are planned
    // for, so that a few weights of a long row cost no pass over it.
    const std::span<const double> lambda = row.Wavelength;
    size_t from = first, to = last;
    if (how.Kernel == SmoothingKernel::Boxcar) {
        const size_t half = static_cast<size_t>(PixelCount(how, row.Flux.size()) / 2);
        from = first - std::min(first, half), to = std::min(row.Flux.size() - 1, last + half);
    } else {
        const double reach = kGaussianReach * how.Width / kFwhmPerSigma;
        const bool inVelocity = how.Kernel == SmoothingKernel::GaussianVelocity;
        const auto within = [&](size_t a, size_t b) {
            return inVelocity ? std::log(lambda[b] / lambda[a]) * kSpeedOfLightKms <= reach : lambda[b] - lambda[a] <= reach;
        };
        while (from > 0 && within(from - 1, first)) --from;
        while (to + 1 < lambda.size() && within(last, to + 1)) ++to;
    }
    // One pixel more either side: none is lost to rounding at the reach, and there are at least two.
    from -= from > 0 ? 1 : 0;
    to += to + 1 < lambda.size() ? 1 : 0;
    const auto part = [&](std::span<const double> values) {
        return values.empty() ? values : values.subspan(from, to - from + 1);
    };
    const SpectrumRow near{part(row.Wavelength), part(row.Flux), part(row.Sigma), row.WavelengthMedium};
    const KernelPlan plan = PlanOf(near, how);
    std::vector<PixelWeights> weights;
    for (size_t i = first; i <= last; ++i) {
        weights.push_back(FiniteWeights(plan, near, i - from));
        weights.back().First += from;
    }
    return weights;
}

double SmoothedCovariance(const SpectrumRow& row, const Smoothing& how, size_t a, size_t b) {
    if (row.Sigma.empty()) return NAN;
    const PixelWeights wa = SmoothingWeights(row, how, a), wb = SmoothingWeights(row, how, b);
    if (wa.Weights.empty() || wb.Weights.empty()) return NAN;
    double covariance = 0;
    const size_t first = std::max(wa.First, wb.First);
    const size_t end = std::min(wa.First + wa.Weights.size(), wb.First + wb.Weights.size());
    for (size_t j = first; j < end; ++j)
        if (double w = wa.Weights[j - wa.First] * wb.Weights[j - wb.First]; w != 0) covariance += w * row.Sigma[j] * row.Sigma[j];
    return covariance;
}

}  // namespace wendrel
