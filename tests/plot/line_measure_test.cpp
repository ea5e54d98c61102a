#include "plot/line_measure.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot/measure_overlay.h"
#include "plot/renderer.h"
#include "plot/span_measurement.h"
#include "store/rest_frame.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel {
namespace {

// Nine pixels of 1 A centred on 6560 .. 6568 A: a continuum rising from `base`
// by 0.5 per A under a Gaussian line of height `a` and sigma 1 A on 6564 A,
// observed from a source at `velocity`.
Slot LineSpectrum(double a, double base, int velocity) {
    Slot s;
    const double stretch = RestFrameFactor(velocity);
    std::tie(s.FileName, s.Naxis1, s.Lambda0, s.DLambda, s.Velocity) = std::tuple("line.fits", 9, 6560 * stretch, stretch, velocity);
    std::tie(s.LambdaStart, s.LambdaEnd) = std::tuple(s.Lambda0 - stretch / 2, s.Lambda0 + 8.5 * stretch);
    for (int i = 0; i < 9; ++i) s.Flux.push_back(base + 0.5 * i + a * std::exp(-(i - 4.0) * (i - 4.0) / 2));
    return s;
}

// Expected values worked out by hand from the definitions for the spectrum above.
TEST(MeasureLine, AGaussianOnASlopedContinuum) {
    const struct { double a, left, right; int velocity; int64_t first, last; double flux, centroid, ew, peak, fwhm; } cases[] = {
        {8, 6560.5, 6567.5, 0, 2, 8, 19.425495225658246, 6564, -1.6093738793795314, 7.911128027694062, 2.428595722643877},
        {-8, 6560.5, 6567.5, 0, 2, 8, -19.42549522565825, 6564, 1.6334658771774333, -7.911128027694062, 2.428595722643877},
        {8, 6567.7, 6560.2, 0, 1, 9, 20.028813124637278, 6564, -1.6715850451439573, 7.997316298976781, 2.45145998330554},
        {-8, 6560.2, 6567.7, 667, 1, 9, -20.02881312463728, 6564, 1.6723354861533415, -7.997316298976781, 2.45145998330554},
        {8, 6561.6, 6566.9, -3000, 3, 8, 16.444064344897352, 6564.120871613337, -1.2931074979370947, 7.314841851541884,
         2.2767412186331057}};
    for (const auto& c : cases) {
        const LineMeasurement m = MeasureLine(LineSpectrum(c.a, 10, c.velocity), c.left, c.right);
        ASSERT_TRUE(m.Refusal.empty() && m.Centroid && m.EquivalentWidth && m.Fwhm) << m.Refusal;
        EXPECT_EQ(std::pair(m.FirstPixel, m.LastPixel), std::pair(c.first, c.last)) << c.left;
        const double got[] = {m.Flux, *m.Centroid, *m.EquivalentWidth, m.Peak, *m.Fwhm};
        const double want[] = {c.flux, c.centroid, c.ew, c.peak, c.fwhm};
        for (size_t k = 0; k < std::size(got); ++k) EXPECT_NEAR(got[k], want[k], 1e-9) << c.left << " #" << k;
    }
}

TEST(MeasureLine, RefusalsAndValuesThatAreNone) {
    Slot s = LineSpectrum(8, 10, 0);
    s.Flux[4] = NAN;
    for (const auto& [left, right, says] : {std::tuple(6561.2, 6562.3, "fewer than 3"), {7000.0, 7100.0, "fewer than 3"},
                                            {6560.2, 6567.7, "blank"}})
        EXPECT_NE(MeasureLine(s, left, right).Refusal.find(says), std::string::npos) << left;
    const LineMeasurement below = MeasureLine(LineSpectrum(8, -20, 0), 6560.5, 6567.5);  // no width below a continuum under 0
    EXPECT_TRUE(below.Refusal.empty() && below.Centroid && !below.EquivalentWidth);
    // Pixel 6 starts at 6564.2 A: half the peak is crossed at 6564.5 A, beyond the span.
    Slot uneven = LineSpectrum(8, 10, 0);
    for (int i = 0; i <= 9; ++i) uneven.PixelEdge.push_back(i == 5 ? 6564.2 : 6559.5 + i);
    for (int i = 0; i < 9; ++i) uneven.PixelCentre.push_back(6560 + i);
    const LineMeasurement m = MeasureLine(uneven, 6563.2, 6564.3);
    EXPECT_TRUE(m.Refusal.empty() && m.LastPixel == 6 && !m.Fwhm) << m.Refusal;
}

// A drag with Ctrl: the panel's text, the span kept for the plot and drawn there, cut to the box.
TEST(MeasureLine, OnTheSlotUnderTheDragAndDrawnOnThePlot) {
    Workspace ws;
    ws.slot(1) = LineSpectrum(8, 10, 0);
    std::tie(ws.slot(1).Loaded, ws.slot(1).ObjectName, ws.slot(1).FluxUnit, ws.slot(1).SlotColor) = std::tuple(true, "HD 1", "Jy", 255);
    std::tie(ws.ScaleFlux, ws.PlotLeft, ws.PlotRight) = std::tuple(true, 6560, 6568);
    for (const auto& [from, to, says] : {std::tuple(6550.0, 6562.0, "No spectrum"), {6561.2, 6562.3, "fewer than 3"}})
        EXPECT_NE(MeasureDraggedSpan(ws, from, to, 12).Refusal.find(says), std::string::npos);
    EXPECT_EQ(ws.Measured.Slot, 0);
    EXPECT_EQ(MeasureDraggedSpan(ws, 6567.5, 6560.5, 12).Text,
              "HD 1 (line.fits)\n"
              "Span       6560.500 A to 6567.500 A\n"
              "Continuum  10.5889 Jy at 6561.000 A to 13.5889 Jy at 6567.000 A\n"
              "Centroid   6564.000 A\n"
              "Flux       19.4255 Jy x A\n"
              "EW         -1.609 A\n"
              "Peak       7.91113 Jy\n"
              "FWHM       2.429 A\n");
    EXPECT_NE(MeasurementText(ws.slot(1), MeasureLine(LineSpectrum(8, -20, 0), 6560.5, 6567.5)).find("EW         none"),
              std::string::npos);

    PlotLayout box;
    std::tie(box.x0, box.x1, box.y0, box.y1, box.yMin, box.yMax) = std::tuple(800, 9585, 300, 4950, 0, 20);
    testing::RecordingSurface drawn;
    DrawMeasuredSpan(ws, box, drawn);
    const auto ends = drawn.In(255, testing::Drawn::Dashed);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(std::pair(ends[0].x1, ends[1].x1), std::pair(1349.125f, 9036.875f));
    const auto continuum = drawn.In(kBoxColor);
    ASSERT_EQ(continuum.size(), 1u);
    EXPECT_NEAR(continuum[0].y1, 2546.2123, 1e-3);
    EXPECT_NEAR(continuum[0].y2, 1732.4623, 1e-3);
    box.yMax = 12;  // the right end above the box: cut at its top
    drawn.drawn.clear();
    DrawMeasuredSpan(ws, box, drawn);
    EXPECT_TRUE(drawn.In(kBoxColor).size() == 1 && drawn.In(kBoxColor)[0].y2 == 300 && drawn.In(kBoxColor)[0].x2 < 9036);
}

}  // namespace
}  // namespace wendrel
