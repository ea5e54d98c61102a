#include "plot/renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "plot/number_format.h"
#include "tests/plot/recording_surface.h"

namespace wendrel {
namespace {

using testing::RecordedLine;
using testing::RecordingSurface;
using testing::SurfaceCall;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A plot window of 10000 x 7000 twips: box 800..9585 across, 300..4950 down.
constexpr int kWinWidth = 10000, kWinHeight = 7000;
constexpr double kOuterWidth = 10000;
constexpr double kX0 = 800, kX1 = 9585, kY0 = 300, kY1 = 4950;
constexpr double kW = kX1 - kX0, kWCurve = kW + 1, kH = kY1 - kY0;

void Load(Workspace& ws, int i, double lambdaStart, double dLambda, std::vector<double> pct) {
    Slot& s = ws.slot(i);
    s.Loaded = true;
    s.Naxis1 = static_cast<double>(pct.size());
    s.LambdaStart = lambdaStart;
    s.DLambda = dLambda;
    s.LambdaEnd = lambdaStart + s.Naxis1 * dLambda;
    s.PctMax = -9999;
    for (double v : pct)
        if (std::isfinite(v)) s.PctMax = std::max(s.PctMax, v);
    s.FluxPct = std::move(pct);
    ws.DataReady = true;
}

Workspace PlotWorkspace(double left, double right) {
    Workspace ws;
    ws.PlotWinWidth = kWinWidth;
    ws.PlotWinHeight = kWinHeight;
    ws.PlotLeft = left;
    ws.PlotRight = right;
    for (int i = 1; i <= kMaxSlots; ++i) ws.slot(i).Offset = 0;
    return ws;
}

std::vector<double> Flat(size_t n, double v) { return std::vector<double>(n, v); }

double CurveX(const Workspace& ws, double lambda) {
    return kX0 + kWCurve * (lambda - ws.PlotLeft) / (ws.PlotRight - ws.PlotLeft);
}
double LevelY(const PlotLayout& layout, double v) {
    return kY1 - kH * (v - layout.yMin) / (layout.yMax - layout.yMin);
}

std::vector<float> GridXs(const RecordingSurface& s) {
    std::vector<float> xs;
    for (const auto& l : s.LinesIn(kGridColor))
        if (l.Vertical()) xs.push_back(l.x1);
    return xs;
}
std::vector<float> GridYs(const RecordingSurface& s) {
    std::vector<float> ys;
    for (const auto& l : s.LinesIn(kGridColor))
        if (l.Horizontal() && !l.Vertical()) ys.push_back(l.y1);
    return ys;
}

TEST(RedrawPlot, NothingBeforeASpectrumIsLoaded) {
    Workspace ws = PlotWorkspace(6000, 7000);
    Load(ws, 1, 6000, 1, Flat(1000, 100));
    ws.DataReady = false;
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_EQ(layout.x1, 0);
    EXPECT_TRUE(layout.labels.empty());
    EXPECT_EQ(layout.pixels[1].last, 0);
}

TEST(RedrawPlot, LayoutOfTheBoxAndIntensityAxis) {
    Workspace ws = PlotWorkspace(6000, 7000);
    Load(ws, 1, 6000, 1, Flat(1000, 100));
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    EXPECT_EQ((std::vector<double>{layout.yMin, layout.yMax}), (std::vector<double>{0, 100}));
    EXPECT_EQ((std::vector<double>{static_cast<double>(layout.x0), static_cast<double>(layout.x1),
                                   static_cast<double>(layout.y0), static_cast<double>(layout.y1)}),
              (std::vector<double>{kX0, kX1, kY0, kY1}));
    EXPECT_EQ(layout.labels.size(), kPlotLabels.size());
}

// The grid lines of the wavelength axis: the first at the view's left end,
// then one every step.
TEST(RedrawPlot, WavelengthStepFromSpan) {
    const struct {
        double span;
        double step;
        size_t lines;
    } cases[] = {{300, 50, 7},   {1000, 200, 6}, {700, 100, 8}, {500, 100, 6},
                 {200, 50, 5},   {120, 20, 7},
                 // The 32-bit step 0.1 lies a hair above 0.1: 6000.5 is just short of a whole step.
                 {0.5, 0.1, 5},
                 {999.9999, 200, 5}};
    for (const auto& c : cases) {
        Workspace ws = PlotWorkspace(6000, 6000 + c.span);
        Load(ws, 1, 5000, 1, Flat(3000, 100));
        RecordingSurface surface;
        const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
        const auto xs = GridXs(surface);
        ASSERT_EQ(xs.size(), c.lines) << "span " << c.span;
        EXPECT_EQ(xs[0], kX0);
        // Tick values are 32-bit: near 6000 they sit on a grid of 1/2048.
        const double tolerance = kW * (1.0 / 2048) / c.span + 0.01;
        for (size_t k = 1; k < xs.size(); ++k)
            EXPECT_NEAR(xs[k] - xs[k - 1], kW * c.step / c.span, tolerance) << c.span;
    }
}

TEST(RedrawPlot, TickMarksPointInwardFromTopAndBottom) {
    Workspace ws = PlotWorkspace(6500, 6800);
    Load(ws, 1, 6000, 1, Flat(1000, 100));
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    const auto lines = surface.Lines();
    // The first tick is at 6500, exactly the box's left edge; the last at 6800, its right edge.
    const auto grid = std::find_if(lines.begin(), lines.end(), [](const RecordedLine& l) { return l.color == kGridColor; });
    ASSERT_NE(grid, lines.end());
    EXPECT_EQ(grid->x1, kX0);
    EXPECT_EQ(grid->y1, kY0);
    EXPECT_EQ(grid->y2, kY1);
    EXPECT_EQ(grid[1].color, kBoxColor);
    EXPECT_EQ((std::vector<float>{grid[1].x1, grid[1].y1, grid[1].x2, grid[1].y2}),
              (std::vector<float>{kX0, kY0, kX0, kY0 + 100}));
    EXPECT_EQ((std::vector<float>{grid[2].x1, grid[2].y1, grid[2].x2, grid[2].y2}),
              (std::vector<float>{kX0, kY1 - 100, kX0, kY1}));
    EXPECT_EQ(GridXs(surface).back(), kX1);
}

TEST(RedrawPlot, WavelengthLabels) {
    const struct {
        double left, right;
        const char *first, *last;
        double firstTick, lastTick;
    } cases[] = {
        {6562.5, 6564.5, " 6562.", " 6564.", 6562.5, 6564.5},
        {6550, 6850, " 6550", " 6850", 6550, 6850},
        {6540, 6840, " 6550", " 6800", 6550, 6800},
    };
    for (const auto& c : cases) {
        Workspace ws = PlotWorkspace(c.left, c.right);
        Load(ws, 1, 6000, 1, Flat(1000, 100));
        RecordingSurface surface;
        const PlotLayout layout = RedrawPlot(ws, surface, 12000);
        const PlacedLabel l1 = layout.labels.at(PlotLabel::WavelengthFirstTick);
        const PlacedLabel l2 = layout.labels.at(PlotLabel::WavelengthLastTick);
        EXPECT_EQ(l1.caption, c.first);
        EXPECT_EQ(l2.caption, c.last);
        EXPECT_DOUBLE_EQ(l1.left, CurveX(ws, c.firstTick) - 200);
        EXPECT_DOUBLE_EQ(l2.left, CurveX(ws, c.lastTick) - 200);
        EXPECT_EQ(l1.top, kWinHeight - 2000);
        EXPECT_EQ(l2.top, kWinHeight - 2000);
        const PlacedLabel l3 = layout.labels.at(PlotLabel::WavelengthTitle);
        EXPECT_EQ(l3.caption, "Wavelength /Angstroms");
        EXPECT_DOUBLE_EQ(l3.left, 12000 * 0.7);
        EXPECT_EQ(l3.top, kWinHeight - 1800);
    }
}

TEST(RedrawPlot, IntensityAxisTicksAndLabels) {
    const struct {
        double pctMax;
        double step;
        const char *top, *stepText;
    } cases[] = {{250, 50, " 250  ", " 50"}, {120, 20, " 120  ", " 20"}, {175, 20, " 160  ", " 20"}};
    for (const auto& c : cases) {
        Workspace ws = PlotWorkspace(6000, 6300);
        Load(ws, 1, 6000, 1, Flat(300, c.pctMax));
        RecordingSurface surface;
        const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
        std::vector<float> expected;
        for (double v = 0; v <= c.pctMax; v += c.step) expected.push_back(static_cast<float>(LevelY(layout, v)));
        EXPECT_EQ(GridYs(surface), expected) << c.pctMax;
        const double topTick = std::floor(c.pctMax / c.step) * c.step;
        const PlacedLabel l4 = layout.labels.at(PlotLabel::IntensityTopTick);
        EXPECT_EQ(l4.caption, c.top);
        EXPECT_EQ(l4.left, 0);
        EXPECT_DOUBLE_EQ(l4.top, LevelY(layout, topTick) - 100);
        const PlacedLabel l8 = layout.labels.at(PlotLabel::IntensityBottomTick);
        EXPECT_EQ(l8.caption, "0     ");
        EXPECT_DOUBLE_EQ(l8.top, kY1 - 100);
        const PlacedLabel l6 = layout.labels.at(PlotLabel::IntensityStep);
        EXPECT_EQ(l6.caption, c.stepText);
        EXPECT_DOUBLE_EQ(l6.top, 0.6 * kH + kY0);
    }
}

TEST(RedrawPlot, BoxInBlackAfterTheGrid) {
    Workspace ws = PlotWorkspace(6000, 6300);
    Load(ws, 1, 6000, 1, Flat(300, 100));
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    const auto lines = surface.Lines();
    const std::vector<std::vector<float>> box = {
        {kX0, kY0, kX1, kY0}, {kX1, kY0, kX1, kY1}, {kX1, kY1, kX0, kY1}, {kX0, kY1, kX0, kY0}};
    size_t at = 0;
    while (at < lines.size() && lines[at].color != ws.slot(1).SlotColor) ++at;
    ASSERT_GE(at, 4u);
    for (size_t k = 0; k < 4; ++k) {
        const auto& l = lines[at - 4 + k];
        EXPECT_EQ(l.color, kBoxColor);
        EXPECT_EQ((std::vector<float>{l.x1, l.y1, l.x2, l.y2}), box[k]);
    }
}

// A slot inside the view: treads from its start to its end, one riser
// between neighbours, none after the last pixel.
TEST(RedrawPlot, SlotWhollyInsideTheView) {
    Workspace ws = PlotWorkspace(5900, 6200);
    Load(ws, 1, 6000, 1, {10, 20, 30, 40});
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    EXPECT_EQ(layout.pixels[1].first, 1);
    EXPECT_EQ(layout.pixels[1].last, 4);
    const auto lines = surface.LinesIn(ws.slot(1).SlotColor);
    ASSERT_EQ(lines.size(), 4u + 3u + 1u);
    const std::vector<double> values = {10, 20, 30, 40};
    float x = static_cast<float>(CurveX(ws, 6000));
    for (size_t p = 0; p < 4; ++p) {
        const auto xEnd = static_cast<float>(CurveX(ws, 6000 + static_cast<double>(p + 1)));
        const auto y = static_cast<float>(LevelY(layout, values[p]));
        const RecordedLine& tread = lines[2 * p];
        EXPECT_EQ((std::vector<float>{tread.x1, tread.y1, tread.x2, tread.y2}), (std::vector<float>{x, y, xEnd, y}));
        if (p < 3) {
            const RecordedLine& riser = lines[2 * p + 1];
            const auto yNext = static_cast<float>(LevelY(layout, values[p + 1]));
            EXPECT_EQ((std::vector<float>{riser.x1, riser.y1, riser.x2, riser.y2}),
                      (std::vector<float>{xEnd, y, xEnd, yNext}));
        }
        x = xEnd;
    }
    EXPECT_EQ(lines[6].x2, static_cast<float>(CurveX(ws, ws.slot(1).LambdaEnd)));
}

TEST(RedrawPlot, ViewStartingAndEndingInsideASlot) {
    Workspace ws = PlotWorkspace(6010.3, 6050.6);
    std::vector<double> values(100);
    for (size_t k = 0; k < values.size(); ++k) values[k] = static_cast<double>(k + 1);
    Load(ws, 1, 6000, 1, values);
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    EXPECT_EQ(layout.pixels[1].first, 11);
    EXPECT_EQ(layout.pixels[1].last, 51);
    const auto lines = surface.LinesIn(ws.slot(1).SlotColor);
    ASSERT_EQ(lines.size(), 41u * 2 + 1);
    // The first tread starts at the box's left edge at the level of pixel 11.
    EXPECT_EQ(lines.front().x1, kX0);
    EXPECT_EQ(lines.front().y1, static_cast<float>(LevelY(layout, 11)));
    // The curve ends with the riser after pixel 51, up to pixel 52's level.
    const RecordedLine& riser = lines[lines.size() - 2];
    EXPECT_EQ(riser.x1, static_cast<float>(CurveX(ws, 6051)));
    EXPECT_EQ(riser.y2, static_cast<float>(LevelY(layout, 52)));
}

TEST(RedrawPlot, FirstAndLastPixelRoundHalvesToEven) {
    const struct {
        double left, right;
        int64_t first, last;
    } cases[] = {{6010.5, 6032.5, 12, 32}, {6011.5, 6033.5, 12, 34}, {6000, 6064, 1, 64}};
    for (const auto& c : cases) {
        Workspace ws = PlotWorkspace(c.left, c.right);
        Load(ws, 1, 6000, 1, Flat(64, 50));
        RecordingSurface surface;
        const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
        EXPECT_EQ(layout.pixels[1].first, c.first) << c.left;
        EXPECT_EQ(layout.pixels[1].last, c.last) << c.right;
    }
}

TEST(RedrawPlot, SlotsOutsideTheViewDrawOnlyTheirMarker) {
    Workspace ws = PlotWorkspace(6000, 6300);
    Load(ws, 1, 7000, 1, Flat(100, 50));  // right of the view
    Load(ws, 2, 5000, 1, Flat(100, 50));  // left of the view
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    EXPECT_EQ(layout.pixels[1].first, 1);
    EXPECT_EQ(layout.pixels[1].last, -700);
    EXPECT_EQ(layout.pixels[2].first, 1001);
    EXPECT_EQ(layout.pixels[2].last, 100);
    for (int i : {1, 2}) {
        const auto lines = surface.LinesIn(ws.slot(i).SlotColor);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].x1, kX1);
        EXPECT_EQ(lines[0].x2, kWinWidth);
    }
}

TEST(RedrawPlot, OffsetsMoveCurvesAndMarkers) {
    Workspace ws = PlotWorkspace(6000, 6300);
    Load(ws, 1, 6000, 1, {50, 100, 50});
    Load(ws, 2, 6000, 1, {50, 100, 50});
    ws.slot(1).Offset = -75;
    ws.slot(2).Offset = 0;
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    EXPECT_EQ(layout.yMax, 175);
    EXPECT_EQ(FindYMax(ws), 175);
    const auto one = surface.LinesIn(ws.slot(1).SlotColor);
    const auto two = surface.LinesIn(ws.slot(2).SlotColor);
    ASSERT_EQ(one.size(), two.size());
    EXPECT_FLOAT_EQ(two[0].y1 - one[0].y1, static_cast<float>(kH * 75 / 175));
    // Markers: slot 1 at intensity 75, slot 2 at 0 (the box's bottom edge).
    EXPECT_EQ(one.back().y1, static_cast<float>(LevelY(layout, 75)));
    EXPECT_EQ(two.back().y1, kY1);
    EXPECT_EQ(one.back().y2, one.back().y1);
}

TEST(RedrawPlot, SlotsInOrderEachInItsColour) {
    Workspace ws = PlotWorkspace(6000, 6300);
    Load(ws, 3, 6000, 1, Flat(10, 50));
    Load(ws, 1, 6000, 1, Flat(10, 60));
    Load(ws, 10, 6000, 1, Flat(10, 70));
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    std::vector<int32_t> slotColours;
    for (const auto& c : surface.calls)
        if (c.kind == SurfaceCall::Color && c.color != kGridColor && c.color != kBoxColor) slotColours.push_back(c.color);
    EXPECT_EQ(slotColours, (std::vector<int32_t>{255, 1694938, 15}));
}

TEST(FindYMax, OnlyLoadedSlotsAndAtLeastMinus9999) {
    Workspace ws;
    EXPECT_EQ(FindYMax(ws), -9999);
    ws.slot(2).PctMax = 500;
    ws.slot(4).Loaded = true;
    ws.slot(4).PctMax = 120;
    ws.slot(4).Offset = 30;
    EXPECT_EQ(FindYMax(ws), 90);
}

// Views at wavelengths and pixel numbers beyond 16 bits draw in full.
TEST(RedrawPlot, FarWavelengthsAndPixelNumbers) {
    Workspace ws = PlotWorkspace(50010, 50010.5);
    Load(ws, 1, 50000, 0.01, Flat(3000, 80));
    std::vector<double> many(100000, 90);
    Load(ws, 2, 40000, 0.1, many);
    ws.PlotLeft = 49000;
    ws.PlotRight = 49000.5;
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    EXPECT_EQ(layout.pixels[2].first, 90001);
    EXPECT_EQ(layout.pixels[2].last, 90005);
    EXPECT_EQ(GridXs(surface).size(), 5u);
    EXPECT_EQ(layout.labels.at(PlotLabel::WavelengthFirstTick).caption, " 49000");
    EXPECT_EQ(layout.labels.at(PlotLabel::WavelengthLastTick).caption, " 49000");
    EXPECT_EQ(surface.LinesIn(ws.slot(2).SlotColor).size(), 5u * 2 + 1);

    ws.PlotLeft = 50010;
    ws.PlotRight = 50010.5;
    RecordingSurface again;
    const PlotLayout second = RedrawPlot(ws, again, kOuterWidth);
    EXPECT_EQ(second.pixels[1].first, 1001);
    EXPECT_EQ(second.pixels[1].last, 1050);
    EXPECT_EQ(GridXs(again).size(), 5u);
}

TEST(RedrawPlot, VeryNarrowViewsKeepTheirGrid) {
    for (const double left : {6562.5, 33000.25, 1e6}) {
        Workspace ws = PlotWorkspace(left, left + 0.0002);
        Load(ws, 1, left - 1, 0.0001, Flat(30000, 80));
        RecordingSurface surface;
        const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
        const auto xs = GridXs(surface);
        ASSERT_GE(xs.size(), 2u) << left;
        for (size_t k = 1; k < xs.size(); ++k) {
            EXPECT_GT(xs[k], xs[k - 1]);
            EXPECT_NEAR(xs[k] - xs[k - 1], xs[1] - xs[0], 1.0);
        }
        for (float x : xs) {
            EXPECT_GE(x, kX0);
            EXPECT_LE(x, kX1);
        }
        EXPECT_FALSE(surface.LinesIn(ws.slot(1).SlotColor).empty());
    }
}

bool AllFinite(const std::vector<RecordedLine>& lines) {
    return std::all_of(lines.begin(), lines.end(), [](const RecordedLine& l) {
        return std::isfinite(l.x1) && std::isfinite(l.y1) && std::isfinite(l.x2) && std::isfinite(l.y2);
    });
}

TEST(RedrawPlot, NoWavelengthSpanDrawsTheRest) {
    for (const double right : {6500.0, 6400.0}) {
        Workspace ws = PlotWorkspace(6500, right);
        Load(ws, 1, 6000, 1, Flat(1000, 100));
        RecordingSurface surface;
        const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
        EXPECT_TRUE(GridXs(surface).empty());
        EXPECT_EQ(GridYs(surface).size(), 6u);
        EXPECT_EQ(layout.labels.at(PlotLabel::WavelengthFirstTick).caption, "");
        EXPECT_EQ(layout.labels.at(PlotLabel::WavelengthLastTick).caption, "");
        EXPECT_EQ(layout.labels.at(PlotLabel::WavelengthTitle).caption, "Wavelength /Angstroms");
        EXPECT_EQ(layout.labels.at(PlotLabel::IntensityTopTick).caption, " 100  ");
        const auto curve = surface.LinesIn(ws.slot(1).SlotColor);
        ASSERT_EQ(curve.size(), 1u);  // the marker alone
        EXPECT_EQ(curve[0].x1, kX1);
        EXPECT_TRUE(AllFinite(surface.Lines()));
    }
}

TEST(RedrawPlot, NoIntensitySpanDrawsTheRest) {
    for (const int offset : {100, 150}) {
        Workspace ws = PlotWorkspace(6000, 6300);
        Load(ws, 1, 6000, 1, {20, 100, 60});
        ws.slot(1).Offset = offset;
        RecordingSurface surface;
        const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
        EXPECT_EQ(layout.yMax, 100.0 - offset);
        EXPECT_TRUE(GridYs(surface).empty());
        EXPECT_EQ(GridXs(surface).size(), 7u);
        for (PlotLabel l : {PlotLabel::IntensityTopTick, PlotLabel::IntensityBottomTick, PlotLabel::IntensityStep})
            EXPECT_EQ(layout.labels.at(l).caption, "");
        EXPECT_EQ(layout.labels.at(PlotLabel::WavelengthFirstTick).caption, " 6000");
        EXPECT_EQ(surface.LinesIn(ws.slot(1).SlotColor).size(), 3u + 2u + 1u);
        EXPECT_TRUE(AllFinite(surface.Lines()));
    }
}

// A blank pixel leaves out its tread and the risers to and from it.
TEST(RedrawPlot, BlankPixelsAreGaps) {
    Workspace ws = PlotWorkspace(6000, 6300);
    Load(ws, 1, 6000, 1, {10, 20, kNaN, 40, 50, kNaN});
    RecordingSurface surface;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    const auto lines = surface.LinesIn(ws.slot(1).SlotColor);
    EXPECT_TRUE(AllFinite(lines));
    // Treads 1, 2, 4, 5; risers 1-2 and 4-5; the marker.
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2].x2, static_cast<float>(CurveX(ws, 6002)));
    EXPECT_EQ(lines[3].x1, static_cast<float>(CurveX(ws, 6003)));
    EXPECT_EQ(lines[3].y1, lines[3].y2);
}

// On a surface with device columns, many pixels per column become few lines.
TEST(RedrawPlot, DenseCurvesDrawFewLinesPerColumn) {
    Workspace ws = PlotWorkspace(6000, 7000);
    std::vector<double> values(1'000'000);
    for (size_t k = 0; k < values.size(); ++k) values[k] = 50 + 40 * std::sin(static_cast<double>(k) * 0.01);
    Load(ws, 1, 6000, 0.001, values);
    RecordingSurface surface;
    surface.twipsPerColumn = 15;
    const PlotLayout layout = RedrawPlot(ws, surface, kOuterWidth);
    const size_t columns = static_cast<size_t>(kW / 15) + 2;
    EXPECT_LE(surface.LinesIn(ws.slot(1).SlotColor).size(), 3 * columns);
}

}  // namespace
}  // namespace wendrel
