// Wavelengths as Doppler velocities about a rest wavelength, and back:
// v = c (lambda / lambda0 - 1), in km/s, wavelengths in Angstroms.
#pragma once

#include <span>
#include <vector>

namespace wendrel {

inline constexpr double kSpeedOfLightKms = 299792.458;

inline double VelocityOfWavelength(double lambda, double restLambda) {
    return kSpeedOfLightKms * (lambda / restLambda - 1);
}

inline double WavelengthOfVelocity(double velocity, double restLambda) {
    return restLambda * (1 + velocity / kSpeedOfLightKms);
}

// A velocity axis for a row's pixel wavelengths.
std::vector<double> VelocityAxis(std::span<const double> wavelengths, double restLambda);

}  // namespace wendrel
