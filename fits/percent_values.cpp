#include "fits/percent_values.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "fits/wide_vectors.h"

namespace wendrel {

WENDREL_WIDE_VECTORS_IF_PRESENT
bool PercentOfLevel(std::span<const double> flux, double level, std::span<double> pct) {
    // Plain pointers and a loop body without branches, so that the compiler
    // runs it on several values at once.
    const double* in = flux.data();
    double* out = pct.data();
    int64_t anyInfinite = 0;
    for (size_t i = 0; i < flux.size(); ++i) {
        const double v = in[i] * 100 / level;
        out[i] = v;
        anyInfinite |= std::fabs(v) > std::numeric_limits<double>::max();  // false for NaN
    }
    return anyInfinite != 0;
}

}  // namespace wendrel
