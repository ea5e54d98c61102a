// Full plot redraws into a 1600 x 1000-pixel image: ten slots of 3000 and of
// 1,000,000 pixels, drawn as per-column envelopes (as the plot window draws),
// also with their +-1 sigma bands, and, for comparison, segment by segment. Prints the medians and the ratios.
// Then the redraws of a wheel and drag zoom over ten slots of 1,000,000
// pixels, with the automatic intensity range and fitted to the view, each
// redraw timed: their median and worst time; again with every tick labelled,
// line marks and the legend in its quietest corner.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <array>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "plot/painter_surface.h"
#include "plot/renderer.h"
#include "store/band_blocks.h"

namespace {

using wendrel::PainterSurface;
using wendrel::PlotView;
using wendrel::Workspace;

constexpr double kTwipsPerPixel = 15;
const QSize kImageSize(1600, 1000);
// The outer size of the plot window that shows that image, in twips.
constexpr wendrel::PlotArea kArea{24000, 15000, 24000};

// Draws every tread and riser: the redraw without envelopes.
class EverySegmentSurface : public PainterSurface {
public:
    using PainterSurface::PainterSurface;
    double TwipsPerColumn() const override { return 0; }
};

// Ten slots of noisy spectra with a dip at 6563 Angstroms; with `logLinear`
// their pixels are given by edges spaced evenly in log10 of the wavelength
// over the same range, as the reader leaves a log-linear spectrum; with
// `sigma` each pixel has an uncertainty of 3 % and the bands are shown.
Workspace TenSlots(size_t pixels, bool logLinear = false, bool sigma = false) {
    Workspace ws;
    std::mt19937 random(42);
    std::normal_distribution<double> noise(0, 3);
    for (int i = 1; i <= wendrel::kMaxSlots; ++i) {
        auto data = std::make_shared<wendrel::Spectrum>();
        wendrel::Spectrum& s = *data;
        s.Naxis1 = static_cast<double>(pixels);
        s.ObjectName = "Star " + std::to_string(i);
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
        s.PctBlocks = wendrel::BlockExtentsOf(s.FluxPct);
        if (sigma) {
            s.Level = 100;
            s.Flux = s.FluxPct;
            s.Sigma.assign(pixels, 3);
            wendrel::TakeBandBlocks(s);
        }
        ws.slot(i).Data = std::move(data);
    }
    ws.View.LambdaMin = ws.View.PlotLeft = 6001;
    ws.View.LambdaMax = ws.View.PlotRight = 7010;
    ws.DataReady = true;
    ws.View.ShowUncertainties = sigma;
    return ws;
}

template <class Surface, bool LogLinear = false, bool Sigma = false>
void BM_Redraw(benchmark::State& state) {
    Workspace ws = TenSlots(static_cast<size_t>(state.range(0)), LogLinear, Sigma);
    QImage image(kImageSize, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        Surface surface(painter, kImageSize, kTwipsPerPixel, PainterSurface::Cells);
        benchmark::DoNotOptimize(wendrel::RedrawPlot(ws, surface, kArea));
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
BENCHMARK(BM_Redraw<PainterSurface, false, true>)
    ->Name("redraw/envelope_with_bands")->Arg(3000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_Redraw<EverySegmentSurface>)
    ->Name("redraw/every_segment")->Arg(3000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The views of a zoom: the mouse wheel about H alpha from the full range in
// notches of 1.25 down to 5 pixels and out again, then drags to spans of 500
// down to 0.01 Angstroms across the range.
std::vector<std::pair<double, double>> ZoomViews(const Workspace& ws) {
    std::vector<std::pair<double, double>> in;
    constexpr double kCursor = 6563, kNarrowest = 0.005;
    for (double left = ws.View.LambdaMin, right = ws.View.LambdaMax; right - left > kNarrowest;) {
        in.emplace_back(left, right);
        left = kCursor - (kCursor - left) / 1.25;
        right = kCursor + (right - kCursor) / 1.25;
    }
    std::vector<std::pair<double, double>> views = in;
    views.insert(views.end(), in.rbegin(), in.rend());
    for (const double span : {500.0, 100.0, 10.0, 1.0, 0.1, 0.01})
        for (const double centre : {6300.0, 6563.0, 6900.0}) views.emplace_back(centre - span / 2, centre + span / 2);
    return views;
}

// Args: 0 for the automatic intensity range, 1 fitted to the view; 1 for
// every tick labelled, the line marks of four sets and the legend.
void BM_ZoomRedraws(benchmark::State& state) {
    Workspace ws = TenSlots(1'000'000);
    ws.View.Intensity = state.range(0) ? PlotView::IntensityRange::FitToView : PlotView::IntensityRange::Automatic;
    if (state.range(1)) {
        ws.View.Look.AxisLabels = wendrel::PlotLook::Axes::Every;
        ws.View.LineMarkSets = {"balmer", "nad", "nii-sii", "hei"};
        ws.View.ShowLegend = true;
    }
    const std::vector<std::pair<double, double>> views = ZoomViews(ws);
    QImage image(kImageSize, QImage::Format_RGB32);
    const auto redraw = [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterSurface surface(painter, kImageSize, kTwipsPerPixel, PainterSurface::Cells);
        benchmark::DoNotOptimize(wendrel::RedrawPlot(ws, surface, kArea));
    };
    redraw();  // the plot is on show before the zoom starts
    std::vector<double> times;  // milliseconds
    for (auto _ : state) {
        for (const auto& [left, right] : views) {
            std::tie(ws.View.PlotLeft, ws.View.PlotRight) = std::tie(left, right);
            const auto start = std::chrono::steady_clock::now();
            redraw();
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::ranges::sort(times);
    state.counters["redraws"] = static_cast<double>(times.size());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["worst_ms"] = times.back();
}

BENCHMARK(BM_ZoomRedraws)->Name("redraw/zoom_1000000")->Args({0, 0})->Args({1, 0})->Args({0, 1})->Args({1, 1})
    ->Iterations(3)->Unit(benchmark::kMillisecond);

// Keeps the console output and remembers each benchmark's median time.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") medians[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
            if (run.counters.contains("worst_ms"))
                zooms[run.run_name.args] = {run.counters.at("median_ms"), run.counters.at("worst_ms"), run.counters.at("redraws")};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;  // milliseconds
    std::map<std::string, std::array<double, 3>> zooms;  // by "intensity/look": median, worst (ms), redraws
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // The labels and the legend are measured in the drawing font, which needs a GUI application.
    int qtArgc = 3;
    char name[] = "redraw_bench", platform[] = "-platform", offscreen[] = "offscreen";
    char* qtArgv[] = {name, platform, offscreen, nullptr};
    const QGuiApplication app(qtArgc, qtArgv);
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
        const auto bands = reporter.medians.find(std::string("redraw/envelope_with_bands/") + pixels);
        if (bands != reporter.medians.end())
            std::printf("  %8s px per slot: envelope with +-1 sigma bands %9.3f ms\n", pixels, bands->second);
    }
    for (const auto& [mode, figures] : reporter.zooms)
        std::printf("  zoom over 10 slots of 1000000 px, %s intensity%s: %.0f redraws, median %6.2f ms, worst %6.2f ms\n",
                    mode.starts_with("0") ? "automatic" : "fitted",
                    mode.ends_with("/1") ? ", every tick labelled, line marks, legend" : "", figures[2], figures[0],
                    figures[1]);
    benchmark::Shutdown();
    return 0;
}
