#include "app/column_choice.h"

#include <cctype>

#include "fits/spectral_axis.h"

namespace wendrel {

namespace {

// A unit of the wavelength table AngstromsPerUnit knows, a pixel not counted.
bool InLengthUnit(const TableColumn& c) {
    std::string unit = c.unit;
    for (char& ch : unit) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return !unit.empty() && unit.find("pixel") == std::string::npos && AngstromsPerUnit(unit).has_value();
}

}  // namespace

std::string ColumnLabel(const TableColumn& column) {
    return column.unit.empty() ? column.name : column.name + " (" + column.unit + ")";
}

ColumnPreselection PreselectColumns(const std::vector<TableColumn>& columns) {
    ColumnPreselection chosen;
    for (size_t k = 0; k < columns.size(); ++k)
        if (InLengthUnit(columns[k])) {
            chosen.wavelength = k;
            break;
        }
    chosen.flux = columns.size() > 1 && chosen.wavelength == 0 ? 1 : 0;
    for (size_t k = 0; k < columns.size(); ++k)
        if (k != chosen.wavelength && !InLengthUnit(columns[k])) {
            chosen.flux = k;
            break;
        }
    return chosen;
}

}  // namespace wendrel
