#include "store/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wendrel {

int64_t RoundHalfEven(double x) {
    if (std::isnan(x)) return 0;
    constexpr double kLimit = 9.2e18;
    if (x >= kLimit) return std::numeric_limits<int64_t>::max();
    if (x <= -kLimit) return std::numeric_limits<int64_t>::min();
    const double r = std::nearbyint(x);  // the default rounding mode is to nearest, ties to even
    return static_cast<int64_t>(r);
}

int Nearest16(double x) {
    return static_cast<int>(std::clamp<int64_t>(RoundHalfEven(x), -32768, 32767));
}

}  // namespace wendrel
