// What the column chooser shows of a table whose wavelength and flux columns
// the reader could not find by name, and which columns it offers first.
#pragma once

#include <string>
#include <vector>

#include "fits/fits_reader.h"

namespace wendrel {

// A column as the chooser lists it: "WAVE_AIR (nm)", or its name alone when
// it has no unit.
std::string ColumnLabel(const TableColumn& column);

// The columns the chooser selects before the user picks (indexes into the
// table's columns).
struct ColumnPreselection {
    size_t wavelength = 0, flux = 0;
};

// The wavelength: the first column in a unit of length (Angstrom, nm, um
// ...), else the first column. The flux: the first other column with a unit
// that is no unit of length, else the first other column without a unit of
// length, else the first other column. A table of one column gets it for
// both.
ColumnPreselection PreselectColumns(const std::vector<TableColumn>& columns);

}  // namespace wendrel
