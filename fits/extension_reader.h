// The spectra of a FITS file whose primary header holds no data: read from
// the first extension that holds a spectrum, through cfitsio.
#pragma once

#include <filesystem>
#include <string>

#include "fits/fits_reader.h"
#include "fits/input_file.h"

namespace wendrel {

// The first extension that holds a spectrum: an image of at least one pixel
// per line (read by the program's own image reader; a tile-compressed image
// is first unpacked in memory), or a table with a wavelength and a flux
// column (fits/table_reader.h). `file` is the file as read (its bytes when
// it was unpacked), `path` where it lies; `columns` the table columns the
// user chose, if any.
LoadResult ReadExtensionSpectra(InputFile& file, const std::filesystem::path& path, const std::string& name,
                                const Settings& keys, const std::optional<ColumnChoice>& columns = std::nullopt);

}  // namespace wendrel
