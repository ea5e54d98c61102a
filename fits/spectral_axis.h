// What the first axis of a spectrum measures: its type (CTYPE1) and the unit
// of its wavelengths (CUNIT1, or the "units" IRAF writes in its WAT1 cards).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wendrel {

// Angstroms per wavelength unit, the unit's name taken without regard to
// case or surrounding blanks: Angstrom(s), AA, A, nm, um, micron(s), mm, cm,
// m. No unit means Angstroms; a pixel axis ("pixel", "pixels") is taken as
// it is, as 1. Nothing for any other unit.
std::optional<double> AngstromsPerUnit(std::string_view unit);

// What a first axis of type `ctype` measures when it is not wavelength: a
// position on the sky (RA, DEC, GLON, GLAT, ELON, ELAT and the other
// longitude-latitude pairs) or a frequency, energy, wavenumber, velocity or
// redshift axis (FREQ, ENER, WAVN, VRAD, VOPT, ZOPT, VELO, BETA), with or
// without an algorithm code ("RA---TAN", "FREQ-LOG"); case does not matter.
// Empty for the types spectra use (LINEAR, PIXEL, WAVE, AWAV, LAMBDA,
// MULTISPE, none) and any other type.
std::string NonWavelengthAxis(std::string_view ctype);

// "vacuum" for CTYPE1 WAVE (with any algorithm code), "air" for AWAV and for
// a spectrum IRAF calibrated (`iraf`: it carries IRAF's wavelength cards),
// else empty.
std::string MediumOfAxis(std::string_view ctype, bool iraf);

}  // namespace wendrel
