#include "analysis/air_vacuum.h"

#include <cmath>

namespace wendrel {

namespace {

constexpr double kLowestAirWavelength = 2000;

double RefractiveIndexAtAir(double air) {
    const double s2 = (1e4 / air) * (1e4 / air);  // squared wavenumber in inverse micrometres
    return 1 + 0.00008336624212083 + 0.02408926869968 / (130.1065924522 - s2) +
           0.0001599740894897 / (38.92568793293 - s2);
}

}  // namespace

double AirToVacuum(double air) {
    if (!(air >= kLowestAirWavelength)) return air;
    return air * RefractiveIndexAtAir(air);
}

double VacuumToAir(double vacuum) {
    if (!(vacuum >= kLowestAirWavelength)) return vacuum;
    // Each step shrinks the error by the factor lambda dn/dlambda, under 1e-3
    // above 2000 A: three steps leave far less than 1e-9 A.
    double air = vacuum / 1.000277;
    for (int step = 0; step < 3; ++step) air = vacuum / RefractiveIndexAtAir(air);
    return air;
}

Medium MediumOfText(std::string_view text) {
    if (text == "air") return Medium::Air;
    if (text == "vacuum") return Medium::Vacuum;
    return Medium::Unknown;
}

std::vector<double> WavelengthsInMedium(std::span<const double> wavelengths, Medium from, Medium to) {
    std::vector<double> out(wavelengths.begin(), wavelengths.end());
    if (from == Medium::Unknown || to == Medium::Unknown || from == to) return out;
    for (double& w : out) w = to == Medium::Vacuum ? AirToVacuum(w) : VacuumToAir(w);
    return out;
}

}  // namespace wendrel
