#include "plot/view_control.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wendrel {
namespace {

class ViewControlTest : public ::testing::Test {
protected:
    // The full range and the view as the window opens on them, the scroll
    // bar set while the opening redraw is under way.
    void Open(double lambdaMin, double lambdaMax, double left, double right) {
        ws.LambdaMin = lambdaMin;
        ws.LambdaMax = lambdaMax;
        SetView(left, right);
        ws.Drawing = true;
        view.SyncHScroll();
        ws.Drawing = false;
        redraws = 0;
    }
    void SetView(double left, double right) {
        ws.PlotLeft = left;
        ws.PlotRight = right;
        ws.PlotSpan = right - left;
    }
    std::vector<int> Bar() const {
        const ScrollBar& b = view.Scroll();
        return {b.Min(), b.Max(), b.Value(), b.SmallChange(), b.LargeChange()};
    }

    Workspace ws;
    int redraws = 0;
    // The redraw follows the view with the scroll bar, as the plot window's host does.
    ViewControl view{ws, [this] {
                         ++redraws;
                         view.FollowView();
                     }};
};

TEST_F(ViewControlTest, ZoomInHalvesTheSpanDownToATenthOfTheFullRange) {
    Open(4000, 7000, 4000, 7000);
    for (int i = 0; i < 4; ++i) view.ZoomIn();  // 187.5 would be under a tenth of 3000
    EXPECT_EQ(std::tuple(ws.PlotLeft, ws.PlotRight, ws.PlotSpan, redraws), std::tuple(5312.5, 5687.5, 375.0, 3));
    EXPECT_EQ(Bar(), (std::vector{4188, 6812, 5500, 38, 375}));  // halves go to the even neighbour
    Open(4000, 7000, 5250, 5850);
    view.ZoomIn();
    EXPECT_EQ(ws.PlotSpan, 300);  // exactly a tenth
}

// Each row zooms out once from a view; edges stay in the full range, and
// snap to it within a relative hundred-thousandth.
TEST_F(ViewControlTest, ZoomOut) {
    const struct {
        double lambdaMin, lambdaMax, left, right, newLeft, newRight;
        int redraws;
    } cases[] = {
        {4000, 7000, 4000, 7000, 4000, 7000, 1},
        {4000, 7000, 4000, 5500, 4000, 6250, 2},
        {4000, 7000, 4000, 4750, 3999.5, 5124.5, 2},  // re-centred on the new scroll minimum, then drawn
        {4000, 7000, 4200, 4599.9, 4000.05, 4799.85, 1},
        {4000, 7000, 4200, 4599.96, 4000, 4799.94, 1},
        {4000, 7000, 6400.04, 6800, 6200.06, 7000, 1},
        {0, 1000, 100.004, 300.006, 0, 400.007, 1},
    };
    for (const auto& c : cases) {
        Open(c.lambdaMin, c.lambdaMax, c.left, c.right);
        view.ZoomOut();
        EXPECT_NEAR(ws.PlotLeft, c.newLeft, 1e-9) << c.left << ".." << c.right;
        EXPECT_NEAR(ws.PlotRight, c.newRight, 1e-9) << c.left << ".." << c.right;
        EXPECT_EQ(redraws, c.redraws) << c.left << ".." << c.right;
    }
    Open(4000, 7000, 4000, 4750);
    view.ZoomOut();
    EXPECT_EQ(Bar(), (std::vector{4562, 6438, 4562, 112, 1125}));
}

TEST_F(ViewControlTest, FullRangeCentresOnTheRoundedMiddle) {
    Open(4000, 7001, 4000, 5000);
    view.FullRange();
    EXPECT_EQ(Bar(), (std::vector{5500, 5500, 5500, 300, 3001}));
    EXPECT_EQ(std::tuple(ws.PlotLeft, ws.PlotRight), std::tuple(3999.5, 7000.5));
}

// A view reset to the full range behind the bar's back (a load) is followed
// by the bar without moving; a zoom re-centres only when the position moves.
TEST_F(ViewControlTest, TheBarFollowsAViewResetBehindItsBack) {
    Open(4000.3, 7000.7, 4000.3, 5500.5);
    SetView(4000.3, 7000.7);
    view.ZoomIn();
    EXPECT_NEAR(ws.PlotLeft, 4749.9, 1e-9);
    EXPECT_EQ(Bar()[2], 5500);
    Open(4000, 7000, 4000, 4750);
    ws.LambdaMax = 7201;
    SetView(4000, 7201);
    view.FollowView();
    EXPECT_EQ(std::tuple(ws.PlotLeft, ws.PlotRight, redraws), std::tuple(4000.0, 7201.0, 0));
    EXPECT_EQ(Bar(), (std::vector{5600, 5600, 5600, 320, 3201}));
}

TEST_F(ViewControlTest, ScrollingPansByTheBarsStepsExceptWhileDrawing) {
    Open(4000, 7000, 5000, 5750);
    ScrollBar& bar = view.Scroll();
    bar.SetValue(bar.Value() + bar.SmallChange());
    EXPECT_EQ(std::tuple(ws.PlotLeft, ws.PlotRight), std::tuple(5075.0, 5825.0));
    bar.SetValue(bar.Value() + bar.LargeChange());
    EXPECT_EQ(ws.PlotLeft, 5825);
    bar.Drag(bar.Max());
    bar.Release();
    EXPECT_EQ(std::tuple(ws.PlotRight, ws.PlotSpan, redraws), std::tuple(7000.0, 750.0, 4));
    ws.Drawing = true;
    bar.SetValue(4500);
    EXPECT_EQ(std::tuple(ws.PlotRight, redraws), std::tuple(7000.0, 4));
}

// Where whole Angstroms in 16 bits cannot hold the positions, the bar still
// pans over the whole range in tenths and wholes of the view.
TEST_F(ViewControlTest, ScaledPositions) {
    const struct {
        double lambdaMin, lambdaMax;
        int zoomIns;
    } cases[] = {{40000, 52000, 2}, {200000.5, 260000, 3}, {6560, 6570, 3}, {6562.8, 6562.85, 2}, {30000, 36000, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lambdaMin);
        Open(c.lambdaMin, c.lambdaMax, c.lambdaMin, c.lambdaMax);
        for (int i = 0; i < c.zoomIns; ++i) view.ZoomIn();
        const double span = ws.PlotSpan, unit = view.Scale().Unit;
        EXPECT_NE(view.Scale(), ScrollScale{});
        EXPECT_LE(unit, span / 300);
        ScrollBar& bar = view.Scroll();
        bar.Drag(bar.Min());
        bar.Release();
        EXPECT_NEAR(ws.PlotLeft, c.lambdaMin, unit);
        bar.SetValue(bar.Value() + bar.SmallChange());
        bar.SetValue(bar.Value() + bar.LargeChange());
        EXPECT_NEAR(ws.PlotLeft - c.lambdaMin, span * 1.1, 2 * unit);
        bar.SetValue(bar.Max());
        EXPECT_NEAR(ws.PlotRight, c.lambdaMax, unit);
        EXPECT_EQ(ws.PlotSpan, span);
        view.FullRange();
        EXPECT_NEAR(ws.PlotRight, c.lambdaMax, view.Scale().Unit);
    }
    // Whole Angstroms down to a span of 7.5 (an arrow step of 1), scaled below.
    Open(6550, 6580, 6550, 6580);
    view.ZoomIn();
    view.ZoomIn();
    EXPECT_EQ(view.Scale(), ScrollScale{});
    view.ZoomIn();
    EXPECT_NE(view.Scale(), ScrollScale{});
    EXPECT_GE(Bar()[3], 100);
    EXPECT_EQ((ws.PlotLeft + ws.PlotRight) / 2, 6565);
    // A change of scale keeps the selected wavelengths.
    Open(40000, 52000, 40000, 52000);
    view.ZoomIn();
    EXPECT_EQ(std::tuple(view.Scale().Unit, ws.PlotLeft, ws.PlotRight, redraws), std::tuple(1.0, 43000.0, 49000.0, 1));
}

TEST_F(ViewControlTest, AFullRangeOfNoWidthNeverDividesByIt) {
    Open(6563, 6563, 6563, 6563);
    view.ZoomIn();
    view.ZoomOut();
    view.FullRange();
    view.Scroll().Drag(Bar()[2] + 5);
    EXPECT_EQ(std::tuple(ws.PlotLeft, ws.PlotRight, redraws), std::tuple(6563.0, 6563.0, 3));
}

}  // namespace
}  // namespace wendrel
