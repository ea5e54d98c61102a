// Full plot redraws into a 1600 x 1000-pixel image: ten slots of 3000 and of
// 1,000,000 pixels, drawn as per-column envelopes (as the plot window draws)
// and, for comparison, segment by segment. Prints the medians and the ratios.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "plot/painter_surface.h"
#include "plot/renderer.h"

namespace {

using wendrel::PainterSurface;
using wendrel::Workspace;

constexpr double kTwipsPerPixel = 15;
const QSize kImageSize(1600, 1000);

// Draws every tread and riser: the redraw without envelopes.
class EverySegmentSurface : public PainterSurface {
public:
    using PainterSurface::PainterSurface;
    double TwipsPerColumn() const override { return 0; }
};

// Ten slots of noisy spectra with a dip at 6563 Angstroms; with `logLinear`
// their pixels are given by edges spaced evenly in log10 of the wavelength
// over the same range, as the reader leaves a log-linear spectrum.
Workspace TenSlots(size_t pixels, bool logLinear = false) {
    Workspace ws;
    ws.PlotWinWidth = static_cast<int>(kImageSize.width() * kTwipsPerPixel);
    ws.PlotWinHeight = static_cast<int>(kImageSize.height() * kTwipsPerPixel);
    std::mt19937 random(42);
    std::normal_distribution<double> noise(0, 3);
    for (int i = 1; i <= wendrel::kMaxSlots; ++i) {
        wendrel::Slot& s = ws.slot(i);
        s.Loaded = true;
        s.Naxis1 = static_cast<double>(pixels);
        s.LambdaStart = 6000 + i;
        s.DLambda = 1000.0 / static_cast<double>(pixels);
        s.LambdaEnd = s.LambdaStart + s.Naxis1 * s.DLambda;
        if (logLinear) {
            const double logStart = std::log10(s.LambdaStart), logStep = (std::log10(s.LambdaEnd) - logStart) / s.Naxis1;
            s.PixelEdge.resize(pixels + 1);
            for (size_t k = 0; k <= pixels; ++k) s.PixelEdge[k] = std::pow(10.0, logStart + static_cast<double>(k) * logStep);
            s.LambdaEnd = s.PixelEdge.back();
            s.Dispersion = "log-linear";
        }
        s.FluxPct.resize(pixels);
        s.PctMax = -9999;
        for (size_t p = 0; p < pixels; ++p) {
            const double lambda = s.PixelEdge.empty() ? s.LambdaStart + static_cast<double>(p) * s.DLambda : s.PixelEdge[p];
            const double line = 60 * std::exp(-std::pow((lambda - 6563) / 2, 2));
            s.FluxPct[p] = 100 - line + noise(random);
            s.PctMax = std::max(s.PctMax, s.FluxPct[p]);
        }
    }
    ws.LambdaMin = ws.PlotLeft = 6001;
    ws.LambdaMax = ws.PlotRight = 7010;
    ws.DataReady = true;
    return ws;
}

template <class Surface, bool LogLinear = false>
void BM_Redraw(benchmark::State& state) {
    Workspace ws = TenSlots(static_cast<size_t>(state.range(0)), LogLinear);
    QImage image(kImageSize, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        Surface surface(painter, kImageSize, kTwipsPerPixel, PainterSurface::Cells);
        benchmark::DoNotOptimize(wendrel::RedrawPlot(ws, surface, ws.PlotWinWidth));
    }
    benchmark::DoNotOptimize(image.constBits());
    state.SetItemsProcessed(state.iterations() * state.range(0) * wendrel::kMaxSlots);
}

BENCHMARK(BM_Redraw<PainterSurface>)
    ->Name("redraw/envelope")->Arg(3000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_Redraw<PainterSurface, true>)
    ->Name("redraw/envelope_log_linear")->Arg(3000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_Redraw<EverySegmentSurface>)
    ->Name("redraw/every_segment")->Arg(3000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Keeps the console output and remembers each benchmark's median time.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median") medians[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;  // milliseconds
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nmedians of a full redraw, 10 slots, %dx%d-pixel image:\n", kImageSize.width(), kImageSize.height());
    for (const char* pixels : {"3000", "1000000"}) {
        const auto envelope = reporter.medians.find(std::string("redraw/envelope/") + pixels);
        const auto naive = reporter.medians.find(std::string("redraw/every_segment/") + pixels);
        if (envelope == reporter.medians.end() || naive == reporter.medians.end()) continue;
        std::printf("  %8s px per slot: envelope %9.3f ms, every segment %9.3f ms, %6.1fx faster\n", pixels,
                    envelope->second, naive->second, naive->second / envelope->second);
        const auto logLinear = reporter.medians.find(std::string("redraw/envelope_log_linear/") + pixels);
        if (logLinear != reporter.medians.end())
            std::printf("  %8s px per slot: envelope of log-linear slots %9.3f ms\n", pixels, logLinear->second);
    }
    benchmark::Shutdown();
    return 0;
}
