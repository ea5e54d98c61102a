// A row on the ln(lambda) grid made ready for cross-correlation: divided by
// its continuum and less 1, so that only the lines are correlated, with
// blanks and their neighbours at 0 and the ends tapered.
#pragma once

#include <cstddef>
#include <vector>

namespace wendrel {

// In place, on values with NaN for blanks: the continuum is the median of
// each of up to 24 equal segments (at least 150 points each), joined
// linearly between the segments' middles and flat beyond the outer ones;
// points where it is not positive count as blanks. Blanks and the 3 points
// either side of them become 0, the rest has its mean taken off, and each
// end is tapered by a cosine bell over 5% of the points. Returns the number
// of points that are not blank.
size_t FlattenForCorrelation(std::vector<double>& values);

}  // namespace wendrel
