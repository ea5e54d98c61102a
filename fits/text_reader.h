// Spectra written as text: a column of wavelengths and one of fluxes.
#pragma once

#include <string>

#include "fits/fits_reader.h"
#include "fits/input_file.h"

namespace wendrel {

// Columns 1 and 2 of each line are the wavelength and the flux, separated
// by blanks, tabs or commas; further columns are ignored. Lines starting
// with # are comments (the header viewer shows them); a first other line
// that does not start with a number names the columns, and a unit written
// as a whole word in the wavelength column's name ("wavelength (nm)") is
// honoured, Angstroms otherwise. A flux that is not a number ("nan") is a
// blank pixel; any other line that does not hold two numbers is refused
// with its line number. Column names after pixels begin another spectrum of
// the file (its comments and column names before it are its own), as the
// CSV export writes several rows. A column named err, error or sigma, or the
// third of a file of three unnamed columns, is each flux's 1-sigma uncertainty.
LoadResult ReadTextSpectra(InputFile& file, const std::string& name);

}  // namespace wendrel
