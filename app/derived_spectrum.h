// A spectrum made from another with new pixel values: the same file, header
// and wavelength scale, with its percent values, maxima and value blocks
// taken anew for the new values against a given continuum level.
#pragma once

#include <memory>
#include <vector>

#include "store/spectrum.h"

namespace wendrel {

// `base` with Flux and Sigma replaced (sigma empty when unknown) and Level
// set to `level`; FluxPct, PctMax, FluxMax and both value blocks follow.
std::shared_ptr<Spectrum> WithPixelValues(const Spectrum& base, std::vector<double> flux,
                                                std::vector<double> sigma, double level);

}  // namespace wendrel
