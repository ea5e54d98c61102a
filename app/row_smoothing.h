// Smoothing a row as shown: the row keeps its file's spectrum and shows a
// smoothed copy (analysis/smoothing.h), so that drawing, measuring, fitting,
// correlating and exports take the smoothed pixels. The file is never changed.
//
// The copy keeps the file's continuum level; its percent values and value
// blocks are taken anew. Its object name carries the kernel ("G2 (FWHM 150
// km/s)"), so that the legend and the row name it. Line measurements and fits
// take the covariance of its neighbouring pixels from the file's spectrum and
// the kernel (plot/pixel_errors.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/workspace.h"

namespace wendrel {

// The kernel's name in sessions and on wendrel-info's command line: boxcar,
// gauss (FWHM in A), gausskms (FWHM in km/s) or median; and back.
std::string_view SmoothingKernelKey(SmoothingKernel kernel);
std::optional<SmoothingKernel> SmoothingKernelOfKey(std::string_view key);

// "boxcar 5 px", "FWHM 2.5 Å", "FWHM 150 km/s", "median 5 px".
std::string SmoothingText(const Smoothing& how);

// Smooths loaded row `slot` anew from its file's spectrum; none restores the
// file's spectrum. Returns why it cannot (a sentence naming the file), empty
// when done; a refused smoothing leaves the row as it was.
std::string SmoothRow(Workspace& ws, int slot, const std::optional<Smoothing>& how);

// The spectrum a row's file gave: Unsmoothed for a smoothed row, else Data.
const Spectrum& FileSpectrumOf(const Row& row);

}  // namespace wendrel
