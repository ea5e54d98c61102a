// The continuum level of a spectrum: the median of the maxima of its
// 50-pixel blocks. Every spectrum is plotted in percent of it.
#pragma once

#include <span>
#include <vector>

#include "store/workspace.h"

namespace wendrel {

constexpr int kLevelBlockLength = 50;

// Splits the spectrum's pixels into blocks of 50 (pixels 1-50, 51-100, ...; the
// last block may be shorter), takes each block's largest value, starting from
// 0 so that a block without a positive value gives 0, and returns the median
// of these maxima. Blank (NaN) pixels are skipped; a block holding only blank
// pixels gives no maximum at all. Without any maximum (no pixels, or all
// blank) the level is 0, which the reader refuses like any level of 0.
double FindLevel(const Spectrum& spectrum);

// Appends the maxima of the blocks of `pixels` (50 pixels each, the last one
// possibly shorter) to `blockMax`, by the rule of FindLevel. A spectrum passed
// in pieces whose lengths are multiples of 50 gives the same maxima as the
// whole spectrum passed at once.
void AppendBlockMaxima(std::span<const double> pixels, std::vector<double>& blockMax);

// The largest of the values and `floor`; NaN values are skipped.
double LargestOf(std::span<const double> values, double floor);

// The median of the values: the middle value, or the mean of the two middle
// ones for an even count; 0 for no values. It reorders the values in place,
// partly sorting them around the middle.
double MedianOf(std::span<double> values);

}  // namespace wendrel
