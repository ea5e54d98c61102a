// A grid uniform in ln(lambda), and a row's flux on it by linear
// interpolation between its pixel centres: the common axis on which a
// Doppler shift is a constant lag.
#pragma once

#include <span>
#include <vector>

namespace wendrel {

struct LogLambdaGrid {
    double FirstLn = 0;  // ln of the first point's wavelength in A
    double Step = 0;     // in ln(lambda); times c it is the step in km/s
    size_t Size = 0;
};

// The values at the grid's points: interpolated between the two pixel
// centres around each point (`lnLambda` rising), NaN where either is blank
// or the point lies outside the centres.
std::vector<double> OnLogLambdaGrid(const LogLambdaGrid& grid, std::span<const double> lnLambda,
                                    std::span<const double> flux);

}  // namespace wendrel
