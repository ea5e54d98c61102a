#include "plot/line_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "plot/line_profiles.h"
#include "tests/plot/plot_test_support.h"

namespace wendrel {
namespace {

// 240 pixels of 0.05 A from 6558 A: the continuum 5 + 0.01 (lambda - 6564)
// under the given components of the profile (centre, peak, widths each).
Row ProfileRow(LineProfile profile, const std::vector<std::vector<double>>& components) {
    Spectrum s;
    std::tie(s.FileName, s.Naxis1, s.Lambda0, s.DLambda) = std::tuple("fit.fits", 240, 6558, 0.05);
    std::tie(s.LambdaStart, s.LambdaEnd) = std::tuple(s.Lambda0 - 0.025, s.Lambda0 + 239.5 * 0.05);
    for (int i = 0; i < 240; ++i) {
        const double lambda = 6558 + 0.05 * i;
        s.Flux.push_back(5 + 0.01 * (lambda - 6564));
        for (const auto& q : components) s.Flux.back() += EvaluateProfile(profile, q, lambda).value;
    }
    return RowOf(std::move(s));
}

struct Case {
    LineProfile profile;
    std::vector<std::vector<double>> components;
};
const Case kCases[] = {
    {LineProfile::Gauss, {{6564.1, -2, 0.8}}},
    {LineProfile::Lorentz, {{6563.7, 3, 0.5}}},
    {LineProfile::Voigt, {{6564.2, -2.5, 0.6, 0.3}}},
    {LineProfile::Gauss, {{6563.4, 2, 0.7}, {6564.3, 1.2, 0.6}}},  // blended: 0.9 A apart
};

// Parameters from each component's reported values, in the order of the profile's.
std::vector<double> Parameters(LineProfile profile, const FittedComponent& c) {
    if (profile == LineProfile::Voigt) return {c.Centre.Value, c.Peak.Value, c.FwhmGauss.Value, c.FwhmLorentz.Value};
    return {c.Centre.Value, c.Peak.Value, c.Fwhm.Value};
}

TEST(FitLine, FindsTheParametersOfCleanLines) {
    for (const Case& c : kCases) {
        const LineFit fit = FitLine(ProfileRow(c.profile, c.components), 6559, 6569, c.profile, int(c.components.size()));
        ASSERT_TRUE(fit.Refusal.empty()) << fit.Refusal;
        ASSERT_EQ(fit.Components.size(), c.components.size());
        EXPECT_NEAR(fit.Slope, 0.01, 1e-8);
        EXPECT_NEAR(fit.Intercept, 5 - 0.01 * 6564, 1e-6);
        for (size_t k = 0; k < c.components.size(); ++k) {
            const std::vector<double> got = Parameters(c.profile, fit.Components[k]);
            for (size_t j = 0; j < got.size(); ++j) EXPECT_NEAR(got[j], c.components[k][j], 1e-6) << k << " #" << j;
            const double integral = ProfileIntegral(c.profile, std::span(c.components[k]).subspan(0));
            EXPECT_NEAR(fit.Components[k].Flux.Value, integral, 1e-6);
            EXPECT_NEAR(fit.Components[k].EquivalentWidth.Value, -integral / (5 + 0.01 * (c.components[k][0] - 6564)), 1e-6);
        }
        EXPECT_NEAR(fit.ModelAt(6564), ProfileRow(c.profile, c.components)->Flux[120], 1e-6);
    }
    // A Voigt profile's width at half its peak, and the refusals.
    const LineFit voigt = FitLine(ProfileRow(LineProfile::Voigt, {{6564, 1, 0.6, 0.3}}), 6559, 6569, LineProfile::Voigt, 1);
    EXPECT_NEAR(voigt.Components[0].Fwhm.Value, 0.5346 * 0.3 + std::sqrt(0.2166 * 0.09 + 0.36), 2e-4 * 0.77);
    const Row s = ProfileRow(LineProfile::Gauss, {{6564, 1, 0.5}});
    for (const auto& [left, right, n, says] : {std::tuple(6550.0, 6560.0, 1, "past the spectrum's end"),
                                               {6564.0, 6564.3, 2, "parameters need at least 9"},
                                               {6560.0, 6568.0, 7, "1 to 6 components"}})
        EXPECT_NE(FitLine(s, left, right, LineProfile::Gauss, n).Refusal.find(says), std::string::npos) << says;
    Row flat = s;  // no line at all
    std::ranges::fill(Change(flat).Flux, 5);
    EXPECT_NE(FitLine(flat, 6560, 6568, LineProfile::Voigt, 2).Refusal.find("cannot all be determined"), std::string::npos);
}

// The errors from the covariance match the scatter of the fitted values over
// noisy copies: from the residuals' scatter for a Voigt line, from given
// pixel errors (which differ from pixel to pixel) for a Gaussian and a blend.
TEST(FitLine, ErrorsMatchTheScatterOfNoisyCopies) {
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0, 1);
    std::vector<double> sigma;
    for (int k = 0; k < 240; ++k) sigma.push_back(0.05 + 0.03 * (k % 5));
    for (const Case& c : {kCases[0], kCases[2], kCases[3]}) {
        const bool fromFile = c.profile == LineProfile::Gauss;
        const Row clean = ProfileRow(c.profile, c.components);
        std::vector<std::vector<double>> values, errors;
        for (int r = 0; r < 400; ++r) {
            Row s = clean;
            Spectrum& noisy = Change(s);
            for (size_t k = 0; k < noisy.Flux.size(); ++k) noisy.Flux[k] += noise(random) * (fromFile ? sigma[k] : 0.1);
            const LineFit fit = FitLine(s, 6559, 6569, c.profile, int(c.components.size()), fromFile ? PixelSigma(sigma) : PixelSigma());
            ASSERT_TRUE(fit.Refusal.empty()) << fit.Refusal;
            values.emplace_back();
            errors.emplace_back();
            for (const FittedComponent& k : fit.Components)
                for (const Uncertain& u : {k.Centre, k.Peak, k.Fwhm, k.Flux, k.EquivalentWidth}) {
                    values.back().push_back(u.Value);
                    errors.back().push_back(u.Error);
                }
        }
        for (const auto& [error, spread] : testing::ErrorsAndScatter(values, errors))
            EXPECT_NEAR(error, spread, 0.1 * spread) << ProfileKey(c.profile);
    }
}

}  // namespace
}  // namespace wendrel
