#include "fits/percent_values.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace wendrel {

// Where the processor has them, the percent values are computed in 256-bit
// registers: four divisions at a time. The plain x86-64 build cannot run the
// infinity test of this loop on several values at once, and the division is
// most of a load's time. Each value is rounded exactly as in the plain build.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define WENDREL_WIDE_VECTORS_IF_PRESENT __attribute__((target_clones("avx2", "default")))
#else
#define WENDREL_WIDE_VECTORS_IF_PRESENT
#endif

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
