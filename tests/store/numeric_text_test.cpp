#include "store/numeric_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wendrel {
namespace {

TEST(NumericValue, ReadsTheNumberAtTheStartOfAText) {
    const struct { const char* text; double value; } cases[] = {
        {"1.5D+03", 1500},       {"1.5d3", 1500},        {"-2.5E-2", -0.025},
        {"T", 0},                {"", 0},                {"'M 31", 0},
        {"1 2.5", 12.5},         {" - 1 . 5 E + 1", -15}, {"6562.80 Angstrom", 6562.8},
        {"16", 16},              {"+7", 7},              {".5", 0.5},
        {"5.", 5},               {"3E", 3},              {"3E+", 3},
        {"2D-x", 2},             {"-", 0},               {".", 0},
        {"1,5", 1},              {"32768", 32768},       {"-0", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << c.text;
}

TEST(NumericValue, OverflowReadsAsInfinityAndUnderflowAsZero) {
    EXPECT_EQ(NumericValue("1E999"), INFINITY);
    EXPECT_EQ(NumericValue("-1D999"), -INFINITY);
    EXPECT_EQ(NumericValue("1E-999"), 0.0);
}

TEST(NumericValue, ExactForDecimalTextsThatRoundTrip) {
    EXPECT_EQ(NumericValue("0.1"), 0.1);
    EXPECT_EQ(NumericValue("4000.123456789012"), 4000.123456789012);
}

}  // namespace
}  // namespace wendrel
