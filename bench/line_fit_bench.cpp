// A fit of three blended Gaussians on a sloped continuum over 500 noisy
// pixels (goal: under 20 ms), and a line measurement with its errors (goal:
// under 1 ms), each on fresh noise every round; both also on the row
// smoothed by a Gaussian of 100 km/s (11 pixels FWHM), whose errors take the
// kernel's covariance of neighbouring pixels; the measurement also on a
// smoothed row of 10^6 pixels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "app/row_smoothing.h"
#include "plot/line_fit.h"
#include "plot/line_measure.h"

namespace {

// 500 pixels of 0.2 A from 6500 A: an emission, an absorption and an
// emission line 5 and 6 A apart on 10 + 0.01 (lambda - 6550), noise of 0.1.
wendrel::Row ThreeLines(std::mt19937& random, int pixels = 500) {
    auto s = std::make_shared<wendrel::Spectrum>();
    s->Sigma.assign(static_cast<size_t>(pixels), 0.1);
    s->Level = 10;
    std::tie(s->FileName, s->Naxis1, s->Lambda0, s->DLambda) = std::tuple("bench.fits", pixels, 6500, 0.2);
    std::tie(s->LambdaStart, s->LambdaEnd) = std::tuple(6499.9, 6499.9 + 0.2 * pixels);
    std::normal_distribution<double> noise(0, 0.1);
    const auto gauss = [](double x, double centre, double sigma) { return std::exp(-0.5 * std::pow((x - centre) / sigma, 2)); };
    for (int i = 0; i < pixels; ++i) {
        const double x = 6500 + 0.2 * i;
        s->Flux.push_back(10 + 0.01 * (x - 6550) + 5 * gauss(x, 6544, 0.8) - 3 * gauss(x, 6550, 1.0) + 4 * gauss(x, 6555, 0.7) +
                         noise(random));
    }
    wendrel::Row row;
    row.Data = std::move(s);
    return row;
}

// The row as View > Smooth ... shows it.
wendrel::Row Smoothed(wendrel::Row row) {
    wendrel::Workspace ws;
    ws.slot(1) = std::move(row);
    const std::string refusal = wendrel::SmoothRow(ws, 1, wendrel::Smoothing{wendrel::SmoothingKernel::GaussianVelocity, 100});
    if (!refusal.empty()) std::abort();
    return ws.slot(1);
}

void ThreeGaussiansOver500Pixels(benchmark::State& state, bool smoothed) {
    std::mt19937 random(3);
    for (auto _ : state) {
        state.PauseTiming();
        const wendrel::Row s = smoothed ? Smoothed(ThreeLines(random)) : ThreeLines(random);
        state.ResumeTiming();
        const wendrel::LineFit fit =
            wendrel::FitLine(s, 6499.9, 6599.9, wendrel::LineProfile::Gauss, 3, wendrel::PixelErrors::Of(s));
        if (!fit.Refusal.empty()) state.SkipWithError(fit.Refusal.c_str());
        benchmark::DoNotOptimize(fit.Chi2);
    }
}
BENCHMARK_CAPTURE(ThreeGaussiansOver500Pixels, file_sigma, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThreeGaussiansOver500Pixels, smoothed, true)->Unit(benchmark::kMillisecond);

void MeasurementWithErrors(benchmark::State& state, bool smoothed, int pixels) {
    std::mt19937 random(5);
    const wendrel::Row s = smoothed ? Smoothed(ThreeLines(random, pixels)) : ThreeLines(random, pixels);
    for (auto _ : state) {
        const wendrel::LineMeasurement m = wendrel::MeasureLine(s, 6540, 6548, {}, wendrel::PixelErrors::Of(s));
        if (!m.Refusal.empty()) state.SkipWithError(m.Refusal.c_str());
        benchmark::DoNotOptimize(m.Flux.Error);
    }
}
BENCHMARK_CAPTURE(MeasurementWithErrors, file_sigma, false, 500)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MeasurementWithErrors, smoothed, true, 500)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MeasurementWithErrors, smoothed_1e6_pixels, true, 1000000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
