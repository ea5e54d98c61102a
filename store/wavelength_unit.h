// The unit the plot's wavelength axis, its read-out and exported spectra show
// wavelengths in. The program keeps every wavelength in Angstroms; only
// these show them otherwise.
#pragma once

#include <optional>
#include <string_view>

namespace wendrel {

enum class WavelengthUnit { Angstrom, Nanometre, Micrometre };

// Angstroms in one unit: 1, 10 or 10000 (exact, so that a wavelength / this is
// the wavelength in the unit rounded once).
constexpr double AngstromsPerUnit(WavelengthUnit unit) {
    return unit == WavelengthUnit::Nanometre ? 10 : unit == WavelengthUnit::Micrometre ? 1e4 : 1;
}

// "A", "nm" or "um": the unit's name on the command line and in sessions.
constexpr std::string_view UnitKey(WavelengthUnit unit) {
    return unit == WavelengthUnit::Nanometre ? "nm" : unit == WavelengthUnit::Micrometre ? "um" : "A";
}

// The unit of a key UnitKey gives; none for another text.
constexpr std::optional<WavelengthUnit> UnitOfKey(std::string_view key) {
    for (const WavelengthUnit unit : {WavelengthUnit::Angstrom, WavelengthUnit::Nanometre, WavelengthUnit::Micrometre})
        if (UnitKey(unit) == key) return unit;
    return std::nullopt;
}

// The unit as a FITS TUNIT and a text column's name give it: "Angstrom", "nm", "um".
constexpr std::string_view FitsUnitName(WavelengthUnit unit) {
    return unit == WavelengthUnit::Angstrom ? "Angstrom" : UnitKey(unit);
}

// The unit as the axis title and menus show it: "Angstroms", "nm", "µm" (UTF-8).
constexpr std::string_view ShownUnitName(WavelengthUnit unit) {
    return unit == WavelengthUnit::Nanometre ? "nm" : unit == WavelengthUnit::Micrometre ? "\u00b5m" : "Angstroms";
}

}  // namespace wendrel
