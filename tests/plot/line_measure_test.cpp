#include "plot/line_measure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "plot/measure_overlay.h"
#include "plot/renderer.h"
#include "plot/span_fit.h"
#include "plot/span_measurement.h"
#include "store/rest_frame.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel {
namespace {

// 41 pixels of 0.25 A centred on 6559 .. 6569 A: a continuum rising from
// `base` by 0.5 per A under a Gaussian line of height `a` and sigma 0.5 A on
// 6564 A, cut off beyond 2 A from its centre, observed from a source at `velocity`.
Row LineSpectrum(double a, double base, double velocity = 0) {
    Spectrum s;
    const double stretch = RestFrameFactor(velocity);
    std::tie(s.FileName, s.Naxis1, s.Lambda0, s.DLambda) = std::tuple("line.fits", 41, 6559 * stretch, 0.25 * stretch);
    std::tie(s.LambdaStart, s.LambdaEnd) = std::tuple(s.Lambda0 - s.DLambda / 2, s.Lambda0 + 40.5 * s.DLambda);
    for (int i = 0; i < 41; ++i) {
        const double x = 0.25 * i - 5;
        s.Flux.push_back(base + 0.5 * x + (std::abs(x) <= 2 ? a * std::exp(-x * x / (2 * 0.25)) : 0));
    }
    return RowOf(std::move(s), velocity);
}

// Noisy copies of the line: the errors propagated from the continuum's
// scatter (rms over the copies) and from given pixel errors (which differ
// from pixel to pixel) match the scatter of the measured values.
TEST(MeasureLine, PropagatedErrorsMatchTheScatterOfNoisyCopies) {
    const Row clean = LineSpectrum(-6, 20);
    std::vector<double> sigma;
    for (size_t k = 0; k < clean->Flux.size(); ++k) sigma.push_back(0.15 + 0.1 * double(k % 4));
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 1);
    for (const bool fromFile : {false, true}) {
        std::vector<std::vector<double>> values, errors;
        for (int r = 0; r < 400; ++r) {
            Row s = clean;
            Spectrum& noisy = Change(s);
            for (size_t k = 0; k < noisy.Flux.size(); ++k) noisy.Flux[k] += noise(random) * (fromFile ? sigma[k] : 0.3);
            const LineMeasurement m = MeasureLine(s, 6562, 6566, {}, fromFile ? PixelSigma(sigma) : PixelSigma());
            ASSERT_TRUE(m.Refusal.empty() && m.Centroid && m.EquivalentWidth) << m.Refusal;
            EXPECT_EQ(m.ErrorsFromFile, fromFile);
            values.push_back({m.Flux.Value, m.Centroid->Value, m.EquivalentWidth->Value});
            errors.push_back({m.Flux.Error, m.Centroid->Error, m.EquivalentWidth->Error});
        }
        for (const auto& [error, spread] : testing::ErrorsAndScatter(values, errors))
            EXPECT_NEAR(error, spread, 0.1 * spread) << fromFile;
    }
}

// Each fault that was mended, with what the measurement must say now.
TEST(MeasureLine, RefusalsObservedFluxAndWidthsThatAreNone) {
    Row blank = LineSpectrum(8, 10);
    Change(blank).Flux[20] = NAN;
    const struct { Row s; double left, right; ContinuumChoice continuum; const char* says; } refused[] = {
        {LineSpectrum(8, 10), 6558, 6562, {}, "reaches past the spectrum's end (the spectrum runs from 6558.875 A"},
        {LineSpectrum(8, 10), 6559.2, 6562, {}, "3 pixels beyond each end, reaches past"},
        {LineSpectrum(8, 10), 6562, 6566, {2, {{6560, 6562.5}}}, "overlaps the span"},
        {LineSpectrum(8, 10), 6562, 6566, {2, {{6560, 6560.1}}}, "fewer than 3 pixels"},
        {LineSpectrum(8, 10), 6562, 6562.3, {}, "fewer than 3 pixels"},
        {blank, 6562, 6566, {}, "blank"},
    };
    for (const auto& c : refused) {
        const LineMeasurement m = MeasureLine(c.s, c.left, c.right, c.continuum);
        EXPECT_NE(m.Refusal.find(c.says), std::string::npos) << m.Refusal;
    }

    // In the rest frame of 3000 km/s the flux stays that over the observed
    // wavelengths; centroid and widths are the rest frame's.
    const LineMeasurement still = MeasureLine(LineSpectrum(8, 10), 6562, 6566);
    const LineMeasurement moving = MeasureLine(LineSpectrum(8, 10, 3000), 6562, 6566);
    const LineMeasurement windows = MeasureLine(LineSpectrum(8, 10), 6562, 6566, {0, {{6559, 6560}, {6567, 6569}}});
    ASSERT_TRUE(still.Refusal.empty() && moving.Refusal.empty() && windows.Refusal.empty());
    EXPECT_NEAR(moving.Flux.Value, still.Flux.Value * RestFrameFactor(3000), 1e-9);
    EXPECT_NEAR(moving.Centroid->Value, 6564, 1e-9);
    EXPECT_NEAR(moving.EquivalentWidth->Value, still.EquivalentWidth->Value, 1e-9);
    EXPECT_NEAR(*moving.Fwhm, *still.Fwhm, 1e-9);
    // A clean straight continuum is found exactly, from 6 or 14 pixels, and has no error.
    for (const LineMeasurement& m : {still, windows}) {
        EXPECT_NEAR(m.ContinuumAt(6564), 10, 1e-9);
        EXPECT_NEAR(m.Slope, 0.5, 1e-9);
        EXPECT_NEAR(m.Flux.Error, 0, 1e-9);
    }
    EXPECT_EQ(std::pair(still.ContinuumPixels, windows.ContinuumPixels), std::pair(6, 14));

    // No equivalent width on a continuum under 0, nor on one within three errors of 0.
    EXPECT_FALSE(MeasureLine(LineSpectrum(8, -20), 6562, 6566).EquivalentWidth);
    Row faint = LineSpectrum(8, 2);
    Spectrum& bumpy = Change(faint);
    for (size_t i = 0; i < bumpy.Flux.size(); i += 2) bumpy.Flux[i] += 2;
    const LineMeasurement m = MeasureLine(faint, 6562, 6566);
    EXPECT_TRUE(m.Refusal.empty() && m.Centroid && !m.EquivalentWidth);
    EXPECT_TRUE(MeasureLine(faint, 6562, 6566, {}, PixelSigma(std::vector<double>(41, 0.01))).EquivalentWidth);
}

// A drag with Ctrl: the panel's text, the span kept for the plot and drawn there, cut to the box.
TEST(MeasureLine, OnTheSlotUnderTheDragAndDrawnOnThePlot) {
    Workspace ws;
    ws.slot(1) = LineSpectrum(8, 10);
    Spectrum& named = Change(ws.slot(1));
    std::tie(named.ObjectName, named.FluxUnit, ws.slot(1).SlotColor) = std::tuple("HD 1", "Jy", 255);
    std::tie(ws.View.ScaleFlux, ws.View.PlotLeft, ws.View.PlotRight) = std::tuple(true, 6559, 6569);
    for (const auto& [from, to, says] : {std::tuple(6550.0, 6562.0, "No spectrum"), {6562.1, 6562.3, "fewer than 3"}})
        EXPECT_NE(MeasureDraggedSpan(ws, from, to, 12).Refusal.find(says), std::string::npos);
    EXPECT_EQ(ws.View.Measured.Slot, 0);
    const SpanMeasurement measured = MeasureDraggedSpan(ws, 6566, 6562, 12);
    EXPECT_EQ(measured.Text,
              "HD 1 (line.fits)\n"
              "Span       6562.000 Å to 6566.000 Å\n"
              "Continuum  10 +- 0 Jy at 6564.000 Å, slope 0.5 +- 0 Jy per Å, from 6 pixels\n"
              "Centroid   6564.000 +- 0 Å\n"
              "Flux       10.0257 +- 0 Jy × Å (over observed wavelengths)\n"
              "EW         -1.003 +- 0 Å\n"
              "Peak       8 Jy\n"
              "FWHM       1.189 Å\n"
              "Errors     from the scatter of the continuum pixels about their line, 0 Jy rms\n");
    EXPECT_TRUE(measured.Copied.starts_with("quantity\tvalue\terror\tunit\nleft\t6562\t\tÅ\n")) << measured.Copied;
    for (const char* line : {"\nflux\t10.025", "\t0\tJy × Å\n", "\new\t-1.003", "\t0\tÅ\npeak\t8\t\tJy\nfwhm\t1.18896"})
        EXPECT_NE(measured.Copied.find(line), std::string::npos) << line;
    EXPECT_EQ(LineFluxUnit(""), "flux × Å");
    EXPECT_NE(MeasurementText(ws.slot(1), MeasureLine(LineSpectrum(8, -20), 6562, 6566)).find("EW         none"),
              std::string::npos);
    EXPECT_NE(MeasureKeptSpan(ws, {4, {}}).Text.find("from 8 pixels"), std::string::npos);

    PlotLayout box;
    std::tie(box.x0, box.x1, box.y0, box.y1, box.yMin, box.yMax) = std::tuple(800, 9585, 300, 4950, 0, 20);
    testing::RecordingSurface drawn;
    DrawMeasuredSpan(ws, box, drawn);
    const auto ends = drawn.In(255, testing::Drawn::Dashed);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(std::pair(ends[0].x1, ends[1].x1), std::pair(3435.8f, 6950.2f));
    const auto continuum = drawn.In(kBoxColor);
    ASSERT_EQ(continuum.size(), 1u);
    EXPECT_LT(continuum[0].y2, continuum[0].y1);
    box.yMax = 10.5;  // the right end above the box: cut at its top
    drawn.drawn.clear();
    DrawMeasuredSpan(ws, box, drawn);
    EXPECT_TRUE(drawn.In(kBoxColor).size() == 1 && drawn.In(kBoxColor)[0].y2 == 300 && drawn.In(kBoxColor)[0].x2 < 6950);

    // A fit: its profile in black over its components in grey, inside the box.
    ASSERT_EQ(FitDraggedSpan(ws, 6562, 6566, 12, LineProfile::Gauss, 2).Refusal, "");
    drawn.drawn.clear();
    box.yMax = 20;
    DrawMeasuredSpan(ws, box, drawn);
    EXPECT_EQ(drawn.In(kBoxColor).size(), 200u + 1u);  // 200 pieces of the profile, the continuum
    EXPECT_EQ(drawn.In(kFitComponentColor).size(), 2 * 200u);
    for (const testing::Drawn& d : drawn.drawn) EXPECT_TRUE(d.x1 >= 3435 && d.x2 <= 6951 && d.y1 >= 300 && d.y1 <= 4950);
}

}  // namespace
}  // namespace wendrel
