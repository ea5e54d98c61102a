#include "plot/view_control.h"
#include "tests/support/row_filling.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wendrel {
namespace {

class ViewControlTest : public ::testing::Test {
protected:
    // The full range and the view as the window opens on them, the bar set during the opening redraw.
    void Open(double lambdaMin, double lambdaMax, double left, double right) {
        std::tie(ws.View.LambdaMin, ws.View.LambdaMax, ws.View.PlotLeft, ws.View.PlotRight, drawing, redraws) =
            std::tuple(lambdaMin, lambdaMax, left, right, true, 0);
        view.SyncHScroll();
        drawing = false;
    }
    std::vector<int> Bar() const { return {bar.Min(), bar.Max(), bar.Value(), bar.SmallChange(), bar.LargeChange()}; }
    std::tuple<double, double, int> View() const { return {ws.View.PlotLeft, ws.View.PlotRight, redraws}; }
    void DragTo(int value) { bar.Drag(value), bar.Release(); }
    void Spectrum(int i, double start, double end, double step) {
        wendrel::Spectrum& s = Fill(ws.slot(i));
        std::tie(ws.DataReady, s.LambdaStart, s.LambdaEnd, s.DLambda) = std::tuple(true, start, end, step);
    }

    Workspace ws;
    int redraws = 0;
    bool drawing = false;  // the redraw is showing the window
    // The redraw follows the view with the scroll bar, as the plot window's host does.
    ViewControl view{ws, [this] { ++redraws, view.FollowView(); }, [this] { return drawing; }};
    ScrollBar& bar = view.Scroll();
};

TEST_F(ViewControlTest, ZoomInDownToATenthOfTheFullRangeAndFullRange) {
    Open(4000, 7000, 4000, 7000);
    for (int i = 0; i < 4; ++i) view.ZoomIn();  // 187.5 would be under a tenth of 3000
    EXPECT_EQ(View(), std::tuple(5312.5, 5687.5, 3));
    EXPECT_EQ(Bar(), (std::vector{4188, 6812, 5500, 38, 375}));  // halves go to the even neighbour
    Open(4000, 7000, 5250, 5850), view.ZoomIn();
    EXPECT_EQ(ws.View.PlotSpan(), 300);  // exactly a tenth
    ws.View.LambdaMax = 7001, view.FullRange();
    EXPECT_EQ(View(), std::tuple(3999.5, 7000.5, 3));  // centred on nearest(5500.5)
    EXPECT_EQ(Bar(), (std::vector{5500, 5500, 5500, 300, 3001}));
}

// Edges stay in the full range and snap to it within a relative hundred-thousandth.
TEST_F(ViewControlTest, ZoomOut) {
    const struct { double lambdaMin, lambdaMax, left, right, newLeft, newRight; int redraws; } cases[] = {
        {4000, 7000, 4000, 7000, 4000, 7000, 1}, {4000, 7000, 4000, 5500, 4000, 6250, 2},
        {4000, 7000, 4000, 4750, 3999.5, 5124.5, 2},  // re-centred on the new scroll minimum, then drawn
        {4000, 7000, 4200, 4599.9, 4000.05, 4799.85, 1}, {4000, 7000, 4200, 4599.96, 4000, 4799.94, 1},
        {4000, 7000, 6400.04, 6800, 6200.06, 7000, 1}, {0, 1000, 100.004, 300.006, 0, 400.007, 1}};
    for (const auto& c : cases) {
        Open(c.lambdaMin, c.lambdaMax, c.left, c.right);
        view.ZoomOut();
        EXPECT_TRUE(std::abs(ws.View.PlotLeft - c.newLeft) < 1e-9 && std::abs(ws.View.PlotRight - c.newRight) < 1e-9 && redraws == c.redraws)
            << c.left << ".." << c.right << " -> " << ws.View.PlotLeft << ".." << ws.View.PlotRight << " in " << redraws;
    }
    EXPECT_EQ(Bar(), (std::vector{200, 800, 200, 40, 400}));
}

// Arrow and trough steps and drags pan, except while the redraw shows the
// window; a view reset behind the bar's back (a load) is followed, not moved.
TEST_F(ViewControlTest, Panning) {
    Open(4000, 7000, 5000, 5750);
    bar.SetValue(bar.Value() + bar.SmallChange());
    EXPECT_EQ(View(), std::tuple(5075.0, 5825.0, 1));
    bar.SetValue(bar.Value() + bar.LargeChange()), DragTo(bar.Max());
    EXPECT_EQ(View(), std::tuple(6250.0, 7000.0, 4));
    drawing = true, bar.SetValue(4500);  // while the redraw shows the window
    EXPECT_EQ(View(), std::tuple(6250.0, 7000.0, 4));
    Open(4000.3, 7000.7, 4000.3, 5500.5);
    ws.View.PlotRight = 7000.7;
    view.ZoomIn();  // re-centres only where the bar's position moves
    EXPECT_NEAR(ws.View.PlotLeft, 4749.9, 1e-9);
    Open(4000, 7000, 4000, 4750);
    std::tie(ws.View.LambdaMax, ws.View.PlotRight) = std::tuple(7201, 7201);
    view.FollowView();
    EXPECT_EQ(View(), std::tuple(4000.0, 7201.0, 0));
    EXPECT_EQ(Bar(), (std::vector{5600, 5600, 5600, 320, 3201}));
}

// Where whole Angstroms in 16 bits cannot hold the positions (far out, or a
// narrow view), the bar still pans over the whole range in tenths and wholes of the view.
TEST_F(ViewControlTest, ScaledPositions) {
    for (const auto& [lambdaMin, lambdaMax] : {std::pair(200000.5, 260000.0), {6562.8, 6562.85}}) {
        SCOPED_TRACE(lambdaMin);
        Open(lambdaMin, lambdaMax, lambdaMin, lambdaMax);
        for (int i = 0; i < 3; ++i) view.ZoomIn();
        const double span = ws.View.PlotSpan(), unit = view.Scale().Unit;
        EXPECT_TRUE(view.Scale() != ScrollScale{} && unit <= span / 300);
        DragTo(bar.Min());
        EXPECT_NEAR(ws.View.PlotLeft, lambdaMin, unit);
        bar.SetValue(bar.Value() + bar.SmallChange()), bar.SetValue(bar.Value() + bar.LargeChange());
        EXPECT_NEAR(ws.View.PlotLeft - lambdaMin, span * 1.1, 2 * unit);
        bar.SetValue(bar.Max());
        // Each pan keeps the span but for the rounding of its two ends.
        EXPECT_TRUE(std::abs(ws.View.PlotRight - lambdaMax) <= unit && std::abs(ws.View.PlotSpan() - span) <= 1e-12 * lambdaMax)
            << ws.View.PlotRight;
    }
    Open(6550, 6580, 6550, 6580);
    view.ZoomIn(), view.ZoomIn();
    EXPECT_EQ(view.Scale(), ScrollScale{});  // span 7.5: an arrow step of 1 A
    view.ZoomIn();
    EXPECT_TRUE(view.Scale() != ScrollScale{} && bar.SmallChange() >= 100);
    Open(40000, 52000, 40000, 52000);
    view.ZoomIn();  // from positions of 10 A to 1 A, keeping the wavelengths
    EXPECT_EQ(std::tuple(ws.View.PlotLeft, ws.View.PlotRight, redraws, view.Scale().Unit), std::tuple(43000.0, 49000.0, 1, 1.0));
    Open(6563, 6563, 6563, 6563);  // no width: nothing divides by it
    view.ZoomIn(), view.ZoomOut(), view.FullRange();
    DragTo(bar.Value() + 5);
    EXPECT_EQ(View(), std::tuple(6563.0, 6563.0, 3));
}

// The mouse, the keys and typed ranges; every view held inside the full range
// and no narrower than 5 pixels of the finest spectrum in view; back through them.
TEST_F(ViewControlTest, WheelDragKeysTypedRangesAndPreviousViews) {
    Spectrum(1, 4000, 7000, 1), Spectrum(2, 5000, 5100, 0.1);
    Open(4000, 7000, 4000, 7000);
    std::vector<std::pair<double, double>> shown{{4000, 7000}};
    const auto expect = [&](double left, double right) {
        EXPECT_TRUE(std::abs(ws.View.PlotLeft - left) < 1e-9 && std::abs(ws.View.PlotRight - right) < 1e-9)
            << ws.View.PlotLeft << ".." << ws.View.PlotRight;
        shown.emplace_back(left, right);
    };
    view.ZoomAbout(4600, kWheelZoomFactor), expect(4120, 6520);  // 4600 stays at a fifth of the view
    view.ZoomToSpan(6570, 6550), expect(6550, 6570);
    view.ZoomBy(kKeyZoomFactor), expect(6555, 6565);
    for (const double left : {6555.4, 6555.72, 6555.976, 6556.0})  // the last stops at 5 A
        view.ZoomAbout(6557, kWheelZoomFactor), expect(left, left + (6557 - left) * 5);
    view.ZoomBy(kKeyZoomFactor), view.PanByTenth(-1), expect(6555.5, 6560.5);
    view.ZoomToSpan(5050, 5050.1), expect(5049.8, 5050.3);  // the finer spectrum in view
    EXPECT_EQ(view.SetRange(" 3000", "4100.5 "), "");
    expect(4000, 4100.5);
    view.PanByTenth(-1);  // at the edge already
    EXPECT_EQ(redraws, 10);
    const struct { const char *left, *right, *says; } refused[] = {{"4,1e3", "5000", "\"4,1e3\" is not a number"},
        {"5000", "nan", "\"nan\" is not a number"}, {"5000", "5000", "must be below"}, {"7000", "7100", "cover 4000 to 7000"}};
    for (const auto& r : refused) EXPECT_NE(view.SetRange(r.left, r.right).find(r.says), std::string::npos) << r.says;
    for (size_t k = shown.size() - 1; k-- > 0;) {
        view.PreviousView();
        EXPECT_TRUE(std::abs(ws.View.PlotLeft - shown[k].first) < 1e-9 && std::abs(ws.View.PlotRight - shown[k].second) < 1e-9) << k;
    }
    EXPECT_FALSE(view.HasPreviousView());
}

TEST_F(ViewControlTest, IntensityRangesDraggedOrTyped) {
    EXPECT_TRUE(SetIntensityRange(ws, 80, -5) && ws.View.Intensity == PlotView::IntensityRange::Fixed);
    EXPECT_FALSE(SetIntensityRange(ws, 3, 3) || SetIntensityRange(ws, 1, NAN));
    EXPECT_EQ(std::pair(ws.View.IntensityLow, ws.View.IntensityHigh), std::pair(-5.0, 80.0));
    EXPECT_EQ(SetIntensityRange(ws, " 1e-15", "2.5e-15 ") + SetIntensityRange(ws, "x", "1") + SetIntensityRange(ws, "5", "1"),
              "The lower intensity \"x\" is not a number.The lower intensity must be below the upper one.");
    EXPECT_EQ(std::pair(ws.View.IntensityLow, ws.View.IntensityHigh), std::pair(1e-15, 2.5e-15));
}

// A view far narrower than the full range: positions of a hundredth of the
// span counted from the view, which the bar follows once a drag is let go.
TEST_F(ViewControlTest, NarrowViewsScrollInHundredthsOfTheirSpan) {
    Spectrum(1, 4000, 7000, 0.01);
    Open(4000, 7000, 4000, 7000);
    view.ZoomToSpan(5000, 5000.5);
    const double unit = view.Scale().Unit;
    EXPECT_LE(unit, 0.5 / 100);
    bar.SetValue(bar.Value() + bar.SmallChange());
    EXPECT_NEAR(ws.View.PlotLeft, 5000.05, unit);
    const size_t remembered = ws.View.ViewHistory.size();
    bar.Drag(bar.Value() - 100), bar.Drag(bar.Min()), bar.Release();
    EXPECT_NEAR(ws.View.PlotLeft, 5000.05 - 32768 * unit, unit);  // over 60 views to the left
    EXPECT_EQ(ws.View.ViewHistory.size(), remembered + 1);
    const double left = ws.View.PlotLeft;
    bar.SetValue(bar.Value() - bar.LargeChange());
    EXPECT_NEAR(ws.View.PlotLeft, left - 0.5, unit);
    view.ZoomOut();
    EXPECT_NEAR(ws.View.PlotSpan(), 1, 1e-9);
    view.FullRange();
    EXPECT_EQ(std::tuple(ws.View.PlotLeft, ws.View.PlotRight), std::tuple(4000.0, 7000.0));
}

}  // namespace
}  // namespace wendrel
