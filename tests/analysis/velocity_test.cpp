// Cross-correlation velocities of a template of absorption lines shifted by
// known velocities, in air and in vacuum, and the Tonry & Davis error
// against the scatter over noisy realisations.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/cross_correlation.h"
#include "analysis/velocity_axis.h"

namespace wendrel {
namespace {

constexpr double c = kSpeedOfLightKms;
constexpr double kLines[][2] = {{3820, 0.5}, {3934, 0.7}, {3969, 0.6}, {4102, 0.4}, {4227, 0.5}, {4341, 0.4},
                                {4384, 0.3}, {4668, 0.3}, {4862, 0.4}, {5170, 0.5}, {5270, 0.4}, {5330, 0.3},
                                {5895, 0.5}, {6102, 0.3}, {6496, 0.3}, {6564, 0.5}, {6870, 0.4}};

struct CorrelatedRow {
    std::vector<double> Wavelength, Flux;
    Medium InMedium;
    SpectrumRow View() const { return {Wavelength, Flux, {}, InMedium}; }
};

// Pixels of `step` A from 4000 to 7000 A in `medium`, the lines (vacuum
// wavelengths, 1.6 A sigma) at velocity v on a sloped continuum, noise of
// `noise` times the continuum.
CorrelatedRow Spectrum(double v, double step, Medium medium, double noise, std::mt19937& random) {
    CorrelatedRow row{{}, {}, medium};
    std::normal_distribution<double> gauss(0, noise);
    for (double lambda = 4000; lambda <= 7000; lambda += step) {
        const double vacuum = medium == Medium::Air ? AirToVacuum(lambda) : lambda;
        const double rest = vacuum / (1 + v / c);
        double flux = 1 + 0.0003 * (lambda - 4000);
        for (const auto& [centre, depth] : kLines) flux *= 1 - depth * std::exp(-0.5 * std::pow((rest - centre) / 1.6, 2));
        row.Wavelength.push_back(lambda);
        row.Flux.push_back(flux * (1 + gauss(random)));
    }
    return row;
}

TEST(CrossCorrelation, FindsKnownVelocitiesWithinThreeErrors) {
    struct Case { double Velocity, TemplateVelocity; Medium Object, Template; };
    const Case cases[] = {{-1500, 0, Medium::Vacuum, Medium::Vacuum},
                          {300, 0, Medium::Air, Medium::Vacuum},
                          {8000, 120, Medium::Air, Medium::Air},
                          {25000, -80, Medium::Vacuum, Medium::Air}};
    std::mt19937 random(11);
    for (const Case& k : cases) {
        const CorrelatedRow templ = Spectrum(k.TemplateVelocity, 0.9, k.Template, 0.01, random);
        const CorrelatedRow object = Spectrum(k.Velocity, 1.1, k.Object, 0.04, random);
        const CrossCorrelation found = CrossCorrelate(templ.View(), k.TemplateVelocity, object.View());
        ASSERT_EQ(found.Refusal, "") << k.Velocity;
        EXPECT_NEAR(found.VelocityKms, k.Velocity, 3 * found.ErrorKms) << k.Velocity;
        EXPECT_LT(found.ErrorKms, 0.5 * found.StepKms) << k.Velocity;
        EXPECT_GT(found.R, 5) << k.Velocity;
    }
}

TEST(CrossCorrelation, StatedErrorMatchesScatter) {
    std::mt19937 random(5);
    const CorrelatedRow templ = Spectrum(0, 1.0, Medium::Vacuum, 0, random);
    double sum = 0, squares = 0, stated = 0;
    constexpr int kRuns = 30;
    for (int run = 0; run < kRuns; ++run) {
        const CrossCorrelation found = CrossCorrelate(templ.View(), 0, Spectrum(300, 1.0, Medium::Vacuum, 0.1, random).View());
        ASSERT_EQ(found.Refusal, "");
        sum += found.VelocityKms - 300, squares += std::pow(found.VelocityKms - 300, 2), stated += found.ErrorKms;
    }
    const double scatter = std::sqrt((squares - sum * sum / kRuns) / (kRuns - 1));
    stated /= kRuns;
    std::cout << "scatter " << scatter << " km/s, stated error " << stated << " km/s\n";
    EXPECT_GT(stated / scatter, 1 / 1.5);
    EXPECT_LT(stated / scatter, 1.5);
}

TEST(CrossCorrelation, RefusesWithReasons) {
    std::mt19937 random(2);
    const CorrelatedRow templ = Spectrum(0, 1.0, Medium::Vacuum, 0, random);
    CorrelatedRow far = templ;
    for (double& w : far.Wavelength) w += 5000;
    CorrelatedRow flat = templ;
    std::fill(flat.Flux.begin(), flat.Flux.end(), 1.0);
    EXPECT_NE(CrossCorrelate(templ.View(), 0, far.View()).Refusal.find("share no wavelengths"), std::string::npos);
    EXPECT_NE(CrossCorrelate(templ.View(), 0, flat.View()).Refusal.find("no peak"), std::string::npos);
    EXPECT_NE(CrossCorrelate(templ.View(), 0, templ.View(), {5000, 2000}).Refusal.find("must rise"), std::string::npos);
}

}  // namespace
}  // namespace wendrel
