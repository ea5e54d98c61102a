// A spectrum's values in percent of its continuum level.
#pragma once

#include <span>

namespace wendrel {

// pct[i] = flux[i] * 100 / level for every i (pct holds at least flux.size()
// values); a blank (NaN) pixel stays blank. Returns whether any result is
// infinite, which happens when a value overflows the double range.
bool PercentOfLevel(std::span<const double> flux, double level, std::span<double> pct);

}  // namespace wendrel
