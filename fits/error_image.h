// The uncertainties of a 1-D image spectrum from an image extension of the
// same file, read through cfitsio.
#pragma once

#include <fitsio.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fits/uncertainties.h"

namespace wendrel {

// The first image extension after HDU `fluxHdu` (from 1) whose EXTNAME is
// ERR, ERROR, SIGMA, IVAR, VAR or VARIANCE in any case, its values with its
// own BZERO and BSCALE applied and named by its EXTNAME (TakeSigma), when it
// holds `pixels` pixels; nothing when there is none. One of another size is
// left out with a message naming `name`, the file's name.
std::optional<Uncertainties> ReadErrorImage(fitsfile* fits, int fluxHdu, int64_t pixels, const std::string& name,
                                            std::vector<std::string>& messages);

}  // namespace wendrel
