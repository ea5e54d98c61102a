// Wavelengths in standard air and in vacuum, and the medium a spectrum's
// wavelengths are measured in. Wavelengths in Angstroms. Below 2000 A
// wavelengths are quoted in vacuum by convention, so both conversions leave
// them as they are; above it they use Ciddor's refractive index of standard
// air (in the form the VALD line database uses; inverted by iteration).
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace wendrel {

double AirToVacuum(double air);
double VacuumToAir(double vacuum);

// The medium of a row's wavelengths; Unknown when the file does not say.
enum class Medium { Unknown, Air, Vacuum };

// Medium of a Spectrum's Medium text ("air", "vacuum" or empty).
Medium MediumOfText(std::string_view text);

// The wavelengths, in medium `from`, converted to medium `to`; a copy when
// either is Unknown or both are the same.
std::vector<double> WavelengthsInMedium(std::span<const double> wavelengths, Medium from, Medium to);

}  // namespace wendrel
