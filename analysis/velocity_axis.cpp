#include "analysis/velocity_axis.h"

namespace wendrel {

std::vector<double> VelocityAxis(std::span<const double> wavelengths, double restLambda) {
    std::vector<double> velocities;
    velocities.reserve(wavelengths.size());
    for (double lambda : wavelengths) velocities.push_back(VelocityOfWavelength(lambda, restLambda));
    return velocities;
}

}  // namespace wendrel
