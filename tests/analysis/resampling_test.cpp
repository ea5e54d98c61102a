// Smoothing against a direct convolution, rebinning's integral and medium,
// the ratio's and difference's sigma, and air and vacuum wavelengths.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/covariance_band.h"
#include "analysis/rebinning.h"
#include "analysis/smoothing.h"
#include "analysis/velocity_axis.h"

namespace wendrel {
namespace {

struct ResampleRow {
    std::vector<double> Wavelength, Flux, Sigma;
    SpectrumRow View(Medium m = Medium::Unknown) const { return {Wavelength, Flux, Sigma, m}; }
};

// n pixels from 5000 A, of 0.5 A (linear) or 0.5 A at the start growing in
// proportion (logarithmic); random flux and sigma, pixels 40 to 42 and the
// one 55% along the row blank when `blanks`.
ResampleRow RandomRow(size_t n, bool logarithmic, unsigned seed, bool blanks = true) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(0.5, 1.5);
    ResampleRow row;
    for (size_t i = 0; i < n; ++i) {
        row.Wavelength.push_back(logarithmic ? 5000 * std::pow(1.0001, double(i)) : 5000 + 0.5 * double(i));
        row.Flux.push_back(blanks && ((i >= 40 && i <= 42) || i == n * 11 / 20) ? NAN : uniform(random));
        row.Sigma.push_back(0.1 * uniform(random));
    }
    return row;
}

TEST(Smoothing, LinearKernelsMatchDirectConvolution) {
    struct Case { SmoothingKernel Kernel; double Width; bool Logarithmic; double (*Weight)(double, double); bool Blanks = true; size_t Length = 300; };
    const auto box = [](double d, double n) { return std::abs(d) * 2 < n ? 1.0 : std::abs(d) * 2 == n ? 0.5 : 0.0; };
    const auto angstrom = [](double d, double fwhm) {
        const double s = fwhm / 2.3548200450309493;
        return std::abs(d) <= 4 * s ? std::exp(-0.5 * d * d / (s * s)) : 0.0;
    };
    const auto kms = [](double d, double fwhm) {
        const double s = fwhm / kSpeedOfLightKms / 2.3548200450309493;
        return std::abs(d) <= 4 * s ? std::exp(-0.5 * d * d / (s * s)) : 0.0;
    };
    const Case cases[] = {{SmoothingKernel::Boxcar, 5, false, box},
                          {SmoothingKernel::Boxcar, 4, false, box},
                          {SmoothingKernel::Boxcar, 7, false, box, false},
                          {SmoothingKernel::GaussianAngstrom, 2.2, false, angstrom, false},
                          {SmoothingKernel::GaussianAngstrom, 2.2, false, angstrom},
                          {SmoothingKernel::GaussianAngstrom, 2.2, true, angstrom},
                          {SmoothingKernel::GaussianVelocity, 150, true, kms},
                          {SmoothingKernel::GaussianVelocity, 150, false, kms},
                          {SmoothingKernel::GaussianVelocity, 10, false, kms},  // under a pixel
                          {SmoothingKernel::GaussianVelocity, 1500, false, kms, true, 2000}};  // long enough for two threads
    for (const Case& k : cases) {
        const ResampleRow row = RandomRow(k.Length, k.Logarithmic, 7, k.Blanks);
        const Smoothing how{k.Kernel, k.Width};
        const SmoothedRow out = Smooth(row.View(), how);
        ASSERT_EQ(out.Refusal, "");
        const CovarianceBand band = SmoothedCovarianceBand(row.View(), how, 0, row.Flux.size() - 1);
        for (size_t i = 0; i < row.Flux.size(); ++i) {
            double sum = 0, total = 0, variance = 0, covariance = 0, nextTotal = 0;
            for (size_t j = 0; j < row.Flux.size(); ++j) {
                if (std::isnan(row.Flux[j])) continue;
                const auto distance = [&](size_t a) {
                    if (k.Kernel == SmoothingKernel::Boxcar) return double(j) - double(a);
                    if (k.Kernel == SmoothingKernel::GaussianVelocity) return std::log(row.Wavelength[j] / row.Wavelength[a]);
                    return row.Wavelength[j] - row.Wavelength[a];
                };
                const double w = k.Weight(distance(i), k.Width);
                const double next = i + 1 < row.Flux.size() ? k.Weight(distance(i + 1), k.Width) : 0;
                sum += w * row.Flux[j], total += w, variance += w * w * row.Sigma[j] * row.Sigma[j];
                covariance += w * next * row.Sigma[j] * row.Sigma[j], nextTotal += next;
            }
            if (std::isnan(row.Flux[i])) {
                EXPECT_TRUE(std::isnan(out.Flux[i]));
                continue;
            }
            EXPECT_NEAR(out.Flux[i], sum / total, 1e-12) << int(k.Kernel) << " " << k.Width << " " << i;
            EXPECT_NEAR(out.Sigma[i], std::sqrt(variance) / total, 1e-12) << int(k.Kernel) << " " << i;
            EXPECT_NEAR(SmoothedCovariance(row.View(), how, i, i), out.Sigma[i] * out.Sigma[i], 1e-12);
            EXPECT_NEAR(band.At(i, i), out.Sigma[i] * out.Sigma[i], 1e-12);
            if (i + 1 < row.Flux.size() && !std::isnan(row.Flux[i + 1])) {
                EXPECT_NEAR(SmoothedCovariance(row.View(), how, i, i + 1), covariance / (total * nextTotal), 1e-12);
                EXPECT_NEAR(band.At(i + 1, i), covariance / (total * nextTotal), 1e-12);
            }
        }
    }
}

// Products with the band, made from the pixels' weights, are those of its
// entries; a band of too many weights is refused before any is made.
TEST(Smoothing, CovarianceBandProductsMatchItsEntriesAndTooManyWeightsAreRefused) {
    const ResampleRow row = RandomRow(400, false, 11);
    const CovarianceBand band = SmoothedCovarianceBand(row.View(), {SmoothingKernel::GaussianAngstrom, 3}, 100, 299);
    ASSERT_EQ(band.Size, 200u);
    std::mt19937 random(2);
    std::normal_distribution<double> normal;
    std::vector<double> u(200), v(200);
    for (size_t i = 0; i < 200; ++i) u[i] = normal(random), v[i] = normal(random);
    const std::vector<double> cv = band.Times(v);
    double direct = 0;
    for (size_t i = 0; i < 200; ++i) {
        double row = 0;
        for (size_t j = 0; j < 200; ++j) row += band.At(i, j) * v[j];
        EXPECT_NEAR(cv[i], row, 1e-12);
        direct += u[i] * row;
    }
    EXPECT_NEAR(band.Product(u, v), direct, 1e-11);

    const ResampleRow wide = RandomRow(60000, false, 3, false);
    EXPECT_EQ(SmoothedCovarianceBand(wide.View(), {SmoothingKernel::Boxcar, 401}, 0, 59999).Size, 0u);
    EXPECT_EQ(SmoothedCovarianceBand(wide.View(), {SmoothingKernel::Boxcar, 401}, 1000, 1999).Size, 1000u);
}

TEST(Smoothing, MedianRemovesSpikeAndRefusesBadWidths) {
    ResampleRow row{{1, 2, 3, 4, 5, 6}, {1, 1, 9, 1, NAN, 2}, {}};
    const SmoothedRow out = Smooth(row.View(), {SmoothingKernel::Median, 3});
    EXPECT_EQ(out.Flux[2], 1);
    EXPECT_EQ(out.Flux[3], 5);  // 9 and 1: the blank takes no part
    EXPECT_TRUE(std::isnan(out.Flux[4]));
    EXPECT_NE(Smooth(row.View(), {SmoothingKernel::GaussianAngstrom, -1}).Refusal, "");
    EXPECT_NE(Smooth(row.View(), {SmoothingKernel::Boxcar, 0.2}).Refusal, "");
    row.Wavelength[3] = 2;
    EXPECT_NE(Smooth(row.View(), {SmoothingKernel::Boxcar, 3}).Refusal.find("do not rise at pixel 4"), std::string::npos);
}

TEST(Smoothing, RefusesWorkOfMoreThanAFewSecondsNamingTheWidestAccepted) {
    ResampleRow row;  // 1,000,000 pixels of 0.001 A from 5000 A
    for (size_t i = 0; i < 1000000; ++i) row.Wavelength.push_back(5000 + 0.001 * double(i)), row.Flux.push_back(1);
    struct Case { Smoothing How; const char* Says; double Widest; };
    const Case cases[] = {{{SmoothingKernel::GaussianVelocity, 150}, "A FWHM of 150 km/s is too wide", 150},
                          {{SmoothingKernel::GaussianAngstrom, 50}, "A FWHM of 50 \u00c5 is too wide", 50},
                          {{SmoothingKernel::Median, 100001}, "A median of 100001 pixels is too wide", 100001}};
    for (const Case& c : cases) {
        const SmoothedRow out = Smooth(row.View(), c.How);
        EXPECT_TRUE(out.Flux.empty());
        EXPECT_EQ(out.Refusal.find(c.Says), 0u) << out.Refusal;
        const size_t at = out.Refusal.find("The widest accepted is a ");
        ASSERT_NE(at, std::string::npos) << out.Refusal;
        const double widest = std::stod(out.Refusal.substr(out.Refusal.find_first_of("0123456789", at)));
        EXPECT_GT(widest, 0.001 * c.Widest) << out.Refusal;
        EXPECT_LT(widest, 0.5 * c.Widest) << out.Refusal;
    }
}

TEST(Rebinning, KeepsTheIntegralAndLeavesUncoveredPixelsBlank) {
    ResampleRow fine = RandomRow(500, true, 3);  // 5000 .. 5256 A
    for (double& f : fine.Flux) f = std::isnan(f) ? 1 : f;
    ResampleRow coarse;
    for (double w = 4990; w < 5270; w += 1.7) coarse.Wavelength.push_back(w), coarse.Flux.push_back(0);
    const ResampledRow out = RebinOnto(coarse.View(), fine.View());
    const std::vector<double> coarseEdges = PixelEdgesOfCentres(coarse.Wavelength), fineEdges = PixelEdgesOfCentres(fine.Wavelength);
    double rebinned = 0, lo = INFINITY, hi = -INFINITY;
    for (size_t i = 0; i < out.Flux.size(); ++i) {
        const bool covered = coarseEdges[i] >= fineEdges.front() && coarseEdges[i + 1] <= fineEdges.back();
        ASSERT_EQ(covered, !std::isnan(out.Flux[i])) << i;
        if (!covered) continue;
        rebinned += out.Flux[i] * (coarseEdges[i + 1] - coarseEdges[i]);
        lo = std::min(lo, coarseEdges[i]), hi = std::max(hi, coarseEdges[i + 1]);
    }
    double integral = 0;
    for (size_t j = 0; j < fine.Flux.size(); ++j)
        integral += fine.Flux[j] * std::max(0.0, std::min(hi, fineEdges[j + 1]) - std::max(lo, fineEdges[j]));
    EXPECT_NEAR(rebinned, integral, 1e-9 * integral);
    EXPECT_GT(hi - lo, 250);
}

TEST(Rebinning, TakesTheSourceToTheTargetsMedium) {
    const ResampleRow vacuum = RandomRow(200, false, 4);
    ResampleRow air = vacuum;
    for (double& w : air.Wavelength) w = VacuumToAir(w);
    const ResampledRow out = RebinOnto(vacuum.View(Medium::Vacuum), air.View(Medium::Air));
    for (size_t i = 1; i + 1 < vacuum.Flux.size(); ++i)
        if (!std::isnan(vacuum.Flux[i])) {
            EXPECT_NEAR(out.Flux[i], vacuum.Flux[i], 1e-6) << i;
        }
}

TEST(Rebinning, RatioAndDifferencePropagateSigma) {
    const ResampleRow a{{1, 2, 3}, {4, 4, 4}, {0.3, 0.3, 0.3}}, b{{1, 2, 3}, {2, 0, 2}, {0.1, 0.1, 0.1}}, bare{{1, 2, 3}, {2, 2, 2}, {}};
    const ResampledRow ratio = RatioOfRows(a.View(), b.View()), difference = DifferenceOfRows(a.View(), b.View());
    EXPECT_DOUBLE_EQ(ratio.Flux[0], 2);
    EXPECT_DOUBLE_EQ(ratio.Sigma[0], 2 * std::hypot(0.3 / 4, 0.1 / 2));
    EXPECT_TRUE(std::isnan(ratio.Flux[1]));
    EXPECT_DOUBLE_EQ(difference.Flux[2], 2);
    EXPECT_DOUBLE_EQ(difference.Sigma[2], std::hypot(0.3, 0.1));
    EXPECT_DOUBLE_EQ(RatioOfRows(a.View(), bare.View()).Sigma[2], 0.3 / 2);
    EXPECT_TRUE(DifferenceOfRows(bare.View(), bare.View()).Sigma.empty());
}

TEST(AirAndVacuum, ConversionsInvertEachOtherAndLeaveTheUltravioletAlone) {
    for (double w : {2000.0, 3500.0, 6562.8, 20000.0}) EXPECT_NEAR(VacuumToAir(AirToVacuum(w)), w, 1e-8);
    EXPECT_NEAR(AirToVacuum(5000), 5001.39, 0.01);
    EXPECT_EQ(AirToVacuum(1500), 1500);
    EXPECT_NEAR(WavelengthOfVelocity(VelocityOfWavelength(6600, 6562.8), 6562.8), 6600, 1e-9);
}

}  // namespace
}  // namespace wendrel
