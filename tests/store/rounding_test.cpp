#include "store/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace wendrel {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const struct { double in; int64_t out; } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2},
        {2.4999, 2}, {2.5001, 3}, {-0.4, 0}, {4562.5, 4562}, {6437.5, 6438}, {112.5, 112}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(Rounding, Nearest16ClampsInsteadOfOverflowing) {
    EXPECT_EQ(Nearest16(40000.0), 32767);
    EXPECT_EQ(Nearest16(-40000.0), -32768);
    EXPECT_EQ(Nearest16(32767.4), 32767);
    EXPECT_EQ(Nearest16(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(Nearest16(std::numeric_limits<double>::infinity()), 32767);
}

}  // namespace
}  // namespace wendrel
