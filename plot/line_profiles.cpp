#include "plot/line_profiles.h"

#include <cerf.h>

#include <cmath>
#include <numbers>

namespace wendrel {

namespace {

const double kFourLn2 = 4 * std::numbers::ln2;
// A Gaussian's sigma per FWHM.
const double kSigmaPerFwhm = 1 / (2 * std::sqrt(2 * std::numbers::ln2));

// V(u; sigma, gamma), the area-normalised Voigt profile, and its derivatives
// by u, sigma and gamma, from Faddeeva's w(z) = Re w + i Im w at
// z = (u + i gamma) / (sigma sqrt 2): V = Re w / (sigma sqrt(2 pi)) and
// w'(z) = -2 z w + 2i / sqrt(pi).
struct VoigtTerms {
    double v, du, dsigma, dgamma;
};

VoigtTerms Voigt(double u, double sigma, double gamma) {
    const double root2 = std::numbers::sqrt2, norm = 1 / (sigma * std::sqrt(2 * std::numbers::pi));
    const double a = u / (sigma * root2), b = gamma / (sigma * root2);
    const double v = voigt(u, sigma, gamma);
    const double re = v / norm, im = im_w_of_z(a, b);
    const double dRe = -2 * (a * re - b * im), dIm = -2 * (a * im + b * re) + 2 / std::sqrt(std::numbers::pi);
    const double byA = norm * dRe, byB = -norm * dIm;  // dV/da and dV/db (Cauchy-Riemann)
    return {v, byA / (sigma * root2), -v / sigma - (byA * a + byB * b) / sigma, byB / (sigma * root2)};
}

}  // namespace

int ProfileParameters(LineProfile profile) { return profile == LineProfile::Voigt ? 4 : 3; }

ProfileValue EvaluateProfile(LineProfile profile, std::span<const double> q, double x) {
    const double u = x - q[0], peak = q[1];
    switch (profile) {
        case LineProfile::Gauss: {
            const double w = q[2], g = std::exp(-kFourLn2 * u * u / (w * w));
            return {peak * g, {peak * g * 2 * kFourLn2 * u / (w * w), g, peak * g * 2 * kFourLn2 * u * u / (w * w * w)}};
        }
        case LineProfile::Lorentz: {
            const double w = q[2], l = 1 / (1 + 4 * u * u / (w * w));
            return {peak * l, {peak * l * l * 8 * u / (w * w), l, peak * l * l * 8 * u * u / (w * w * w)}};
        }
        case LineProfile::Voigt: break;
    }
    // Peak-scaled: peak * V(u) / V(0), widths taken by their size.
    const double sigma = std::abs(q[2]) * kSigmaPerFwhm, gamma = std::abs(q[3]) / 2;
    const VoigtTerms at = Voigt(u, sigma, gamma), top = Voigt(0, sigma, gamma);
    const double shape = at.v / top.v;
    const auto byWidth = [&](double dAt, double dTop) { return peak * (dAt * top.v - at.v * dTop) / (top.v * top.v); };
    return {peak * shape,
            {-peak * at.du / top.v, shape, byWidth(at.dsigma, top.dsigma) * kSigmaPerFwhm * (q[2] < 0 ? -1 : 1),
             byWidth(at.dgamma, top.dgamma) / 2 * (q[3] < 0 ? -1 : 1)}};
}

double ProfileIntegral(LineProfile profile, std::span<const double> q) {
    switch (profile) {
        case LineProfile::Gauss: return q[1] * std::abs(q[2]) * std::sqrt(std::numbers::pi / kFourLn2);
        case LineProfile::Lorentz: return q[1] * std::numbers::pi * std::abs(q[2]) / 2;
        case LineProfile::Voigt: break;
    }
    return q[1] / voigt(0, std::abs(q[2]) * kSigmaPerFwhm, std::abs(q[3]) / 2);
}

double ProfileFwhm(LineProfile profile, std::span<const double> q) {
    if (profile != LineProfile::Voigt) return std::abs(q[2]);
    // Half the peak lies between the centre and the sum of the two widths.
    const double sigma = std::abs(q[2]) * kSigmaPerFwhm, gamma = std::abs(q[3]) / 2;
    const double half = voigt(0, sigma, gamma) / 2;
    double inside = 0, outside = std::abs(q[2]) + std::abs(q[3]);
    for (int k = 0; k < 80 && outside - inside > 1e-15 * outside; ++k) {
        const double middle = (inside + outside) / 2;
        (voigt(middle, sigma, gamma) > half ? inside : outside) = middle;
    }
    return inside + outside;
}

}  // namespace wendrel
