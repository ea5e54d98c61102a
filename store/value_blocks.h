// The lowest and highest finite value of a spectrum's pixels block by block,
// kept with the slot at load, so that the extremes of a long run of pixels
// cost a look at its whole blocks and at the values of two partial ones.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace wendrel {

inline constexpr int64_t kValueBlock = 32;  // values per block; the last block may be shorter

struct ValueExtent {
    double low = std::numeric_limits<double>::infinity();    // lowest finite value; +inf when there is none
    double high = -std::numeric_limits<double>::infinity();  // highest finite value; -inf when there is none
    bool blank = false;  // some value is not finite
    bool operator==(const ValueExtent&) const = default;
    ValueExtent& operator+=(const ValueExtent& other) {
        low = low < other.low ? low : other.low;
        high = high > other.high ? high : other.high;
        blank = blank || other.blank;
        return *this;
    }
    // Whether adding `part` leaves this extent as it is.
    bool Holds(const ValueExtent& part) const {
        return !(part.low < low) && !(part.high > high) && (blank || !part.blank);
    }
};

// The extent of values[from .. to) (0-based), value by value.
ValueExtent ScanExtent(std::span<const double> values, int64_t from, int64_t to);

// One extent per kValueBlock values, the last of what is left.
std::vector<ValueExtent> BlockExtentsOf(std::span<const double> values);

// Appends the block extents of the values, which go on from where the
// blocks end: a whole number of blocks, the last block full.
void AppendBlockExtents(std::span<const double> values, std::vector<ValueExtent>& blocks);

// The extent of values[from .. to), whole blocks taken from `blocks` when
// they are the blocks of these values (BlockExtentsOf), the rest value by
// value. The values of a block cut at either end are read only when that
// whole block would widen the extent of the whole ones: on long spectra
// those reads cost most of the time, as each lands far from the last.
ValueExtent ExtentOf(std::span<const double> values, std::span<const ValueExtent> blocks, int64_t from, int64_t to);

}  // namespace wendrel
