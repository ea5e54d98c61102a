#include "app/column_choice.h"

#include <cctype>
#include <optional>

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
    const auto firstOther = [&](bool withUnit) -> std::optional<size_t> {
        for (size_t k = 0; k < columns.size(); ++k)
            if (k != chosen.wavelength && !InLengthUnit(columns[k]) && (!withUnit || !columns[k].unit.empty())) return k;
        return std::nullopt;
    };
    // A column with a unit (erg/s/cm2/A, adu) before one without (an error, a mask).
    chosen.flux = firstOther(true).value_or(
        firstOther(false).value_or(columns.size() > 1 && chosen.wavelength == 0 ? 1 : 0));
    return chosen;
}

}  // namespace wendrel
