#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/smoothing.h"
#include "plot/line_fit.h"
#include "plot/line_measure.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel {
namespace {

// 300 pixels of 0.1 A from 6550 A: a Gaussian emission line of peak 3 and
// sigma 0.6 A on 6565 A over 10 + 0.02 (lambda - 6565), with noise of the
// given sigma added.
Spectrum NoisyEmissionLine(const std::vector<double>& sigma, std::mt19937& random) {
    Spectrum s;
    std::tie(s.FileName, s.Naxis1, s.Lambda0, s.DLambda) = std::tuple("smooth.fits", 300, 6550, 0.1);
    std::tie(s.LambdaStart, s.LambdaEnd) = std::tuple(6549.95, 6579.95);
    std::normal_distribution<double> noise(0, 1);
    for (size_t i = 0; i < 300; ++i) {
        const double x = 6550 + 0.1 * double(i) - 6565;
        s.Flux.push_back(10 + 0.02 * x + 3 * std::exp(-x * x / (2 * 0.36)) + sigma[i] * noise(random));
    }
    s.Sigma = sigma;
    return s;
}

// The row as View > Smooth leaves it: the smoothed spectrum shown, the file's kept.
Row SmoothedRowOf(Spectrum file, const Smoothing& how) {
    Row row = RowOf(std::move(file));
    SmoothedRow smoothed = Smooth(RowData(row.spectrum()).Row, how);
    Spectrum shown = row.spectrum();
    std::tie(shown.Flux, shown.Sigma) = std::tuple(std::move(smoothed.Flux), std::move(smoothed.Sigma));
    row.Unsmoothed = std::exchange(row.Data, std::make_shared<const Spectrum>(std::move(shown)));
    row.Smoothed = how;
    return row;
}

// Noisy copies of a line, each smoothed: the errors of the measured flux,
// centroid and equivalent width and of a Gaussian's centre, FWHM and flux
// match the scatter of the values over the copies, the covariance of
// neighbouring smoothed pixels counted: from pixel errors that differ from
// pixel to pixel, or, where the file gives none, from the scatter of pixels
// of one error. After a median the errors come from the scatter.
TEST(SmoothedRow, ErrorsMatchTheScatterOfNoisySmoothedCopies) {
    std::vector<double> sigma;
    for (size_t i = 0; i < 300; ++i) sigma.push_back(0.2 + 0.1 * double(i % 3));
    std::mt19937 random(17);
    for (const bool known : {true, false})
    for (const Smoothing how : {Smoothing{SmoothingKernel::Boxcar, 5}, Smoothing{SmoothingKernel::GaussianVelocity, 30}}) {
        std::vector<std::vector<double>> values, errors;
        for (int r = 0; r < 400; ++r) {
            Spectrum file = NoisyEmissionLine(known ? sigma : std::vector<double>(300, 0.3), random);
            if (!known) file.Sigma.clear();
            const Row s = SmoothedRowOf(std::move(file), how);
            const PixelErrors pixelErrors = PixelErrors::Of(s);
            const LineMeasurement m = MeasureLine(s, 6562, 6568, {}, pixelErrors);
            const LineFit fit = FitLine(s, 6556, 6574, LineProfile::Gauss, 1, pixelErrors);
            ASSERT_TRUE(m.Refusal.empty() && m.Centroid && m.EquivalentWidth && fit.Refusal.empty()) << m.Refusal << fit.Refusal;
            ASSERT_TRUE(m.ErrorsFromFile == known && fit.ErrorsFromFile == known);
            const FittedComponent& c = fit.Components[0];
            values.push_back({m.Flux.Value, m.Centroid->Value, m.EquivalentWidth->Value, c.Centre.Value, c.Fwhm.Value, c.Flux.Value});
            errors.push_back({m.Flux.Error, m.Centroid->Error, m.EquivalentWidth->Error, c.Centre.Error, c.Fwhm.Error, c.Flux.Error});
        }
        int k = 0;
        for (const auto& [error, spread] : testing::ErrorsAndScatter(values, errors))
            EXPECT_NEAR(error, spread, 0.1 * spread) << known << int(how.Kernel) << " #" << k++;
    }
    const Row median = SmoothedRowOf(NoisyEmissionLine(sigma, random), {SmoothingKernel::Median, 5});
    EXPECT_FALSE(MeasureLine(median, 6562, 6568, {}, PixelErrors::Of(median)).ErrorsFromFile);
}

}  // namespace
}  // namespace wendrel
