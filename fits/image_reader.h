// The program's own reader of FITS images: the spectrum of a 1-D image, or
// the spectra of an image whose lines are apertures, from the header that
// starts at a given byte of the file (0 for the primary header).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fits/fits_reader.h"
#include "fits/input_file.h"
#include "fits/uncertainties.h"

namespace wendrel {

// The uncertainties of a 1-D image of `pixels` pixels from elsewhere in its
// file (an image extension), with any messages about them; nothing when the
// file holds none.
using ErrorImageSource =
    std::function<std::optional<Uncertainties>(int64_t pixels, std::vector<std::string>& messages)>;

// Reads the image whose header starts at `hduStart`. `name` is the file's
// name for the messages. An image of several lines loads each line as a
// spectrum when its header marks the lines as apertures (a multispec or
// equispec scale, or APNUMn cards; of a 3-D image, the lines of band 1), else
// its first line with a message. IRAF's bands (NAXIS3, or NAXIS2 when BANDID2
// is given and APNUM2 is not) give each spectrum its uncertainties from the
// band whose BANDIDn starts with "sigma"; a 1-D image without one takes them
// from `errorImage`, when given. The spectra come back without FileName.
LoadResult ReadImageHdu(InputFile& file, int64_t hduStart, const std::string& name, const Settings& keys,
                        const ErrorImageSource& errorImage = {});

}  // namespace wendrel
