// The program's own reader of FITS images: the spectrum of a 1-D image, or
// the spectra of an image whose lines are apertures, from the header that
// starts at a given byte of the file (0 for the primary header).
#pragma once

#include <cstdint>
#include <string>

#include "fits/fits_reader.h"
#include "fits/input_file.h"

namespace wendrel {

// Reads the image whose header starts at `hduStart`. `name` is the file's
// name for the messages. An image of several lines loads each line as a
// spectrum when its header marks the lines as apertures (a multispec or
// equispec scale, or APNUMn cards; of a 3-D image, the lines of band 1), else
// its first line with a message. The spectra come back without FileName.
LoadResult ReadImageHdu(InputFile& file, int64_t hduStart, const std::string& name, const Settings& keys);

}  // namespace wendrel
