// Cross-correlating two rows of 3,000 pixels (goal: under 10 ms) and of
// 1,000,000 pixels (goal: under 1 s), and smoothing 1,000,000 pixels with a
// Gaussian of 50 pixels FWHM (goal: under 50 ms), without and with sigma:
// on a log-linear grid, where one set of taps serves the row, and as km/s on
// a grid linear in lambda, where the kernel's width in pixels varies.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "analysis/cross_correlation.h"
#include "analysis/smoothing.h"
#include "analysis/velocity_axis.h"

namespace {

struct Row {
    std::vector<double> Wavelength, Flux, Sigma;
    wendrel::SpectrumRow View() const { return {Wavelength, Flux, Sigma, wendrel::Medium::Vacuum}; }
};

// n pixels of equal steps in ln(lambda) (or in lambda) from 3800 to 9200 A,
// an absorption line every 40 A at velocity v on a sloped continuum, 2% noise.
Row Lines(size_t n, double v, unsigned seed, bool linear = false) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 0.02);
    Row row;
    const double logStep = std::log(9200.0 / 3800.0) / static_cast<double>(n - 1);
    const double step = 5400.0 / static_cast<double>(n - 1);
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i);
        const double lambda = linear ? 3800 + step * x : 3800 * std::exp(logStep * x);
        const double rest = lambda / (1 + v / wendrel::kSpeedOfLightKms);
        const double offset = std::remainder(rest - 3810, 40.0);
        row.Wavelength.push_back(lambda);
        row.Flux.push_back((1 + 1e-4 * (lambda - 3800)) * (1 - 0.5 * std::exp(-0.5 * std::pow(offset / 3, 2))) + noise(random));
        row.Sigma.push_back(0.02);
    }
    return row;
}

void CrossCorrelateRows(benchmark::State& state) {
    const size_t n = static_cast<size_t>(state.range(0));
    const Row templ = Lines(n, 0, 1), object = Lines(n, 4321, 2);
    for (auto _ : state) {
        const wendrel::CrossCorrelation found = wendrel::CrossCorrelate(templ.View(), 0, object.View());
        if (!found.Refusal.empty() || std::abs(found.VelocityKms - 4321) > 3 * found.ErrorKms + 1)
            state.SkipWithError("wrong velocity");
        benchmark::DoNotOptimize(found.VelocityKms);
    }
}
BENCHMARK(CrossCorrelateRows)->Arg(3000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void SmoothByGaussianOf50Pixels(benchmark::State& state) {
    Row row = Lines(1000000, 0, 3);
    if (state.range(0) == 0) row.Sigma.clear();
    // 50 pixels of the log-linear grid, as km/s: one set of taps for the row.
    const double fwhm = 50 * wendrel::kSpeedOfLightKms * std::log(9200.0 / 3800.0) / 999999;
    for (auto _ : state) {
        const wendrel::SmoothedRow out = wendrel::Smooth(row.View(), {wendrel::SmoothingKernel::GaussianVelocity, fwhm});
        benchmark::DoNotOptimize(out.Flux.data());
    }
}
BENCHMARK(SmoothByGaussianOf50Pixels)->ArgName("sigma")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void SmoothLinearGridByVelocityOf50Pixels(benchmark::State& state) {
    Row row = Lines(1000000, 0, 3, true);
    if (state.range(0) == 0) row.Sigma.clear();
    // 50 pixels of 0.0054 A at 6500 A, as km/s: 29 pixels at the row's blue end, 71 at its red.
    const double fwhm = 50 * wendrel::kSpeedOfLightKms * (5400.0 / 999999) / 6500;
    for (auto _ : state) {
        const wendrel::SmoothedRow out = wendrel::Smooth(row.View(), {wendrel::SmoothingKernel::GaussianVelocity, fwhm});
        if (!out.Refusal.empty()) state.SkipWithError(out.Refusal.c_str());
        benchmark::DoNotOptimize(out.Flux.data());
    }
}
BENCHMARK(SmoothLinearGridByVelocityOf50Pixels)->ArgName("sigma")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
