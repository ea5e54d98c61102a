// The line profiles a fit is made of, each scaled to its peak: a Gaussian,
// a Lorentzian and a Voigt profile (the convolution of the two, through
// libcerf), with their derivatives by each parameter, integrals and widths.
#pragma once

#include <array>
#include <span>

#include "plot/line_fit.h"

namespace wendrel {

// Parameters per component: centre, peak, then the FWHM (a Voigt profile:
// the Gaussian's FWHM, then the Lorentzian's).
int ProfileParameters(LineProfile profile);

struct ProfileValue {
    double value = 0;
    std::array<double, 4> partials{};  // by each parameter, in their order
};

// The profile with parameters q at wavelength x.
ProfileValue EvaluateProfile(LineProfile profile, std::span<const double> q, double x);

// The integral of the profile over all wavelengths.
double ProfileIntegral(LineProfile profile, std::span<const double> q);

// The profile's full width at half its peak.
double ProfileFwhm(LineProfile profile, std::span<const double> q);

}  // namespace wendrel
