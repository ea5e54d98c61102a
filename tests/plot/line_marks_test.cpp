// The redraw of shifted slots and of laboratory line marks, against a
// recording surface.
#include "plot/line_marks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "plot/pixel_wavelengths.h"
#include "plot/renderer.h"
#include "store/rest_frame.h"
#include "tests/plot/recording_surface.h"

namespace wendrel {
namespace {

using testing::RecordedLine;
using testing::RecordingSurface;
using testing::SurfaceCall;

// A plot window of 10000 x 7000 twips: box 800..9585 across, 300..4950 down.
constexpr double kX0 = 800, kX1 = 9585, kY0 = 300, kY1 = 4950;
constexpr double kWCurve = kX1 - kX0 + 1;

Workspace PlotWorkspace(double left, double right) {
    Workspace ws;
    ws.PlotWinWidth = 10000;
    ws.PlotWinHeight = 7000;
    ws.PlotLeft = left;
    ws.PlotRight = right;
    for (int i = 1; i <= kMaxSlots; ++i) ws.slot(i).Offset = 0;
    return ws;
}

// A slot of n pixels from `start` in steps of `step`, with one bright pixel.
void Load(Workspace& ws, int i, double start, double step, int n, int brightPixel = 0) {
    Slot& s = ws.slot(i);
    s.Loaded = true;
    s.Naxis1 = n;
    s.LambdaStart = start;
    s.DLambda = step;
    s.LambdaEnd = start + n * step;
    s.FluxPct.assign(static_cast<size_t>(n), 100);
    if (brightPixel > 0) s.FluxPct[static_cast<size_t>(brightPixel - 1)] = 300;
    s.PctMax = brightPixel > 0 ? 300 : 100;
    ws.DataReady = true;
}

double CurveX(const Workspace& ws, double lambda) {
    return kX0 + kWCurve * (lambda - ws.PlotLeft) / (ws.PlotRight - ws.PlotLeft);
}

std::vector<std::string> TextsOf(const RecordingSurface& s) {
    std::vector<std::string> texts;
    for (const SurfaceCall& c : s.Texts()) texts.push_back(c.caption);
    return texts;
}

TEST(LineMarks, OnlyTheChosenSetsLinesInsideTheViewAreMarked) {
    Workspace ws = PlotWorkspace(6548.05, 6800);  // starts exactly on [N II] 6548.05
    Load(ws, 1, 6000, 1, 1000);
    ws.LineMarkSets = {"balmer", "nii-sii", "o2"};
    RecordingSurface surface;
    RedrawPlot(ws, surface, 10000);

    const std::vector<double> expected = {6562.80, 6548.05, 6583.45, 6716.44, 6730.82};  // in table order
    const auto dashed = surface.DashedLines();
    ASSERT_EQ(dashed.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(expected[k]);
        EXPECT_EQ(dashed[k].color, kLineMarkColor);
        EXPECT_FLOAT_EQ(dashed[k].x1, static_cast<float>(CurveX(ws, expected[k])));
        EXPECT_TRUE(dashed[k].Vertical());
        EXPECT_EQ(dashed[k].y1, kY0);
        EXPECT_EQ(dashed[k].y2, kY1);
    }
    EXPECT_EQ(TextsOf(surface), (std::vector<std::string>{"H\u03b1", "[N II]", "[N II]", "[S II]", "[S II]"}));
    for (const SurfaceCall& text : surface.Texts()) {
        EXPECT_EQ(text.color, kLineMarkColor);
        EXPECT_LT(text.y1, kY0);  // above the box, where no curve goes
        EXPECT_GT(text.y1, 0);
    }
    EXPECT_EQ(surface.Texts()[0].x1, dashed[0].x1);
}

TEST(LineMarks, NoneWithoutAChosenSetOrOutsideTheView) {
    Workspace ws = PlotWorkspace(6000, 7000);
    Load(ws, 1, 6000, 1, 1000);
    RecordingSurface none;
    RedrawPlot(ws, none, 10000);
    EXPECT_TRUE(none.DashedLines().empty());
    EXPECT_TRUE(none.Texts().empty());

    ws.LineMarkSets = {"cahk", "oiii", "not-a-set"};  // all their lines lie bluewards of the view
    RecordingSurface outside;
    RedrawPlot(ws, outside, 10000);
    EXPECT_TRUE(outside.DashedLines().empty());
    EXPECT_TRUE(outside.Texts().empty());

    // Zoomed out to take them in, they appear.
    ws.PlotLeft = 3900;
    RecordingSurface wide;
    RedrawPlot(ws, wide, 10000);
    EXPECT_EQ(wide.DashedLines().size(), 4u);
}

TEST(LineMarks, DrawnBeforeTheCurvesSoTheCurvesStayOnTop) {
    Workspace ws = PlotWorkspace(6500, 6600);
    Load(ws, 1, 6500, 0.5, 200);
    ws.LineMarkSets = {"balmer"};
    RecordingSurface surface;
    RedrawPlot(ws, surface, 10000);
    ptrdiff_t lastMark = -1, firstCurve = -1;
    for (size_t k = 0; k < surface.calls.size(); ++k) {
        const SurfaceCall& c = surface.calls[k];
        if (c.kind == SurfaceCall::DashedLine || c.kind == SurfaceCall::Text) lastMark = static_cast<ptrdiff_t>(k);
        if (c.kind == SurfaceCall::Line && c.color == ws.slot(1).SlotColor && firstCurve < 0)
            firstCurve = static_cast<ptrdiff_t>(k);
    }
    ASSERT_GE(lastMark, 0);
    ASSERT_GE(firstCurve, 0);
    EXPECT_LT(lastMark, firstCurve);
}

TEST(LineMarks, EverySetHasItsLinesAndAUniqueKey) {
    std::vector<std::string_view> keys;
    size_t lines = 0;
    for (const LineSet& set : LineSets()) {
        EXPECT_EQ(FindLineSet(set.Key), &set);
        keys.push_back(set.Key);
        lines += set.Lines.size();
        for (const MarkedLine& line : set.Lines) {
            EXPECT_FALSE(line.Name.empty());
            EXPECT_GT(line.Wavelength, 3800);
            EXPECT_LT(line.Wavelength, 7600);
        }
    }
    EXPECT_EQ(keys, (std::vector<std::string_view>{"balmer", "cahk", "nad", "mgb", "hei", "oiii", "nii-sii", "o2"}));
    EXPECT_EQ(lines, 24u);
    EXPECT_EQ(FindLineSet("Balmer"), nullptr);
}

TEST(LineMarks, ToggledSetsRedrawOnlyWithData) {
    Workspace ws;
    EXPECT_FALSE(LineSetToggled(ws, "hei", true));
    EXPECT_TRUE(ws.LineMarkSets.contains("hei"));
    ws.DataReady = true;
    EXPECT_TRUE(LineSetToggled(ws, "nad", true));
    EXPECT_TRUE(LineSetToggled(ws, "hei", false));
    EXPECT_EQ(ws.LineMarkSets, (std::set<std::string>{"nad"}));
    EXPECT_FALSE(LineSetToggled(ws, "nonsense", true));
    EXPECT_EQ(ws.LineMarkSets, (std::set<std::string>{"nad"}));
}

// A slot drawn at velocity v lands where a slot at rest whose wavelengths
// were divided by 1 + v/c lands: the same pixels in view, the same segments.
TEST(ShiftedSlots, DrawAsTheSameSpectrumAtItsRestWavelengths) {
    for (const int velocity : {667, -4000, 32767}) {
        for (const bool edges : {false, true}) {
            SCOPED_TRACE(::testing::Message() << velocity << (edges ? " edges" : " linear"));
            const double f = RestFrameFactor(velocity);
            Workspace shifted = PlotWorkspace(6550, 6650);
            Load(shifted, 1, 6500, 0.25, 800, 300);
            shifted.slot(1).Velocity = velocity;
            Workspace atRest = PlotWorkspace(6550, 6650);
            Load(atRest, 1, 6500 / f, 0.25 / f, 800, 300);
            if (edges) {
                for (int p = 0; p <= 800; ++p) {
                    shifted.slot(1).PixelEdge.push_back(6500 + 0.25 * p);
                    atRest.slot(1).PixelEdge.push_back((6500 + 0.25 * p) / f);
                }
            }
            RecordingSurface a, b;
            const PlotLayout layoutA = RedrawPlot(shifted, a, 10000);
            const PlotLayout layoutB = RedrawPlot(atRest, b, 10000);
            EXPECT_EQ(layoutA.pixels[1].first, layoutB.pixels[1].first);
            EXPECT_EQ(layoutA.pixels[1].last, layoutB.pixels[1].last);
            const auto la = a.LinesIn(shifted.slot(1).SlotColor), lb = b.LinesIn(atRest.slot(1).SlotColor);
            ASSERT_EQ(la.size(), lb.size());
            for (size_t k = 0; k < la.size(); ++k) {
                EXPECT_NEAR(la[k].x1, lb[k].x1, 0.01);
                EXPECT_NEAR(la[k].x2, lb[k].x2, 0.01);
                EXPECT_EQ(la[k].y1, lb[k].y1);
                EXPECT_EQ(la[k].y2, lb[k].y2);
            }
        }
    }
}

TEST(ShiftedSlots, ALineObservedRedwardsSitsOnItsLaboratoryMark) {
    // Pixel 1315 of a 0.01 A scale from 6564.26 covers 6577.40 .. 6577.41.
    Workspace ws = PlotWorkspace(6555, 6570);
    Load(ws, 1, 6564.26, 0.01, 2000, 1315);
    ws.slot(1).Velocity = 667;
    ws.LineMarkSets = {"balmer"};
    RecordingSurface surface;
    RedrawPlot(ws, surface, 10000);
    ASSERT_EQ(surface.DashedLines().size(), 1u);
    const float mark = surface.DashedLines()[0].x1;
    // The peak: the tread at the top of the intensity axis.
    float peakLeft = NAN, peakRight = NAN;
    for (const RecordedLine& l : surface.LinesIn(ws.slot(1).SlotColor))
        if (l.Horizontal() && l.y1 == static_cast<float>(kY0)) peakLeft = l.x1, peakRight = l.x2;
    ASSERT_FALSE(std::isnan(peakLeft));
    const double twipsPerAngstrom = kWCurve / 15;
    EXPECT_NEAR((peakLeft + peakRight) / 2, mark, 0.01 * twipsPerAngstrom);
    EXPECT_NEAR(PixelEndLambda(ws.slot(1), 1315), 6562.8, 0.01);
}

}  // namespace
}  // namespace wendrel
