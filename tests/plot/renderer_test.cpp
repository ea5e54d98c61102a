// The redraw's worked examples against a recording surface.
#include "plot/renderer.h"

#include <gtest/gtest.h>

#include <numeric>

#include "analysis/velocity_axis.h"
#include "plot/line_marks.h"
#include "plot/x_axis_mapping.h"
#include "store/rest_frame.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel::testing {
namespace {


double CurveX(const Workspace& ws, double lambda) { return kX0 + kWCurve * (lambda - ws.View.PlotLeft) / (ws.View.PlotRight - ws.View.PlotLeft); }
float LevelY(const PlotLayout& l, double v) { return static_cast<float>(kY1 - kH * (v - l.yMin) / (l.yMax - l.yMin)); }

// What one redraw drew and laid out.
struct Redrawn {
    RecordingSurface s;
    PlotLayout layout;
    Redrawn(const Workspace& ws, double outerWidth = 10000) { layout = RedrawPlot(ws, s, {kArea.width, kArea.height, outerWidth}); }
    std::vector<Drawn> Curve(const Workspace& ws, int i) const { return s.In(ws.slot(i).SlotColor); }
    std::vector<float> Grid(bool vertical) const {
        std::vector<float> at;
        for (const Drawn& d : s.In(kGridColor))
            if ((d.x1 == d.x2) == vertical) at.push_back(vertical ? d.x1 : d.y1);
        return at;
    }
    // The treads and risers of slot i inside the view, then its zero-level marker.
    std::vector<Drawn> Stepped(const Workspace& ws, int i, const std::vector<double>& edges) const {
        const Row& slot = ws.slot(i);
        std::vector<Drawn> lines;
        for (size_t p = 0; p < slot->FluxPct.size(); ++p) {
            const auto x = float(CurveX(ws, edges[p])), xEnd = float(CurveX(ws, edges[p + 1]));
            const float y = LevelY(layout, slot->FluxPct[p] - slot.Offset);
            lines.push_back({Drawn::Line, slot.SlotColor, x, y, xEnd, y});
            if (p + 1 < slot->FluxPct.size())
                lines.push_back({Drawn::Line, slot.SlotColor, xEnd, y, xEnd, LevelY(layout, slot->FluxPct[p + 1] - slot.Offset)});
        }
        lines.push_back({Drawn::Line, slot.SlotColor, float(kX1), LevelY(layout, -slot.Offset), 10000, LevelY(layout, -slot.Offset)});
        return lines;
    }
};

// Nothing before a spectrum is loaded; then grid, inward ticks up and down, the box in black, the curves.
TEST(RedrawPlot, GridTicksAndBox) {
    Workspace ws = PlotWorkspace(6500, 6800);
    Load(ws, 1, 6000, 1, std::vector<double>(1000, 100));
    ws.DataReady = false;
    EXPECT_TRUE(Redrawn(ws).layout.labels.empty() && Redrawn(ws).s.drawn.empty());
    ws.DataReady = true;
    const Redrawn r(ws);
    const PlotLayout& l = r.layout;
    EXPECT_EQ((std::vector{l.x0, l.x1, l.y0, l.y1, int(l.yMax)}), (std::vector{800, 9585, 300, 4950, 100}));
    const float x0 = kX0, x1 = kX1, y0 = kY0, y1 = kY1;
    EXPECT_EQ(std::vector(r.s.drawn.begin(), r.s.drawn.begin() + 3), (std::vector<Drawn>{{Drawn::Line, kGridColor, x0, y0, x0, y1},
        {Drawn::Line, kBoxColor, x0, y0, x0, y0 + 100}, {Drawn::Line, kBoxColor, x0, y1 - 100, x0, y1}}));
    const std::vector<float> xs = r.Grid(true);
    ASSERT_EQ(xs.size(), 7u);
    for (size_t k = 0; k < xs.size(); ++k) EXPECT_NEAR(xs[k], kX0 + (kX1 - kX0) * static_cast<double>(k) / 6, 0.01);
    EXPECT_EQ(r.Grid(false), (std::vector<float>{y1, LevelY(l, 20), LevelY(l, 40), LevelY(l, 60), LevelY(l, 80), y0}));
    const auto curve = std::ranges::find(r.s.drawn, ws.slot(1).SlotColor, &Drawn::color);
    EXPECT_EQ(std::vector(curve - 4, curve), (std::vector<Drawn>{{Drawn::Line, kBoxColor, x0, y0, x1, y0},
        {Drawn::Line, kBoxColor, x1, y0, x1, y1}, {Drawn::Line, kBoxColor, x1, y1, x0, y1}, {Drawn::Line, kBoxColor, x0, y1, x0, y0}}));
}

// Ticks at the view's ends or inside it; a top tick at or under the highest level.
TEST(RedrawPlot, Labels) {
    const struct { double left, right, pctMax, firstTick, lastTick, topTick; const char *first, *last, *top, *step;
                   WavelengthUnit unit = WavelengthUnit::Angstrom; const char* title = "Wavelength /Angstroms";
                   double rest = 0; } cases[] = {
        {6562.5, 6564.5, 250, 6562.5, 6564.5, 250, " 6562.", " 6564.", " 250  ", " 50"},
        {6540, 6850, 175, 6550, 6850, 160, " 6550", " 6850", " 160  ", " 20"},
        {6540, 6850, 175, 6550, 6850, 160, " 655", " 685", " 160  ", " 20", WavelengthUnit::Nanometre, "Wavelength /nm"},
        // Velocities about H alpha: ticks at -1000 and 1000 km/s, at the wavelengths of those velocities.
        {6540, 6585, 175, WavelengthOfVelocity(-1000, 6562.8), WavelengthOfVelocity(1000, 6562.8), 160, "-1000", " 1000",
         " 160  ", " 20", WavelengthUnit::Nanometre, "Velocity /km/s about 6562.8 A (air)", 6562.8}};
    for (const auto& c : cases) {
        Workspace ws = PlotWorkspace(c.left, c.right);
        std::tie(ws.View.XUnit, ws.View.VelocityRestLambda) = std::tuple(c.unit, c.rest);
        Load(ws, 1, 6000, 1, std::vector<double>(1000, c.pctMax));
        const Redrawn r(ws, 12000);
        const auto expect = [&](PlotLabel l, double left, double top, std::string caption) {
            const PlacedLabel& p = r.layout.labels.at(l);
            EXPECT_EQ(std::tuple(p.left, p.top, p.caption), std::tuple(left, top, caption)) << c.left << " " << int(l);
        };
        expect(PlotLabel::WavelengthFirstTick, CurveX(ws, c.firstTick) - 200, 5000, c.first);
        expect(PlotLabel::WavelengthLastTick, CurveX(ws, c.lastTick) - 200, 5000, c.last);
        expect(PlotLabel::WavelengthTitle, 12000 * 0.7, 5200, c.title);
        expect(PlotLabel::IntensityTopTick, 0, kY1 - kH * c.topTick / c.pctMax - 100, c.top);
        expect(PlotLabel::IntensityBottomTick, 0, kY1 - 100, "0     ");
        expect(PlotLabel::IntensityStep, 0, 0.6 * kH + kY0, c.step);
    }
}

TEST(XAxis, TypedRestWavelengths) {
    const struct { const char* typed; double rest; bool refused; } cases[] = {
        {" 6562.80 ", 6562.8, false}, {"", 0, false}, {"0", 0, false}, {"-5", 9, true}, {"H alpha", 9, true},
        {"1e999", 9, true}, {"6562.8 A", 9, true}};
    for (const auto& c : cases) {
        double rest = 9;
        const std::string why = ReadVelocityRest(c.typed, rest);
        EXPECT_EQ(std::tuple(rest, why.empty()), std::tuple(c.rest, !c.refused)) << c.typed;
        if (c.refused) {
            EXPECT_NE(why.find(std::string("\"") + c.typed + "\" is not a positive number"), std::string::npos) << why;
        }
    }
}

// A linear slot, one given by edges of unequal widths, blank (not finite) pixels, which
// leave out their tread and the risers to and from them, an offset that moves curve and
// marker, and slots at velocity v drawn at their wavelengths divided by 1 + v/c.
TEST(RedrawPlot, CurvesAtTheirWavelengthsAndLevels) {
    Workspace ws = PlotWorkspace(5900, 6200);
    Load(ws, 1, 6000, 1, {10, 20, 30, 40});
    Load(ws, 2, 6000, 0, {10, 20, 30}).PixelEdge = {6000, 6001, 6003, 6010};
    Load(ws, 3, 6000, 1, {10, 20, kNaN, 40, 50, -INFINITY});
    Load(ws, 4, 6000, 1, {50, 100, 50});
    ws.slot(4).Offset = -75;
    Load(ws, 5, 6000, 1, {10, 20});
    ws.slot(5).Velocity = -4000;
    Load(ws, 6, 6000, 0, {10, 20}).PixelEdge = {6000, 6001, 6003}, ws.slot(6);
    ws.slot(6).Velocity = -4000;
    const Redrawn r(ws);
    EXPECT_EQ(r.layout.yMax, 175);
    EXPECT_EQ(r.Curve(ws, 1), r.Stepped(ws, 1, {6000, 6001, 6002, 6003, 6004}));
    EXPECT_EQ(r.Curve(ws, 2), r.Stepped(ws, 2, ws.slot(2)->PixelEdge));
    auto gaps = r.Stepped(ws, 3, {6000, 6001, 6002, 6003, 6004, 6005, 6006});
    std::erase_if(gaps, [](const Drawn& d) { return !std::isfinite(d.y1) || !std::isfinite(d.y2); });
    EXPECT_EQ(r.Curve(ws, 3), gaps);
    EXPECT_EQ(r.Curve(ws, 4), r.Stepped(ws, 4, {6000, 6001, 6002, 6003}));
    const double f = RestFrameFactor(-4000);
    EXPECT_EQ(r.Curve(ws, 5), r.Stepped(ws, 5, {6000 / f, 6001 / f, 6002 / f}));
    EXPECT_EQ(r.Curve(ws, 6), r.Stepped(ws, 6, {6000 / f, 6001 / f, 6003 / f}));
}

// The pixels in view round halves to even; a view beside a slot draws only its marker.
TEST(RedrawPlot, PixelsInView) {
    const struct { double left, right; int64_t first, last; } cases[] = {
        {6010.5, 6032.5, 12, 32}, {6011.5, 6033.5, 12, 34}, {6000, 6064, 1, 64}, {6100, 6200, 101, 64}, {5000, 5100, 1, -900}};
    for (const bool edges : {false, true})
        for (const auto& c : cases) {
            Workspace ws = PlotWorkspace(c.left, c.right);
            std::vector<double> ramp(64);
            std::iota(ramp.begin(), ramp.end(), 1.0);
            Spectrum& slot = Load(ws, 1, 6000, 1, ramp);
            for (int p = 0; edges && p <= 64; ++p) slot.PixelEdge.push_back(6000 + p);
            const Redrawn r(ws);
            EXPECT_EQ(std::tuple(r.layout.pixels[1].first, r.layout.pixels[1].last), std::tuple(c.first, c.last)) << c.left;
            const auto lines = r.Curve(ws, 1);
            if (c.first > c.last) EXPECT_EQ(lines.size(), 1u) << c.left;
            else EXPECT_EQ(std::pair(lines[0].x1, lines[0].y1), std::pair(float(kX0), LevelY(r.layout, c.first))) << c.left;
        }
}

// An axis without a positive span gets no grid and empty labels; nothing divides by it.
// Curves below the box are cut off, the markers are not.
TEST(RedrawPlot, AxesWithoutSpan) {
    const struct { double left, right; int offset; size_t xs, ys, curveLines; } cases[] = {
        {6500, 6500, 0, 0, 6, 1}, {6500, 6400, 0, 0, 6, 1}, {6000, 6300, 100, 7, 0, 4}, {6000, 6300, 150, 7, 0, 1}};
    for (const auto& c : cases) {
        Workspace ws = PlotWorkspace(c.left, c.right);
        Load(ws, 1, 6000, 1, {20, 100, 60});
        ws.slot(1).Offset = c.offset;
        const Redrawn r(ws);
        EXPECT_EQ(std::tuple(r.Grid(true).size(), r.Grid(false).size(), r.Curve(ws, 1).size()), std::tuple(c.xs, c.ys, c.curveLines))
            << c.right << " " << c.offset;
        for (const auto& [label, placed] : r.layout.labels) {
            const size_t lines = label == PlotLabel::WavelengthFirstTick || label == PlotLabel::WavelengthLastTick ? c.xs : c.ys;
            EXPECT_TRUE(label == PlotLabel::WavelengthTitle || label == PlotLabel::IntensityTitle ||
                        placed.caption.empty() == (lines == 0)) << int(label);
        }
        EXPECT_TRUE(std::ranges::all_of(r.s.drawn, [](const Drawn& d) { return std::isfinite(0.0 + d.x1 + d.y1 + d.x2 + d.y2); }));
    }
}

// Wavelengths and pixel numbers beyond 16 bits; the riser on the view's right end, one twip beyond the box, is cut.
TEST(RedrawPlot, FarWavelengths) {
    Workspace ws = PlotWorkspace(49000, 49000.5);
    Load(ws, 1, 40000, 0.1, std::vector<double>(100000, 90));
    const Redrawn r(ws);
    EXPECT_EQ(std::tuple(r.layout.pixels[1].first, r.layout.pixels[1].last), std::tuple(90001, 90005));
    EXPECT_EQ(std::tuple(r.Grid(true).size(), r.Curve(ws, 1).size()), std::tuple(5u, 5u * 2));
    EXPECT_EQ(r.layout.labels.at(PlotLabel::WavelengthLastTick).caption, " 49000.4");  // " 49000" would read as 49000.3
}

// Marks of the chosen sets' lines inside the view, at the curves' mapping,
// drawn before the curves (their names' rows: tests/plot/look_test.cpp).
TEST(RedrawPlot, LineMarksUnderTheCurves) {
    Workspace ws = PlotWorkspace(6548.05, 6800);  // starts exactly on [N II] 6548.05
    Load(ws, 1, 6000, 1, std::vector<double>(1000, 100));
    EXPECT_TRUE(Redrawn(ws).s.In(kLineMarkColor, Drawn::Dashed).empty());
    ws.View.LineMarkSets = {"balmer", "nii-sii", "o2", "cahk", "not-a-set"};
    const Redrawn r(ws);
    std::vector<Drawn> marks;
    for (const double lambda : {6548.05, 6562.80, 6583.45, 6716.44, 6730.82}) {
        const auto x = float(CurveX(ws, lambda));
        marks.push_back({Drawn::Dashed, kLineMarkColor, x, float(r.layout.y0), x, float(kY1)});
    }
    EXPECT_EQ(r.s.In(kLineMarkColor, Drawn::Dashed), marks);
    const auto curve = std::ranges::find(r.s.drawn, ws.slot(1).SlotColor, &Drawn::color);
    EXPECT_LT(std::ranges::find(r.s.drawn, marks.back()), curve);
    // At vacuum wavelengths H alpha moves to 6564.61 A; [N II] 6548.05 to 6549.86.
    EXPECT_NEAR(AirToVacuum(6562.80), 6564.61, 0.005);
    EXPECT_TRUE(LineMediumChosen(ws, true));
    const auto vacuum = Redrawn(ws).s.In(kLineMarkColor, Drawn::Dashed);
    ASSERT_EQ(vacuum.size(), 5u);
    EXPECT_EQ(vacuum[1].x1, float(CurveX(ws, AirToVacuum(6562.80))));  // left to right: [N II] first
}

}  // namespace
}  // namespace wendrel::testing
