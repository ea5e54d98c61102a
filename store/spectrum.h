// A spectrum as the reader returns it: its file, header cards, wavelengths,
// pixel values, continuum level and percent values. Pixels and header cards
// are numbered from 1 in the program's vocabulary but are stored 0-based:
// pixel p is Flux[p - 1], card k is HdrCard[k - 1].
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/value_blocks.h"

namespace wendrel {

// One spectrum with its header, as the reader returns it.
struct Spectrum {
    std::string FileName;    // name of the file, without folder, as a row shows it
    // The file the spectrum was read from, as an absolute path, and the
    // spectrum's number in it (1 for a file of one spectrum), from which a
    // session opens it again. Set when a load commits it to a row.
    std::string SourcePath;
    int64_t NumberInFile = 1;
    std::string ObjectName;  // OBJECT value without its quotes

    // Keyword values as read from the header.
    double Bitpix = 0;
    double Naxis1 = 0;  // number of pixels
    double Bzero = 0;
    // Wavelengths in Angstroms, rising with the pixel number: a file whose
    // wavelengths fall is stored with its pixels in reverse order.
    double Lambda0 = 0;  // wavelength at the centre of pixel 1
    double DLambda = 0;  // wavelength step per pixel; the mean step on a scale that is not linear

    double LambdaStart = 0;  // where pixel 1 starts: half a step below its centre
    double LambdaEnd = 0;    // where the last pixel ends: half a step above its centre

    // How the wavelengths run along the pixels: "linear", "log-linear" or
    // "multispec" (see fits/dispersion.h).
    std::string Dispersion = "linear";
    // On a scale that is not linear, the wavelength of each pixel's centre
    // (Naxis1 values) and of its edges (Naxis1 + 1 values, strictly rising):
    // pixel p is centred at PixelCentre[p - 1] and covers PixelEdge[p - 1] ..
    // PixelEdge[p]. Both are empty on a linear scale, where pixel p is centred
    // at Lambda0 + (p - 1) * DLambda and covers half a step either side.
    std::vector<double> PixelCentre;
    std::vector<double> PixelEdge;
    // Whether the wavelengths are measured in "air" or in "vacuum", as far as
    // the file tells; empty when it does not.
    std::string Medium;
    // The unit of the Flux values as the file names it (a table's TUNIT of
    // the flux column, else BUNIT of the spectrum's header, else of the
    // primary header); empty when it names none.
    std::string FluxUnit;

    std::vector<double> Flux;     // decoded pixel values; NaN marks a blank pixel
    // The 1-sigma uncertainty of each Flux value, in its units, as the file
    // gives it (an error, inverse-variance or variance column); empty when
    // the file gives none, NaN where it gives none for a pixel.
    std::vector<double> Sigma;
    double FluxMax = 0;           // largest finite Flux value
    double Level = 0;             // continuum level
    std::vector<double> FluxPct;  // 100 * Flux / Level; NaN where Flux is blank
    double PctMax = 0;            // largest FluxPct, at least -9999
    // The extremes of Flux and of FluxPct per kValueBlock pixels
    // (BlockExtentsOf), for the plot's intensity range and dense curves.
    std::vector<ValueExtent> FluxBlocks, PctBlocks;
    // The extremes of the +-1 sigma band about Flux and about FluxPct per
    // kValueBlock pixels (store/band_blocks.h); empty without Sigma.
    std::vector<ValueExtent> FluxBandBlocks, PctBandBlocks;

    // Header cards before END, 80 characters each.
    std::vector<std::string> HdrCard;
    int NumCards = 0;
};

}  // namespace wendrel
