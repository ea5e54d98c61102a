// Inputs the fuzz targets found, as plain tests of what they broke. The raw
// inputs are kept in tests/fuzz_regressions and replayed as well.
#include <gtest/gtest.h>

#include <limits>

#include "plot/number_format.h"

namespace wendrel::testing {
namespace {

// NaN and infinities used to reach a conversion of their logarithm to int.
TEST(FuzzFindings, ExponentFormOfValuesThatAreNoNumbers) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatExp(kNaN, 8, 2), "NaN     ");
    EXPECT_EQ(FormatExp(kInf, 6, 0), "Inf   ");
    EXPECT_EQ(FormatExp(-kInf, 8, 2), "-Inf    ");
    EXPECT_EQ(FormatExp(kNaN, -1, -1), "");
}

}  // namespace
}  // namespace wendrel::testing
