// The +-1 sigma band: its block extents against a pixel-by-pixel scan, what
// the redraw fills for a small spectrum, the dense band by device columns
// against every pixel's rectangle, and the fitted intensity range with it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "plot/intensity_range.h"
#include "plot/painter_surface.h"
#include "plot/renderer.h"
#include "plot/uncertainty_band.h"
#include "store/band_blocks.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Slot i in percent of a level of 50: its flux is half the percent values.
Spectrum& LoadWithSigma(Workspace& ws, int i, double start, double step, std::vector<double> pct,
                        std::vector<double> pctSigma) {
    Spectrum& s = Load(ws, i, start, step, std::move(pct));
    s.Level = 50;
    for (double v : s.FluxPct) s.Flux.push_back(v / 2);
    for (double v : pctSigma) s.Sigma.push_back(v / 2);
    s.FluxBlocks = BlockExtentsOf(s.Flux);
    s.FluxMax = s.PctMax / 2;
    TakeBandBlocks(s);
    ws.View.ShowUncertainties = true;
    return s;
}

TEST(UncertaintyBand, BlockExtentsAreThoseOfEveryPixel) {
    std::mt19937 random(5);
    std::normal_distribution<double> noise(100, 20);
    std::vector<double> flux(3000), sigma(3000);
    for (size_t k = 0; k < flux.size(); ++k) flux[k] = noise(random), sigma[k] = std::abs(noise(random)) / 10;
    flux[700] = kNaN;
    sigma[1500] = kNaN;
    Spectrum s;
    std::tie(s.Flux, s.Sigma, s.Level) = std::tuple(flux, sigma, 80.0);
    TakeBandBlocks(s);
    for (const bool inFlux : {true, false}) {
        const double factor = inFlux ? 1 : 100 / 80.0;
        for (const auto& [from, to] : {std::pair<int64_t, int64_t>{0, 3000}, {5, 6}, {31, 97}, {650, 1600}, {64, 128}}) {
            ValueExtent expected;
            for (int64_t k = from; k < to; ++k) {
                const double low = factor * (flux[k] - sigma[k]), high = factor * (flux[k] + sigma[k]);
                if (std::isfinite(low + high)) expected += {low, high, false};
                else expected.blank = true;
            }
            EXPECT_EQ(BandExtentOf(BandValuesOf(s, inFlux), from, to), expected) << inFlux << " " << from;
        }
    }
}

// Pixels of 1 A from 6000 A in a view of 5999..6005 A; percent 100 +- 10, 120 +- 20, a pixel without sigma,
// 80 +- 400 (cut to the box), shown under the curve in the row's tint.
TEST(UncertaintyBand, FillsEachPixelsBandUnderItsCurveCutToTheBox) {
    Workspace ws = PlotWorkspace(5999, 6005);
    ws.View.Intensity = PlotView::IntensityRange::Fixed;
    std::tie(ws.View.IntensityLow, ws.View.IntensityHigh) = std::pair(0.0, 200.0);
    ws.slot(1).SlotColor = 255;
    LoadWithSigma(ws, 1, 6000, 1, {100, 120, 90, 80}, {10, 20, kNaN, 400});
    RecordingSurface surface;
    RedrawPlot(ws, surface, kArea);
    const auto x = [](double lambda) { return float(kX0 + kWCurve * (lambda - 5999) / 6); };
    const auto y = [](double v) { return float(kY1 - kH * v / 200); };
    const std::vector<Drawn> expected{{Drawn::Fill, BandTint(255), x(6000), y(110), x(6001), y(90)},
                                      {Drawn::Fill, BandTint(255), x(6001), y(140), x(6002), y(100)},
                                      {Drawn::Fill, BandTint(255), x(6003), float(kY0), x(6004), float(kY1)}};
    EXPECT_EQ(surface.In(BandTint(255), Drawn::Fill), expected);
    const auto firstOf = [&](Drawn::Kind kind, int32_t color) {
        return std::ranges::find_if(surface.drawn, [&](const Drawn& d) { return d.kind == kind && d.color == color; });
    };
    EXPECT_LT(firstOf(Drawn::Fill, BandTint(255)), firstOf(Drawn::Line, 255));
    EXPECT_EQ(BandTint(0x0000FF), 0xB3B3FF);

    ws.View.ShowUncertainties = false;
    RecordingSurface without;
    RedrawPlot(ws, without, kArea);
    EXPECT_TRUE(without.In(BandTint(255), Drawn::Fill).empty());
}

TEST(UncertaintyBand, FitToViewTakesTheBandIn) {
    Workspace ws = PlotWorkspace(5999, 6005);
    ws.View.Intensity = PlotView::IntensityRange::FitToView;
    LoadWithSigma(ws, 1, 6000, 1, {100, 120, 90, 80}, {10, 20, kNaN, 5});
    EXPECT_EQ(IntensityRangeFor(ws), (IntensityLimits{75 - 3.25, 140 + 3.25}));
    ws.View.ScaleFlux = true;
    EXPECT_EQ(IntensityRangeFor(ws), (IntensityLimits{37.5 - 1.625, 70 + 1.625}));
    ws.View.ShowUncertainties = false;
    EXPECT_EQ(IntensityRangeFor(ws), (IntensityLimits{40 - 1, 60 + 1}));
}

// A surface of device columns fills, in every column, the rows that the
// rectangles of the pixels meeting it fill: the envelope of a dense band with
// a narrow spike of sigma.
TEST(UncertaintyBand, ColumnsOfADenseBandCoverTheirPixelsRectangles) {
    class EveryPixelSurface : public PainterSurface {
    public:
        using PainterSurface::PainterSurface;
        double TwipsPerColumn() const override { return 0; }
    };
    Workspace ws = PlotWorkspace(5999, 6101);
    ws.View.Intensity = PlotView::IntensityRange::Fixed;
    std::tie(ws.View.IntensityLow, ws.View.IntensityHigh) = std::pair(0.0, 200.0);
    std::mt19937 random(9);
    std::normal_distribution<double> noise(100, 10);
    std::vector<double> pct(20000), sigma(20000, 5);
    for (double& v : pct) v = noise(random);
    std::tie(pct[12345], sigma[12345]) = std::pair(100.0, 60.0);
    LoadWithSigma(ws, 1, 6000, 0.005, pct, sigma);
    const auto lit = [&]<class Surface>(Surface*) {
        QImage image(QSize(kArea.width / 15, kArea.height / 15), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        {
            Surface surface(painter, QSizeF(image.size()), 15, PainterSurface::Cells);
            DrawUncertaintyBand(ws.slot(1), BandValuesOf(ws.slot(1).spectrum(), false), 0,
                                {kX0, kWCurve, 5999, 102, kY1, kH, 0, 200, kX1, kY0}, surface);
        }
        painter.end();
        std::vector<std::pair<int, int>> columns(image.width(), {-1, -1});  // first and last row lit
        for (int c = 0; c < image.width(); ++c)
            for (int r = 0; r < image.height(); ++r)
                if (image.pixel(c, r) != QColor(Qt::white).rgb()) columns[c] = {columns[c].first < 0 ? r : columns[c].first, r};
        return columns;
    };
    const auto byColumns = lit(static_cast<PainterSurface*>(nullptr));
    EXPECT_EQ(byColumns, lit(static_cast<EveryPixelSurface*>(nullptr)));
    const auto highest = std::ranges::min_element(byColumns, {}, [](auto c) { return c.first < 0 ? 1 << 30 : c.first; });
    EXPECT_LT(highest->first, int((kY1 - kH * 150 / 200) / 15));  // the spike reaches past 150 %
}

}  // namespace
}  // namespace wendrel::testing
