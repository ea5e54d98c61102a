// A full-range redraw into a 1600 x 1000-pixel image of ten rows of
// 1,000,000 pixels on a velocity axis with one rest wavelength per row (five
// lines, each row about its own, so that every row is drawn stretched), four
// of the rows smoothed (app/row_smoothing.h, kernels of a few pixels) once,
// before the timing starts. Prints the median redraw time.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "app/row_smoothing.h"
#include "app/slot_rows.h"
#include "app/velocity_axis_rows.h"
#include "plot/painter_surface.h"
#include "plot/renderer.h"
#include "store/value_blocks.h"

namespace {

using wendrel::Workspace;

constexpr size_t kPixels = 1'000'000;
const QSize kImageSize(1600, 1000);
constexpr wendrel::PlotArea kArea{24000, 15000, 24000};
constexpr double kRests[] = {6562.80, 4861.33, 4340.47, 5875.62, 6583.45};

// Row i: a noisy continuum of 100 with an emission line at its rest
// wavelength, 200 A either side, observed at a velocity of 100 i km/s.
Workspace TenRowsAboutTheirLines() {
    Workspace ws;
    std::mt19937 random(42);
    std::normal_distribution<double> noise(0, 3);
    std::vector<double> rests;
    for (int i = 1; i <= wendrel::kMaxSlots; ++i) {
        const double rest = kRests[(i - 1) % std::size(kRests)], velocity = 100.0 * i;
        const double centre = rest * (1 + velocity / 299792.458);
        auto data = std::make_shared<wendrel::Spectrum>();
        wendrel::Spectrum& s = *data;
        s.FileName = "row" + std::to_string(i) + ".fits";
        s.Naxis1 = static_cast<double>(kPixels);
        s.DLambda = 400.0 / s.Naxis1;
        s.LambdaStart = centre - 200;
        s.Lambda0 = s.LambdaStart + s.DLambda / 2;
        s.LambdaEnd = s.LambdaStart + s.Naxis1 * s.DLambda;
        s.Level = 100;
        s.Flux.resize(kPixels);
        for (size_t p = 0; p < kPixels; ++p) {
            const double x = s.LambdaStart + (static_cast<double>(p) + 0.5) * s.DLambda - centre;
            s.Flux[p] = 100 + 80 * std::exp(-x * x / 8) + noise(random);
        }
        s.FluxPct = s.Flux;
        s.FluxMax = s.PctMax = *std::max_element(s.Flux.begin(), s.Flux.end());
        s.FluxBlocks = wendrel::BlockExtentsOf(s.Flux);
        s.PctBlocks = wendrel::BlockExtentsOf(s.FluxPct);
        ws.slot(i).Data = std::move(data);
        ws.slot(i).Velocity = velocity;
        rests.push_back(rest);
    }
    ws.DataReady = true;
    // Kernels a few pixels wide: the smoothing itself is not what is timed.
    const wendrel::Smoothing kernels[] = {{wendrel::SmoothingKernel::Boxcar, 5},
                                          {wendrel::SmoothingKernel::GaussianAngstrom, 0.002},
                                          {wendrel::SmoothingKernel::Median, 5},
                                          {wendrel::SmoothingKernel::GaussianVelocity, 0.1}};
    for (int k = 0; k < 4; ++k)
        if (const std::string why = wendrel::SmoothRow(ws, 2 * k + 2, kernels[k]); !why.empty())
            std::fprintf(stderr, "%s\n", why.c_str());
    wendrel::RecalcLambdaRange(ws);
    wendrel::SetVelocityAxis(ws, rests.front(), rests);
    return ws;
}

void BM_VelocityAxisRedraw(benchmark::State& state) {
    static const Workspace ws = TenRowsAboutTheirLines();
    QImage image(kImageSize, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        wendrel::PainterSurface surface(painter, kImageSize, 15, wendrel::PainterSurface::Cells);
        benchmark::DoNotOptimize(wendrel::RedrawPlot(ws, surface, kArea));
    }
    benchmark::DoNotOptimize(image.constBits());
}

BENCHMARK(BM_VelocityAxisRedraw)
    ->Name("redraw/velocity_axis_per_row_smoothed_1000000")
    ->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // The labels are measured in the drawing font, which needs a GUI application.
    int qtArgc = 3;
    char name[] = "velocity_redraw_bench", platform[] = "-platform", offscreen[] = "offscreen";
    char* qtArgv[] = {name, platform, offscreen, nullptr};
    const QGuiApplication app(qtArgc, qtArgv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
