// Fits of one to six Gaussian, Lorentzian or Voigt components on a straight
// continuum to the pixels of a span, by weighted least squares
// (Levenberg-Marquardt, cminpack's lmder), with 1-sigma errors of every
// parameter and of the flux and equivalent width of each component.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/line_measure.h"
#include "store/workspace.h"

namespace wendrel {

enum class LineProfile { Gauss, Lorentz, Voigt };
inline constexpr int kMaxFitComponents = 6;

// "gauss", "lorentz" or "voigt".
std::string_view ProfileKey(LineProfile profile);
std::optional<LineProfile> ProfileOfKey(std::string_view key);

// One component. Wavelengths and widths lie on the plot's axis (the slot's
// rest frame); Peak is in the slot's flux units, negative for absorption.
struct FittedComponent {
    Uncertain Centre, Peak, Fwhm;
    // A Voigt profile's Gaussian and Lorentzian widths; Fwhm is then the
    // width of the whole profile at half its peak.
    Uncertain FwhmGauss, FwhmLorentz;
    // The profile's integral over the OBSERVED wavelengths, flux units x Angstroms.
    Uncertain Flux;
    // -(its integral over the plot's axis) / (the continuum at its centre),
    // positive for absorption.
    Uncertain EquivalentWidth;
};

struct LineFit {
    std::string Refusal;  // why the span cannot be fitted; empty when it was
    LineProfile Profile = LineProfile::Gauss;
    double Left = 0, Right = 0;             // the span
    int64_t FirstPixel = 0, LastPixel = 0;  // the pixels whose centres lie inside it
    // The weighted sum of squared residuals and the degrees of freedom; where
    // the pixel errors are unknown each weight is 1, chi2 is in flux units
    // squared and the parameter errors are scaled by sqrt(chi2 / dof).
    double Chi2 = 0;
    int Dof = 0;
    bool ErrorsFromFile = false;
    // The continuum Intercept + Slope * lambda, lambda in Angstroms on the plot's axis.
    double Slope = 0, Intercept = 0;
    std::vector<FittedComponent> Components;

    // The fitted profile at a wavelength of the plot's axis, and the
    // continuum with component k alone.
    double ModelAt(double lambda) const;
    double ComponentAt(size_t k, double lambda) const;

    // The fitted parameters: the continuum at Reference and its slope, then
    // per component its centre less Reference, peak and width(s).
    double Reference = 0;
    std::vector<double> Parameters;
};

// Fits `components` (1 .. kMaxFitComponents) components of the profile to
// the pixels between `left` and `right` (either order, the plot's axis),
// starting from the strongest extremes above or below the straight line
// through the span's end pixels. Weights are 1 / sigma^2 where the pixel
// errors are known; where they are correlated (a smoothed row) the
// parameters' covariance takes the pixels' covariance in, and chi2 still
// counts the correlated pixels as if independent. Refuses, naming the slot's file, a span past the
// spectrum's end, blank pixels, too few pixels for the parameters, and a fit
// that does not converge or whose parameters cannot all be determined.
LineFit FitLine(const Row& s, double left, double right, LineProfile profile, int components,
               const PixelErrors& errors = {});

}  // namespace wendrel
