#include "plot/view_control.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wendrel {
namespace {

// Counts the redraws, which follow the view with the scroll bar as the
// program's plot window host does.
struct Redraws {
    int redraws = 0;
};

class ViewControlTest : public ::testing::Test {
protected:

    // The full range and the view as the window opens on them: its opening
    // sets the scroll bar while the redraw that opens it is under way.
    void Open(double lambdaMin, double lambdaMax, double left, double right) {
        ws.LambdaMin = lambdaMin;
        ws.LambdaMax = lambdaMax;
        SetView(left, right);
        ws.Drawing = true;
        view.SyncHScroll();
        ws.Drawing = false;
        ui.redraws = 0;
    }
    void SetView(double left, double right) {
        ws.PlotLeft = left;
        ws.PlotRight = right;
        ws.PlotSpan = right - left;
    }
    const ScrollBar& Bar() const { return view.Scroll(); }

    Workspace ws;
    Redraws ui;
    ViewControl view{ws, [this] {
                         ++ui.redraws;
                         view.FollowView();
                     }};
};

TEST_F(ViewControlTest, ZoomInHalvesTheSpanThreeTimesThenRefuses) {
    Open(4000, 7000, 4000, 7000);
    const double spans[] = {1500, 750, 375};
    for (double span : spans) {
        view.ZoomIn();
        EXPECT_DOUBLE_EQ(ws.PlotSpan, span);
        EXPECT_DOUBLE_EQ((ws.PlotLeft + ws.PlotRight) / 2, 5500);
    }
    EXPECT_EQ(ui.redraws, 3);
    EXPECT_EQ(Bar().Min(), 4188);  // nearest(4187.5): halves go to the even neighbour
    EXPECT_EQ(Bar().Max(), 6812);        // nearest(6812.5)
    EXPECT_EQ(Bar().SmallChange(), 38);  // nearest(37.5)
    EXPECT_EQ(Bar().LargeChange(), 375);

    view.ZoomIn();  // 187.5 is under a tenth of 3000
    EXPECT_EQ(ui.redraws, 3);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 5312.5);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 5687.5);
    EXPECT_EQ(Bar().Value(), 5500);
}

TEST_F(ViewControlTest, ZoomInAcceptsExactlyATenthOfTheFullRange) {
    Open(4000, 7000, 5250, 5850);  // 600: halving gives 300, a tenth of 3000
    view.ZoomIn();
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 300);
    EXPECT_EQ(ui.redraws, 1);
}

TEST_F(ViewControlTest, AfterAClampedZoomOutTheSpansAreQuarters) {
    Open(4000, 7000, 4000, 5500);
    view.ZoomOut();
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 2250);  // 3/4: only the right edge moved out
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 4000);
    view.ZoomIn();
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 1125);  // 3/8
    view.ZoomIn();
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 562.5);  // 3/16
    const int redraws = ui.redraws;
    const double left = ws.PlotLeft;
    view.ZoomIn();  // 3/32 is under a tenth
    EXPECT_EQ(ui.redraws, redraws);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, left);
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 562.5);
}

TEST_F(ViewControlTest, ZoomOutNearTheLeftEndRecentresOnTheNewScrollMinimum) {
    Open(4000, 7000, 4000, 4750);
    EXPECT_EQ(Bar().Value(), 4375);
    view.ZoomOut();
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 3999.5);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 5124.5);
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 1125);
    EXPECT_EQ(Bar().Min(), 4562);
    EXPECT_EQ(Bar().Max(), 6438);
    EXPECT_EQ(Bar().Value(), 4562);
    EXPECT_EQ(Bar().SmallChange(), 112);
    EXPECT_EQ(Bar().LargeChange(), 1125);
    EXPECT_EQ(ui.redraws, 2);  // the re-centring, then the button's own
}

TEST_F(ViewControlTest, ZoomOutAtFullRangeKeepsTheViewAndRedraws) {
    Open(4000, 7000, 4000, 7000);
    view.ZoomOut();
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 4000);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 7000);
    EXPECT_EQ(ui.redraws, 1);
}

TEST_F(ViewControlTest, ZoomOutSnapsAnEdgeWithinARelativeHundredThousandth) {
    Open(4000, 7000, 4200, 4599.9);
    view.ZoomOut();  // 4000.05 lies 1.25e-5 of 4000 inside: it stays
    EXPECT_NEAR(ws.PlotLeft, 4000.05, 1e-9);
    Open(4000, 7000, 4200, 4599.96);
    view.ZoomOut();  // 4000.02 lies 5e-6 of 4000 inside: it snaps
    EXPECT_EQ(ws.PlotLeft, 4000);
    Open(4000, 7000, 6400.04, 6800);
    view.ZoomOut();  // 6999.98 lies under 1e-5 of 7000 inside
    EXPECT_EQ(ws.PlotRight, 7000);
}

TEST_F(ViewControlTest, FullRangeCentresOnTheRoundedMiddle) {
    Open(4000, 7001, 4000, 5000);
    view.FullRange();
    EXPECT_EQ(Bar().Min(), 5500);  // nearest(5500.5)
    EXPECT_EQ(Bar().Max(), 5500);
    EXPECT_EQ(Bar().Value(), 5500);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 3999.5);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 7000.5);
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 3001);
}

TEST_F(ViewControlTest, ZoomInRecentresOnlyWhenThePositionMoves) {
    Open(4000.3, 7000.7, 4000.3, 7000.7);
    EXPECT_EQ(Bar().Value(), 5500);
    view.ZoomIn();
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 4750.4);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 6250.6);
    EXPECT_EQ(ui.redraws, 1);

    // The bar still stands where a panned view left it when the view is
    // reset to the full range behind its back.
    Open(4000.3, 7000.7, 4000.3, 5500.5);
    EXPECT_EQ(Bar().Value(), 4750);
    SetView(4000.3, 7000.7);
    view.ZoomIn();
    EXPECT_NEAR(ws.PlotLeft, 4749.9, 1e-9);
    EXPECT_NEAR(ws.PlotRight, 6250.1, 1e-9);
    EXPECT_EQ(Bar().Value(), 5500);
}

TEST_F(ViewControlTest, ScrollingPansByTheBarsSteps) {
    Open(4000, 7000, 5000, 5750);  // span 750: arrow 75, trough 750
    ScrollBar& bar = view.Scroll();
    bar.SetValue(bar.Value() + bar.SmallChange());
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 5075);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 5825);
    bar.SetValue(bar.Value() + bar.LargeChange());
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 5825);
    bar.Drag(6000);
    bar.Drag(bar.Max());
    EXPECT_DOUBLE_EQ(ws.PlotRight, 7000);
    EXPECT_DOUBLE_EQ(ws.PlotSpan, 750);
    bar.Release();
    EXPECT_EQ(ui.redraws, 5);
}

TEST_F(ViewControlTest, ScrollingDoesNothingWhileTheRedrawShowsTheWindow) {
    Open(4000, 7000, 5000, 5750);
    ws.Drawing = true;
    view.Scroll().SetValue(4500);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 5000);
    EXPECT_EQ(ui.redraws, 0);
}

TEST_F(ViewControlTest, FollowViewSetsTheBarWithoutMovingTheView) {
    Open(4000, 7000, 4000, 4750);
    // A load widens the full range and shows all of it.
    ws.LambdaMax = 7201;
    SetView(4000, 7201);
    view.FollowView();
    EXPECT_EQ(ui.redraws, 0);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 4000);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 7201);
    EXPECT_EQ(Bar().Min(), 5600);  // nearest(5600.5)
    EXPECT_EQ(Bar().Max(), 5600);
    EXPECT_EQ(Bar().Value(), 5600);
    EXPECT_EQ(Bar().LargeChange(), 3201);
}

struct ScaledCase {
    const char* what;
    double lambdaMin, lambdaMax;
    int zoomIns;
};

class ScaledScrollTest : public ViewControlTest, public ::testing::WithParamInterface<ScaledCase> {};

// Wherever whole Angstroms in 16 bits cannot hold the positions, the bar
// still pans over the whole range in steps of a tenth and a whole view.
TEST_P(ScaledScrollTest, PansOverTheWholeRangeInTenthsOfTheView) {
    const ScaledCase& c = GetParam();
    Open(c.lambdaMin, c.lambdaMax, c.lambdaMin, c.lambdaMax);
    for (int i = 0; i < c.zoomIns; ++i) view.ZoomIn();
    const double span = ws.PlotSpan;
    ASSERT_NEAR(span, (c.lambdaMax - c.lambdaMin) / std::pow(2, c.zoomIns), span * 1e-9);
    EXPECT_NE(view.Scale(), ScrollScale{}) << "positions in scaled units";
    // Every rounding of a position costs at most half a unit.
    const double tolerance = view.Scale().Unit;
    EXPECT_LE(tolerance, span / 300);

    ScrollBar& bar = view.Scroll();
    bar.Drag(bar.Min());
    bar.Release();
    EXPECT_NEAR(ws.PlotLeft, c.lambdaMin, tolerance);
    const double before = ws.PlotLeft;
    bar.SetValue(bar.Value() + bar.SmallChange());
    EXPECT_NEAR(ws.PlotLeft - before, span / 10, tolerance);
    bar.SetValue(bar.Value() + bar.LargeChange());
    EXPECT_NEAR(ws.PlotLeft - before, span * 1.1, tolerance);
    bar.SetValue(bar.Max());
    EXPECT_NEAR(ws.PlotRight, c.lambdaMax, tolerance);
    EXPECT_DOUBLE_EQ(ws.PlotSpan, span);

    view.FullRange();
    EXPECT_NEAR(ws.PlotLeft, c.lambdaMin, view.Scale().Unit);
    EXPECT_NEAR(ws.PlotRight, c.lambdaMax, view.Scale().Unit);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ScaledScrollTest,
    ::testing::Values(ScaledCase{"infrared beyond 32767 A", 40000, 52000, 2},
                      ScaledCase{"far infrared", 200000.5, 260000, 3},
                      ScaledCase{"narrow line, spans under 5 A", 6560, 6570, 3},
                      ScaledCase{"a few hundredths of an Angstrom", 6562.8, 6562.85, 2},
                      ScaledCase{"range straddling 32767 A", 30000, 36000, 2}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(ViewControlTest, WholeAngstromsAreUsedWhereverTheyHold) {
    Open(6550, 6580, 6550, 6580);
    EXPECT_EQ(view.Scale(), ScrollScale{});  // span 30: arrow step 3
    view.ZoomIn();
    view.ZoomIn();  // span 7.5: arrow step nearest(0.75) = 1
    EXPECT_EQ(view.Scale(), ScrollScale{});
    EXPECT_EQ(Bar().SmallChange(), 1);
    view.ZoomIn();  // span 3.75
    EXPECT_NE(view.Scale(), ScrollScale{});
    EXPECT_GE(Bar().SmallChange(), 100);
    EXPECT_DOUBLE_EQ((ws.PlotLeft + ws.PlotRight) / 2, 6565);
    EXPECT_EQ(ui.redraws, 3);
}

TEST_F(ViewControlTest, ChangingTheScaleKeepsTheSelectedWavelengths) {
    Open(40000, 52000, 40000, 52000);  // positions of 10 A
    view.ZoomIn();             // positions of 1 A
    EXPECT_EQ(view.Scale().Unit, 1);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 43000);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 49000);
    EXPECT_DOUBLE_EQ(view.Scale().WavelengthAt(Bar().Value()), 46000);
    EXPECT_EQ(ui.redraws, 1);
}

TEST_F(ViewControlTest, AFullRangeOfNoWidthNeverDividesByIt) {
    Open(6563, 6563, 6563, 6563);
    view.ZoomIn();
    EXPECT_EQ(ui.redraws, 0);
    view.ZoomOut();
    view.FullRange();
    EXPECT_EQ(ui.redraws, 2);
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 6563);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 6563);
    EXPECT_EQ(Bar().Min(), Bar().Max());
    view.Scroll().Drag(Bar().Value() + 5);
    EXPECT_NEAR(ws.PlotLeft, 6563, 1e-9);
}

TEST_F(ViewControlTest, AFullRangeStartingAtZeroSnapsWithoutDividingByIt) {
    Open(0, 1000, 100.004, 300.006);
    view.ZoomOut();  // 0.003 is within a hundred-thousandth of the range
    EXPECT_EQ(ws.PlotLeft, 0);
    EXPECT_NEAR(ws.PlotRight, 400.007, 1e-9);
    Open(0, 1000, 0, 500);
    view.ZoomOut();
    EXPECT_DOUBLE_EQ(ws.PlotLeft, 0);
    EXPECT_DOUBLE_EQ(ws.PlotRight, 750);
}

}  // namespace
}  // namespace wendrel
