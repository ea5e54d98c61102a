// Exporting the loaded rows as the plot shows them: for each row, the
// wavelengths of its pixel centres in the rest frame of its velocity
// (store/rest_frame.h), in the view's wavelength unit (PlotView::XUnit), its flux as stored in its file (per observed
// Angstrom: the rest frame moves the wavelengths, not the flux values) and
// its percent of the continuum level.
#pragma once

#include <filesystem>
#include <string>

#include "store/workspace.h"

namespace wendrel {

// CSV, one block per loaded row, rows in order: a comment line
// "# file PATH, spectrum N, velocity V km/s, units: ..." naming the object
// and level, a line "wavelength,flux,percent" ("wavelength (nm)" or
// "wavelength (um)" in those units; ",sigma" added where the file
// gives uncertainties), then one line per pixel.
// Numbers are written in their shortest exact form; a blank pixel as "nan".
// The file loads back as text spectra, one per block (fits/text_reader.h).
std::string SpectraCsvText(const Workspace& ws);

// Writes the loaded rows to `file` as CSV (.csv) or FITS (.fits, .fit,
// .fts): an empty primary header, then one binary table per row with the
// columns WAVE (TUNIT Angstrom, nm or um), FLUX (the file's unit), PERCENT (%) and, where the
// file gives uncertainties, ERR (the flux's unit), one table
// row per pixel, and in its header OBJECT, VELOCITY, SPECNUM, LEVEL and the
// source file (SRCFILE). The program reads such a file back as one spectrum
// per table. Written whole or not at all. Returns an empty text when
// the file was written, otherwise a message naming the file and the reason
// (no row loaded, an ending that names neither format, a write that failed).
std::string ExportSpectra(const Workspace& ws, const std::filesystem::path& file);

// Row `row` alone as such a FITS file, as it is sent to other programs.
// Returns an empty text, or why it was not written.
std::string ExportRow(const Workspace& ws, int row, const std::filesystem::path& file);

}  // namespace wendrel
