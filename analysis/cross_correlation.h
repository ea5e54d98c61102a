// The velocity of an object spectrum relative to a template by
// cross-correlation (Tonry & Davis 1979, AJ 84, 1511).
//
// Both rows go onto one grid uniform in ln(lambda) over the wavelengths they
// share, with the finer of their pixel steps (the smallest step of each row
// there). Each is divided by its continuum and less 1, blanks and their
// neighbours set to 0, its ends tapered (correlation_flattening.h); the two
// are cross-correlated by FFT. The highest peak whose velocity lies in the
// search range is found, its position refined by a Gaussian through its top
// three points; its lag D in ln(lambda) is the velocity v = c (e^D - 1)
// relative to the template, and the object's velocity V follows from the
// template's Vt by 1 + V/c = (1 + Vt/c)(1 + v/c).
//
// The error is Tonry & Davis's (3/8) w / (1 + r), with w the peak's FWHM in
// km/s, r = h / (sqrt(2) sigma_a), h the peak's height in the normalised
// correlation and sigma_a the rms of its antisymmetric part about the peak.
// Sigma of the rows is not used: r measures the noise from the correlation.
//
// Wavelengths in air are taken to vacuum first (the Doppler shift scales
// vacuum wavelengths); a row of unknown medium is taken to be in the other's.
#pragma once

#include <string>

#include "analysis/spectrum_row.h"
#include "store/spectrum.h"

namespace wendrel {

// The object velocities searched, in km/s.
struct VelocitySearch {
    double LowestKms = -2000;
    double HighestKms = 30000;
};

struct CrossCorrelation {
    double VelocityKms = 0;  // the object's velocity, the template's included
    double ErrorKms = 0;     // Tonry & Davis error
    double R = 0;            // Tonry & Davis r
    double PeakHeight = 0;   // h: 1 for identical rows
    double PeakFwhmKms = 0;  // w
    double StepKms = 0;      // the common grid's step, c times its step in ln(lambda)
    std::string Refusal;     // why no velocity was found (a sentence); empty on success
};

CrossCorrelation CrossCorrelate(const SpectrumRow& templ, double templateVelocityKms, const SpectrumRow& object,
                                const VelocitySearch& search = {});
CrossCorrelation CrossCorrelate(const Spectrum& templ, double templateVelocityKms, const Spectrum& object,
                                const VelocitySearch& search = {});

}  // namespace wendrel
