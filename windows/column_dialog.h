// The small dialog that asks which columns of a table hold the wavelength and
// the flux, for a table whose column names the reader does not know.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fits/fits_reader.h"

class QWidget;

namespace wendrel {

// Lists the columns of the table in `fileName` with their units in two
// lists, wavelength and flux; the chosen names after OK, none after Cancel.
std::optional<ColumnChoice> AskTableColumns(QWidget* parent, const std::string& fileName,
                                            const std::vector<TableColumn>& columns);

}  // namespace wendrel
