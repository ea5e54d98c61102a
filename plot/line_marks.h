// Laboratory wavelengths of spectral lines that the plot can mark: sets of
// lines the user switches on and off, each line with a short name. Air
// wavelengths in Angstroms.
#pragma once

#include <span>
#include <string_view>

#include "analysis/air_vacuum.h"
#include "store/workspace.h"

namespace wendrel {

struct MarkedLine {
    std::string_view Name;  // short name written above the line's mark
    double Wavelength;
};

struct LineSet {
    std::string_view Key;      // short name for options and the workspace: "balmer", "cahk", ...
    std::string_view Caption;  // name in the plot window's Lines menu
    std::span<const MarkedLine> Lines;
};

// Every set, in menu order.
std::span<const LineSet> LineSets();

// The set of that key, or nullptr.
const LineSet* FindLineSet(std::string_view key);

// A set of the Lines menu was checked or unchecked: it is added to or taken
// from the workspace's LineMarkSets. Returns whether the plot is to be
// redrawn: once a spectrum has been loaded (DataReady). An unknown key
// changes nothing and asks for no redraw.
bool LineSetToggled(Workspace& ws, std::string_view key, bool shown);

// Where the marks are drawn: at the lines' air wavelengths (the default, as
// IRAF's spectra are calibrated) or at their vacuum wavelengths (for
// spectra in vacuum, as SDSS's). Returns whether the plot is to be redrawn.
bool LineMediumChosen(Workspace& ws, bool vacuum);

// A line's wavelength in the medium the workspace marks lines in.
double MarkWavelength(const Workspace& ws, const MarkedLine& line);

}  // namespace wendrel
