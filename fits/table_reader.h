// Spectra in FITS binary tables: a wavelength and a flux column, found by
// name, in one of two shapes: one row per pixel (SDSS), or arrays in each
// row, one spectrum per row (ESO, HST).
#pragma once

#include <fitsio.h>

#include <optional>
#include <string>
#include <vector>

#include "fits/fits_reader.h"

namespace wendrel {

// What a table HDU gave.
struct TableSpectra {
    bool found = false;  // the HDU is a table with a wavelength and a flux column
    LoadResult result;   // its spectra and messages, when found
    // When not found: what the table lacks and its columns ("no wavelength
    // column (columns: A, B, C)"); empty for an HDU that is no table.
    std::string columns;
    // When not found: the table's columns with their units, to choose from.
    std::vector<TableColumn> offered;
};

// Reads the table at the current HDU of `fits`. Columns are found by name
// without regard to case: those of `columns` when given, else the first found
// in the orders of the reader's wavelength names (LOGLAM in log10 of
// Angstroms) and flux names. Wavelength units from the column's TUNIT; TSCAL,
// TZERO and TNULL applied; NaN and null fluxes are blank pixels; trailing
// pixels whose wavelength is NaN or 0 (the padding after the used length of
// an array) are left out. The object name is the HDU's OBJECT, else its
// TARGNAME, else `primaryObject`. The flux unit is the flux column's TUNIT,
// else the HDU's BUNIT, else `primaryUnit`. Wavelengths are in vacuum for
// LOGLAM or when the HDU or the primary header says VACUUM = T. Every size
// the header declares (rows, row width, heap, array lengths) is checked
// against the file's size before memory is taken for it.
TableSpectra ReadTableSpectra(fitsfile* fits, const std::string& name, const std::string& primaryObject,
                              const std::string& primaryUnit,
                              const std::optional<ColumnChoice>& columns = std::nullopt);

}  // namespace wendrel
