// A fit of three blended Gaussians on a sloped continuum over 500 noisy
// pixels (goal: under 20 ms), and a line measurement with its errors (goal:
// under 1 ms), each on fresh noise every round.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "plot/line_fit.h"
#include "plot/line_measure.h"

namespace {

// 500 pixels of 0.2 A from 6500 A: an emission, an absorption and an
// emission line 5 and 6 A apart on 10 + 0.01 (lambda - 6550), noise of 0.1.
wendrel::Row ThreeLines(std::mt19937& random) {
    auto s = std::make_shared<wendrel::Spectrum>();
    std::tie(s->FileName, s->Naxis1, s->Lambda0, s->DLambda) = std::tuple("bench.fits", 500, 6500, 0.2);
    std::tie(s->LambdaStart, s->LambdaEnd) = std::tuple(6499.9, 6599.9);
    std::normal_distribution<double> noise(0, 0.1);
    const auto gauss = [](double x, double centre, double sigma) { return std::exp(-0.5 * std::pow((x - centre) / sigma, 2)); };
    for (int i = 0; i < 500; ++i) {
        const double x = 6500 + 0.2 * i;
        s->Flux.push_back(10 + 0.01 * (x - 6550) + 5 * gauss(x, 6544, 0.8) - 3 * gauss(x, 6550, 1.0) + 4 * gauss(x, 6555, 0.7) +
                         noise(random));
    }
    wendrel::Row row;
    row.Data = std::move(s);
    return row;
}

void ThreeGaussiansOver500Pixels(benchmark::State& state) {
    std::mt19937 random(3);
    for (auto _ : state) {
        state.PauseTiming();
        const wendrel::Row s = ThreeLines(random);
        state.ResumeTiming();
        const wendrel::LineFit fit = wendrel::FitLine(s, 6499.9, 6599.9, wendrel::LineProfile::Gauss, 3);
        if (!fit.Refusal.empty()) state.SkipWithError(fit.Refusal.c_str());
        benchmark::DoNotOptimize(fit.Chi2);
    }
}
BENCHMARK(ThreeGaussiansOver500Pixels)->Unit(benchmark::kMillisecond);

void MeasurementWithErrors(benchmark::State& state) {
    std::mt19937 random(5);
    const wendrel::Row s = ThreeLines(random);
    for (auto _ : state) {
        const wendrel::LineMeasurement m = wendrel::MeasureLine(s, 6540, 6548);
        benchmark::DoNotOptimize(m.Flux.Error);
    }
}
BENCHMARK(MeasurementWithErrors)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
