// Pixels of slots given by their edges: the pixels a view shows, and the
// treads drawn at the edges' wavelengths.
#include "plot/pixel_wavelengths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plot/renderer.h"
#include "tests/plot/recording_surface.h"

namespace wendrel {
namespace {

Slot LinearSlot(double start, double step, size_t n) {
    Slot s;
    s.Loaded = true;
    s.Naxis1 = static_cast<double>(n);
    s.LambdaStart = start;
    s.DLambda = step;
    s.LambdaEnd = start + s.Naxis1 * step;
    s.FluxPct.assign(n, 100);
    s.PctMax = 100;
    return s;
}

// The same pixels given by their edges.
Slot WithEdges(Slot s) {
    for (int64_t k = 0; k <= static_cast<int64_t>(s.Naxis1); ++k)
        s.PixelEdge.push_back(s.LambdaStart + static_cast<double>(k) * s.DLambda);
    s.Dispersion = "multispec";
    return s;
}

// Pixel k (from 1) starts at 10^(3.6 + (k - 1) 1e-4).
Slot LogLinearSlot(size_t n) {
    Slot s;
    s.Loaded = true;
    s.Naxis1 = static_cast<double>(n);
    for (size_t k = 0; k <= n; ++k) s.PixelEdge.push_back(std::pow(10.0, 3.6 + static_cast<double>(k) * 1e-4));
    s.LambdaStart = s.PixelEdge.front();
    s.LambdaEnd = s.PixelEdge.back();
    s.DLambda = (s.LambdaEnd - s.LambdaStart) / s.Naxis1;
    s.Dispersion = "log-linear";
    s.FluxPct.assign(n, 100);
    s.PctMax = 100;
    return s;
}

TEST(PixelsInView, EdgesOfALinearScaleShowTheSamePixels) {
    const struct {
        double left, right;
    } views[] = {
        {3990, 4100}, {4000, 4050}, {4010.1, 4020.2}, {4010.25, 4020.25},  // exact halves go to even
        {4010.3, 4020.3}, {4049.9, 4050.1}, {4060, 4070}, {3000, 3500}, {4001, 4001},
    };
    for (const Slot& linear : {LinearSlot(4000, 0.5, 100), LinearSlot(4050, -0.5, 100)}) {
        const Slot edges = WithEdges(linear);
        for (const auto& v : views) {
            const PixelsInView a = FindPixelsInView(linear, v.left, v.right);
            const PixelsInView b = FindPixelsInView(edges, v.left, v.right);
            EXPECT_EQ(a.first, b.first) << v.left << " " << linear.DLambda;
            EXPECT_EQ(a.last, b.last) << v.right << " " << linear.DLambda;
            EXPECT_EQ(a.startLambda, b.startLambda);
        }
    }
    const PixelsInView half = FindPixelsInView(LinearSlot(4000, 0.5, 100), 4010.25, 4020.25);
    EXPECT_EQ(half.first, 22);  // 1 + 20.5
    EXPECT_EQ(half.last, 40);   // 40.5
}

TEST(PixelsInView, LogLinearPixelsByTheirOwnWidths) {
    const Slot s = LogLinearSlot(1000);
    const auto at = [&](int64_t pixel, double fraction) {  // a wavelength inside a pixel
        const double a = s.PixelEdge[static_cast<size_t>(pixel - 1)], b = s.PixelEdge[static_cast<size_t>(pixel)];
        return a + fraction * (b - a);
    };
    // The view starts a quarter into pixel 101: that pixel is shown; three quarters in: the next.
    EXPECT_EQ(FindPixelsInView(s, at(101, 0.25), at(201, 0.25)).first, 101);
    EXPECT_EQ(FindPixelsInView(s, at(101, 0.75), at(201, 0.75)).first, 102);
    EXPECT_EQ(FindPixelsInView(s, at(101, 0.25), at(201, 0.25)).last, 200);
    EXPECT_EQ(FindPixelsInView(s, at(101, 0.25), at(201, 0.75)).last, 201);
    EXPECT_EQ(FindPixelsInView(s, at(101, 0.25), 1e6).last, 1000);
    const PixelsInView whole = FindPixelsInView(s, 3000, 6000);
    EXPECT_EQ(whole.first, 1);
    EXPECT_EQ(whole.last, 1000);
    EXPECT_EQ(whole.startLambda, s.LambdaStart);
    // Views beside the slot show none of its pixels.
    const PixelsInView right = FindPixelsInView(s, s.LambdaEnd + 10, s.LambdaEnd + 20);
    EXPECT_GT(right.first, right.last);
    const PixelsInView left = FindPixelsInView(s, 3000, s.LambdaStart - 10);
    EXPECT_GT(left.first, left.last);
    EXPECT_EQ(PixelEndLambda(s, 0), s.LambdaStart);
    EXPECT_EQ(PixelEndLambda(s, 1000), s.LambdaEnd);
}

// Treads run between the edges, whatever their widths.
TEST(PixelsInView, TreadsAtTheEdges) {
    Workspace ws;
    ws.PlotWinWidth = 10000;
    ws.PlotWinHeight = 7000;
    Slot& s = ws.slot(1);
    s = LinearSlot(0, 0, 3);
    s.Offset = 0;
    s.SlotColor = 255;
    s.FluxPct = {10, 20, 30};
    s.PctMax = 30;
    s.PixelEdge = {4000, 4001, 4003, 4010};
    s.LambdaStart = 4000;
    s.LambdaEnd = 4010;
    s.DLambda = 10.0 / 3;
    ws.DataReady = true;
    ws.PlotLeft = 4000;
    ws.PlotRight = 4010;
    testing::RecordingSurface surface;
    PlotLayout layout = RedrawPlot(ws, surface, 10000);
    const auto x = [](double lambda) { return static_cast<float>(800 + 8786 * (lambda - 4000) / 10); };
    std::vector<std::vector<float>> treads;
    for (const auto& l : surface.LinesIn(255))
        if (l.Horizontal() && l.x1 != l.x2 && l.x1 < 9585) treads.push_back({l.x1, l.x2});
    EXPECT_EQ(treads, (std::vector<std::vector<float>>{{x(4000), x(4001)}, {x(4001), x(4003)}, {x(4003), x(4010)}}));
    EXPECT_EQ(layout.pixels[1].first, 1);
    EXPECT_EQ(layout.pixels[1].last, 3);

    // A view from 4002 (the middle of pixel 2) to 4004.75 (a quarter into pixel 3).
    ws.PlotLeft = 4002;
    ws.PlotRight = 4004.75;
    layout = RedrawPlot(ws, surface, 10000);
    EXPECT_EQ(layout.pixels[1].first, 2);  // 1 + 1.5 to even
    EXPECT_EQ(layout.pixels[1].last, 2);   // 2.25
}

}  // namespace
}  // namespace wendrel
