// The plot's intensity axis: its range in each mode and scale, curves cut to the
// box, flux labels and title, and the legend.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "plot/intensity_range.h"
#include "plot/painter_surface.h"
#include "plot/renderer.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel::testing {
namespace {

using Range = PlotView::IntensityRange;

// Slot 1 at 6000..6004 A and slot 2 at 6010..6012 A; their flux is percent / 1e17.
Workspace TwoSlots() {
    Workspace ws = PlotWorkspace(5990, 6020);
    for (Spectrum* s : {&Load(ws, 1, 6000, 1, {100, 120, kNaN, 80}), &Load(ws, 2, 6010, 1, {50, 60})}) {
        for (double v : s->FluxPct) s->Flux.push_back(v * 1e-17);
        s->FluxBlocks = BlockExtentsOf(s->Flux);
        s->FluxMax = s->PctMax * 1e-17;
    }
    ws.slot(1).Offset = 20;
    ws.slot(2).Offset = -10;
    return ws;
}

// Offsets move the values down (slot 1 by 20, slot 2 up by 10; in flux by that percentage of 1.2e-15):
// slot 1 shows 80, 100, 60 (flux 0.76, 0.96, 0.56e-15), slot 2 60, 70 (0.62, 0.72e-15);
// fitted ranges keep 5 % of their span either side.
TEST(IntensityRange, ModesScalesAndOffsets) {
    const struct { Range mode; bool flux; double left, right, low, high; } cases[] = {
        {Range::Automatic, false, 5990, 6020, 0, 100},
        {Range::Automatic, true, 5990, 6020, 0, 0.96e-15},
        {Range::FitToView, false, 5990, 6020, 58, 102},
        {Range::FitToView, false, 6000.6, 6003.4, 95, 105},  // pixels 2 and 3, the blank one left out: 5 % of 100
        {Range::FitToView, false, 6010.2, 6011.4, 57, 63},   // slot 2's first pixel only
        {Range::FitToView, true, 5990, 6020, 0.54e-15, 0.98e-15},
        {Range::FitToView, false, 7000, 7100, 0, 100},       // nothing in view: automatic
        {Range::Fixed, true, 5990, 6020, -1, 2}};
    for (const auto& c : cases) {
        Workspace ws = TwoSlots();
        std::tie(ws.View.Intensity, ws.View.ScaleFlux, ws.View.PlotLeft, ws.View.PlotRight, ws.View.IntensityLow, ws.View.IntensityHigh) =
            std::tuple(c.mode, c.flux, c.left, c.right, -1, 2);
        const IntensityLimits range = IntensityRangeFor(ws);
        EXPECT_NEAR(range.low, c.low, 1e-9 * std::abs(c.high)) << int(c.mode) << c.flux << " " << c.left;
        EXPECT_NEAR(range.high, c.high, 1e-9 * std::abs(c.high)) << int(c.mode) << c.flux << " " << c.left;
    }
}

// Whole value blocks and the partial ones at the view's ends give the extremes of every pixel in view.
TEST(IntensityRange, BlocksGiveTheExtremesOfThePixelsInView) {
    std::mt19937 random(3);
    std::normal_distribution<double> noise(100, 20);
    std::vector<double> values(5000);
    for (double& v : values) v = random() % 97 == 0 ? kNaN : noise(random);
    Workspace ws = PlotWorkspace(0, 0);
    Load(ws, 1, 6000, 0.01, values);
    ws.View.Intensity = Range::FitToView;
    std::uniform_real_distribution<double> at(5999, 6051);
    for (int k = 0; k < 200; ++k) {
        std::tie(ws.View.PlotLeft, ws.View.PlotRight) = std::minmax(at(random), at(random));
        const DrawnPixels drawn = DrawnPixelsOf(ws.slot(1), ws.View.PlotLeft, ws.View.PlotRight);
        double low = INFINITY, high = -INFINITY;
        for (int64_t p = drawn.first; p <= drawn.last; ++p)
            if (const double v = values[size_t(p - 1)]; std::isfinite(v)) low = std::min(low, v), high = std::max(high, v);
        if (!(low < high)) continue;
        const IntensityLimits range = IntensityRangeFor(ws);
        EXPECT_EQ(range, (IntensityLimits{low - 0.05 * (high - low), high + 0.05 * (high - low)})) << ws.View.PlotLeft;
    }
}

// Curves leave the box in every direction (a fixed range, wide pixels past the view's right end);
// only the zero-level markers in the right margin light cells outside it, and only those within the range
// (slot 1's zero level, at -20, lies below it).
TEST(IntensityRange, CurvesAreCutToTheBox) {
    Workspace ws = TwoSlots();
    Load(ws, 3, 5995, 3, {90, 300, -100, 90, 300, -100, 90, 90, 90});  // pixel 8 ends 1.4 A past the view
    std::tie(ws.View.PlotLeft, ws.View.PlotRight, ws.View.Intensity, ws.View.IntensityLow, ws.View.IntensityHigh) =
        std::tuple(5999.5, 6017.6, Range::Fixed, -5, 110);
    QImage image(QSize(667, 467), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PainterSurface surface(painter, QSizeF(image.size()), 15, PainterSurface::Cells);
        RedrawPlot(ws, surface, kArea);
    }
    const int x0 = kX0 / 15, x1 = kX1 / 15, y0 = kY0 / 15, y1 = kY1 / 15;
    int inside = 0, markers = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)).hsvSaturation() == 0) continue;  // white, grey, black
            if (x >= x0 && x <= x1 && y >= y0 && y <= y1) ++inside;
            else EXPECT_TRUE(x > x1 && y >= y0 && y <= y1 && QColor(image.pixel(image.width() - 1, y)) == QColor(image.pixel(x, y)))
                << x << "," << y;
            markers += x == image.width() - 1;
        }
    EXPECT_GT(inside, 100);
    EXPECT_EQ(markers, 2);
}

// Flux ticks in three significant digits, never a bare 0 for a value that is not; the title names the unit
// and that the curves are offset.
TEST(IntensityRange, FluxLabelsAndTitle) {
    Workspace ws = TwoSlots();
    Change(ws.slot(1)).FluxUnit = Change(ws.slot(2)).FluxUnit = "erg/s/cm2/A";
    const auto captions = [&] {
        std::vector<std::string> texts;
        RecordingSurface surface;
        for (const auto& [label, placed] : RedrawPlot(ws, surface, kArea).labels)
            if (label >= PlotLabel::IntensityTopTick) texts.push_back(placed.caption);
        return texts;  // top tick, step, bottom tick, title
    };
    EXPECT_EQ(captions(), (std::vector<std::string>{" 100  ", " 20", "0     ", ""}));
    ws.View.ScaleFlux = true;
    EXPECT_EQ(captions(), (std::vector<std::string>{"9.00e-16", "1.00e-16", "0", "Flux (erg/s/cm2/A), curves offset"}));
    std::tie(ws.View.Intensity, Change(ws.slot(2)).FluxUnit) = std::tuple(Range::FitToView, "W/m2/nm");
    EXPECT_EQ(captions(), (std::vector<std::string>{"9.50e-16", "5.00e-17", "5.50e-16", "Flux (mixed units), curves offset"}));
}

// One row per loaded slot, slot order, inside the box's top right corner; named by the object, else the file.
TEST(IntensityRange, LegendRows) {
    Workspace ws = TwoSlots();
    std::tie(Change(ws.slot(1)).ObjectName, Change(ws.slot(2)).FileName, ws.View.ShowLegend) = std::tuple("  NGC 1068 ", "b.fits", true);
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kArea);
    ASSERT_EQ(layout.legend.size(), 2u);
    const LegendEntry &first = layout.legend[0], &second = layout.legend[1];
    EXPECT_EQ(std::tuple(first.slot, second.slot, first.y1, second.x0, second.x1), std::tuple(1, 2, second.y0, first.x0, first.x1));
    EXPECT_TRUE(first.x0 > kX0 && first.x1 < kX1 && first.y0 > kY0 && second.y1 < kY1);
    std::vector<std::string> names;
    for (const Drawn& d : surface.In(kBoxColor, Drawn::Text)) names.push_back(d.text);
    EXPECT_EQ(names, (std::vector<std::string>{"NGC 1068", "b.fits"}));
    EXPECT_EQ(surface.In(ws.slot(2).SlotColor, Drawn::Fill).size(), 1u);
    ws.View.ShowLegend = false;
    EXPECT_TRUE(RedrawPlot(ws, surface, kArea).legend.empty());
}

}  // namespace
}  // namespace wendrel::testing
