// The steps every reader ends a spectrum with, whatever the file held it:
// its continuum level and percent values, pixels in rising wavelength, and
// the wavelength scale of a list of pixel centres.
#pragma once

#include <string>
#include <vector>

#include "store/workspace.h"

namespace wendrel {

// The level from the maxima of the Flux's level blocks (taken in the file's
// pixel order; AppendBlockMaxima), then FluxPct, PctMax, FluxMax and the
// value blocks of both. Returns why the
// spectrum cannot be shown in percent, as the end of a sentence that begins
// with the file's name ("holds only blank pixels ..."); empty when it can.
std::string TakeLevelAndPercent(Spectrum& s, std::vector<double>& blockMax);

// Turns a spectrum whose wavelengths fall (LambdaEnd < LambdaStart) round,
// so that they rise with the pixel number: Flux, FluxPct, PixelCentre and
// PixelEdge reversed, the value blocks taken anew, the range and Lambda0
// taken from the other end.
void MakeWavelengthsRise(Spectrum& s);

// A scale given by the wavelength of each pixel's centre (a table's or a text
// file's wavelength column, in Angstroms): each edge midway between
// neighbouring centres, the outer edges half a step beyond the outer
// centres. Sets Dispersion, PixelCentre, PixelEdge, Lambda0, LambdaStart,
// LambdaEnd and DLambda. Returns why it cannot, as a sentence to show after
// the file's name ("the wavelengths neither rise nor fall ..."), empty when
// it can; the centres must all be finite and run strictly one way.
std::string TakePixelCentres(Spectrum& s, std::vector<double> centres);

inline constexpr const char* kTabulatedScale = "tabulated";

}  // namespace wendrel
