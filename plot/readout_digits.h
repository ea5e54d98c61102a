// How many digits the wavelength read-out and the range dialog show: as many
// as tell apart two wavelengths one pixel apart in the current view, and as
// many as the axis labels show (plot/axis_labels.h).
#pragma once

#include <string>
#include <utility>

#include "plot/axis_labels.h"

namespace wendrel {

// The fewest decimals d (0 .. 15) with 10^-d at most one pixel's worth of
// wavelength, viewSpan / plotPixels; 2 for a view without a positive span or
// width.
int ReadoutDecimals(double viewSpan, double plotPixels);

// The wavelength with ReadoutDecimals decimals: 6563.5 in a view of 0.1 A a
// pixel is "6563.5", never "6563." nor "6564".
std::string WavelengthReadoutText(double wavelength, double viewSpan, double plotPixels);

// A range dialog's field for a value of the axis: its labels' decimals, and
// their exponent as "e-13" ("1.05e-13"), so the text reads back as a number.
// An axis without ticks gives the value's plain number text.
std::string AxisDigitsText(double value, const AxisLabelling& axis);

// The two fields a range dialog opens with for the axis from `lo` to `hi`:
// AxisDigitsText of each end, at the digits of that axis's labels
// (LabelAxis).
std::pair<std::string, std::string> RangeDialogTexts(double lo, double hi);

}  // namespace wendrel
