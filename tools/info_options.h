// Command-line options of wendrel-info. Each option is one entry of a table,
// so that a new option is one new entry and one new field.
#pragma once

#include <optional>
#include <span>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "fits/fits_reader.h"
#include "plot/line_fit.h"
#include "plot/line_measure.h"
#include "tools/info_compare_options.h"
#include "tools/info_look.h"

namespace wendrel {

constexpr int kMaxInfoFiles = 10;  // one file per slot

struct InfoOptions {
    std::optional<std::string> lambda0Key;  // --keys LAMBDA0KEY,DLAMBDAKEY
    std::optional<std::string> dLambdaKey;
    // --columns WAVE,FLUX[,ERR]: the wavelength, flux and uncertainty columns of a table.
    std::optional<ColumnChoice> columns;
    bool pixels = false;  // --pixels
    bool header = false;  // --header
    bool help = false;    // --help
    // --measure LEFT:RIGHT (Angstroms): the line between them in each file.
    std::optional<std::pair<double, double>> measureSpan;
    // --continuum-pixels N and --continuum L1:R1,L2:R2: the continuum under the line of --measure.
    ContinuumChoice continuum;
    // --fit LEFT:RIGHT[:MODEL[:N]]: N components (default 1) of the profile (default gauss).
    struct FitRequest {
        double left = 0, right = 0;
        LineProfile profile = LineProfile::Gauss;
        int components = 1;
    };
    std::optional<FitRequest> fit;
    std::vector<std::string> files;

    // --session S.wendrel: the session is opened first, the files then fill
    // its empty rows and the other options apply on top.
    std::optional<std::string> sessionPath;
    // --save-session OUT.wendrel and --export OUT.csv|OUT.fits: the session
    // the command line describes, and the loaded spectra as shown.
    std::optional<std::string> saveSessionPath;
    std::optional<std::string> exportPath;

    // A picture of the plot: --render OUT.png|svg|pdf (by the ending), with --size WIDTHxHEIGHT
    // (outer size in twips). The options from --view on shape the picture,
    // the saved session and the exported spectra alike: --view LEFT:RIGHT
    // (Angstroms) and --offsets o1,o2,... (one whole number per row, rows 1,
    // 2, ...).
    std::optional<std::string> renderPath;
    std::optional<std::pair<int, int>> renderSize;
    std::optional<int> renderFontPoints;  // --font-size N, the labels' points
    std::optional<std::pair<double, double>> renderView;
    std::optional<std::vector<int>> renderOffsets;
    // --velocities v1,v2,... (km/s or z=..., one per row)
    // and --lines SET,SET (keys of plot/line_marks.h).
    std::optional<std::vector<double>> renderVelocities;
    std::optional<std::vector<std::string>> renderLines;
    // --yrange LOW:HIGH or --yrange fit, --scale percent|flux and --legend:
    // the intensity axis, its scale and the legend, as the plot window's
    // View menu sets them.
    std::optional<std::pair<double, double>> renderYRange;
    bool renderFitY = false;
    std::optional<bool> renderScaleFlux;
    bool renderLegend = false;
    // --xcorr, --xcorr-range, --smooth, --ratio and --difference.
    InfoComparisons compare;
    // --axes, --legend's place, --palette, --line-width and --stack (tools/info_look.h).
    LookOptions look;
    // --uncertainties: the +-1 sigma band under the curves of files with uncertainties.
    bool renderUncertainties = false;
    // --xunit A|nm|um: the unit of the picture's wavelength axis and of the
    // exported wavelengths (--view, --measure and the JSON stay in Angstroms).
    std::optional<WavelengthUnit> renderXUnit;
    // --xaxis velocity:LAMBDA0[,LAMBDA0,...] or --xaxis wavelength: the picture's x axis in
    // km/s about LAMBDA0 (Angstroms), or in wavelengths (0); with several, the
    // first is the axis's and each file has its own (renderVelocityRowRest).
    std::optional<double> renderVelocityRest;
    std::vector<double> renderVelocityRowRest;
};

// The window size of --size is a stored window size: 1 to 32767 twips.
constexpr int kMaxRenderTwips = 32767;

struct InfoArguments {
    InfoOptions options;
    std::string error;  // empty when the arguments make sense
};

// Reads the arguments after the program name. Options and files may be mixed;
// "--" ends the options. An option's value follows it or is joined by "=".
InfoArguments ParseInfoArguments(std::span<const std::string_view> args);

// The usage text, one line per option.
std::string InfoUsage();

}  // namespace wendrel
