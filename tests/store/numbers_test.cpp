// Numbers read from header texts, and the rounding of window places and sizes.
#include <gtest/gtest.h>

#include <cmath>

#include "store/numeric_text.h"
#include "store/rounding.h"

namespace wendrel {
namespace {

TEST(NumericValue, ReadsTheNumberAtTheStartOfAText) {
    const struct { const char* text; double value; } cases[] = {
        {"1.5D+03", 1500}, {"1.5d3", 1500},     {"-2.5E-2", -0.025},    {"T", 0},           {"", 0},
        {"'M 31", 0},      {"1 2.5", 12.5},     {" - 1 . 5 E + 1", -15}, {"6562.80 Angstrom", 6562.8},
        {"+7", 7},         {".5", 0.5},         {"3E+", 3},             {"2D-x", 2},        {"-", 0},
        {"1,5", 1},        {"1E999", INFINITY}, {"-1D999", -INFINITY},  {"1E-999", 0},      {"0.1", 0.1},
        {"4000.123456789012", 4000.123456789012}};
    for (const auto& c : cases) EXPECT_EQ(NumericValue(c.text), c.value) << c.text;
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAnd16BitsAreClamped) {
    const struct { double in; int64_t out; } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {2.4999, 2}, {2.5001, 3}, {-0.4, 0}, {6437.5, 6438}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
    const struct { double in; int out; } clamped[] = {
        {40000, 32767}, {-40000, -32768}, {32767.4, 32767}, {-32768.5, -32768}, {NAN, 0}, {INFINITY, 32767}};
    for (const auto& c : clamped) EXPECT_EQ(Nearest16(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace wendrel
